#pragma once
// The item code table of the transfer file: which SUBJECT digit and TRAN code a record carries
// for the salary item of its pay entry. The items are those the pay-entry page offers, plus a
// single space and the empty item, which count as "薪水轉帳".

#include <optional>
#include <string_view>

namespace transfer {

struct ItemCode {
  char subject;      // '1' or '2'
  const char* tran;  // two capital letters
};

// `salaryItem` is compared, as stored bytes, exactly with each item of the table; nullopt when
// none is equal.
std::optional<ItemCode> itemCode(std::string_view salaryItem);

}  // namespace transfer
