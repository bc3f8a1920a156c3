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
  return judgeEntry(entries).check;
}

EntryVerdict judgeEntry(store::Table& entries) {
  const store::TableState state = entries.State();
  if (state != store::TableState::Insert && state != store::TableState::Edit) {
    return {EntryCheck::NothingPending, {}};
  }
  if (entries.FieldByName("SENDDATE").text().empty()) return {EntryCheck::Incomplete, "SENDDATE"};
  const store::Field pay = entries.FieldByName("PAY");
  // An empty amount reads as 0.
  if (pay.number() == 0) return {EntryCheck::Incomplete, "PAY"};
  const std::string item = entries.FieldByName("SALARYITEM").text();
  if (item.empty()) return {EntryCheck::Incomplete, "SALARYITEM"};
  if (store::formatNumber(pay.number()).size() > kTransferAmountWidth) {
    return {EntryCheck::AmountTooLong, "PAY"};
  }
  const auto& items = store::defaultSalaryItems();
  if (std::find(items.begin(), items.end(), item) == items.end()) {
    return {EntryCheck::UnknownItem, "SALARYITEM"};
  }
  return {EntryCheck::Accepted, {}};
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
