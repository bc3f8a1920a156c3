#pragma once
// The salary item catalogue's table rules (item.DB, one SALARYITEM text per row, compared byte
// by byte with letter case). No widget is involved.

#include <string_view>

namespace store {
class Table;
}

namespace pay {

enum class ItemText { Fits, NotCp950, TooWide };

// Whether code page 950 can hold `utf8` within the 20 bytes of SALARYITEM.
ItemText checkItemText(std::string_view utf8);
// The width of SALARYITEM in bytes.
int itemTextWidth();

enum class ItemAdded { Added, AlreadyThere };

// REQUIRES: `items` is a table object on item.DB; checkItemText(text) is Fits.
// Reopens the table in item order, looks the text up and, when it is not there, appends it and
// re-reads the table, which stays open. Throws store::EngineError.
ItemAdded addSalaryItem(store::Table& items, std::string_view text);

// Deletes the current item and re-reads the table, standing on the item that followed it (or
// the new last). Returns false, changing nothing, when the
// table is closed or holds no item.
bool deleteSalaryItem(store::Table& items);

}  // namespace pay
