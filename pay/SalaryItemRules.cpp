#include "SalaryItemRules.h"

#include <string>

#include "store/Cp950.h"
#include "store/Schema.h"
#include "store/Table.h"

namespace pay {

int itemTextWidth() {
  const store::TableSchema& schema = store::itemSchema();
  return schema.fields[schema.fieldIndex("SALARYITEM")].width;
}

ItemText checkItemText(std::string_view utf8) {
  const store::cp950::EncodeResult encoded = store::cp950::encode(utf8);
  if (!encoded.ok()) return ItemText::NotCp950;
  if (encoded.bytes.size() > static_cast<size_t>(itemTextWidth())) return ItemText::TooWide;
  return ItemText::Fits;
}

ItemAdded addSalaryItem(store::Table& items, std::string_view text) {
  items.Close();
  items.SetIndexFieldNames("SalaryItem");
  items.Open();
  items.SetKey();
  items.FieldByName("SALARYITEM").setText(text);
  if (items.GotoKey()) return ItemAdded::AlreadyThere;
  items.Append();
  items.FieldByName("SALARYITEM").setText(text);
  items.Post();
  items.Refresh();
  return ItemAdded::Added;
}

bool deleteSalaryItem(store::Table& items) {
  if (!items.Active() || items.IsEmpty()) return false;
  items.Delete();
  // Re-read by reopening, which every list over the table follows, and stand again on the item
  // that followed the deleted one.
  const bool hasNext = !items.IsEmpty();
  const std::string next = items.FieldByName("SALARYITEM").text();
  items.Close();
  items.Open();
  if (hasNext) items.Locate("SALARYITEM", next, store::NoLocateOptions);
  return true;
}

}  // namespace pay
