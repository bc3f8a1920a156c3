#pragma once
// The employee page's table rules that change more than one file: renumbering an employee with
// its pay entries, and deleting an employee with its pay entries. Each runs in one transaction
// over basic.DB and salary.DB, so it happens entirely or not at all; no widget is involved, and
// tests and tools call them on any pair of table objects.

#include <string>

namespace store {
class Table;
}

namespace employees {

// The widest memo the employee page lets the clerk type, in code page 950 bytes (16 letters or 8
// Chinese characters), though the field holds more: what is stored is what the page can show and
// write back whole. salary-admin import refuses a wider one.
inline constexpr int kMemoBytes = 16;

// A national ID (UTF-8) as the employee page stores it: the page's edit turns typed letters into
// capitals, so salary-admin import stores the capital form too.
std::string idInCapitals(std::string id);

// REQUIRES: `employees` is in edit state on the employee numbered `oldNumber`, with `newNumber`
// typed into NUMBER; `entries` is a table object on salary.DB.
// Moves every pay entry of oldNumber to newNumber and writes the employee row. The new number is
// checked free before any entry is touched (KeyViolation otherwise). On any failure both files
// stay as they were, the error is rethrown and the employee row stays in edit state with what was
// typed (or, when the commit itself failed, the employee table stands on oldNumber as the file
// has it). Both tables are re-read afterwards.
void renumberEmployee(store::Table& employees, store::Table& entries, const std::string& oldNumber,
                      const std::string& newNumber);

// REQUIRES: `employees` stands on an employee row; `entries` is a table object on salary.DB.
// Deletes the employee's pay entries and the employee row together. Both tables are re-read
// afterwards, also on failure, which leaves both files as they were and is rethrown.
void deleteEmployee(store::Table& employees, store::Table& entries);

}  // namespace employees
