#include "SalaryEntryRules.h"

#include <algorithm>

#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "store/Value.h"

namespace pay {

void startEntry(store::Table& entries, store::Table& employees, const std::string& batchSendDate) {
  entries.Last();
  const std::string pay = entries.FieldByName("PAY").text();
  const std::string item = entries.FieldByName("SALARYITEM").text();
  entries.Insert();
  if (entries.FieldByName("NUMBER").text() != employees.FieldByName("NUMBER").text()) return;
  // An empty text leaves its field empty.
  if (!batchSendDate.empty()) entries.FieldByName("SENDDATE").setText(batchSendDate);
  if (!pay.empty()) entries.FieldByName("PAY").setText(pay);
  if (!item.empty()) entries.FieldByName("SALARYITEM").setText(item);
}

EntryCheck checkEntry(store::Table& entries) {
  const store::TableState state = entries.State();
  if (state != store::TableState::Insert && state != store::TableState::Edit) {
    return EntryCheck::NothingPending;
  }
  const store::Field pay = entries.FieldByName("PAY");
  if (entries.FieldByName("SENDDATE").text().empty() || pay.number() == 0 ||
      entries.FieldByName("SALARYITEM").text().empty()) {
    return EntryCheck::Incomplete;
  }
  if (store::formatNumber(pay.number()).size() > kTransferAmountWidth) {
    return EntryCheck::AmountTooLong;
  }
  const auto& items = store::defaultSalaryItems();
  if (std::find(items.begin(), items.end(), entries.FieldByName("SALARYITEM").text()) ==
      items.end()) {
    return EntryCheck::UnknownItem;
  }
  return EntryCheck::Accepted;
}

EntryPosted postEntry(store::Table& entries) {
  try {
    entries.Post();
  } catch (const store::EngineError& e) {
    if (e.code() != store::EngineError::Code::KeyViolation) throw;
    return EntryPosted::Duplicate;
  }
  return EntryPosted::Posted;
}

}  // namespace pay
