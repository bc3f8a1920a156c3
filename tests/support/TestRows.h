#pragma once
// Rows for the engine tests: writing employees, pay entries and users through table objects,
// and reading back what a table shows or what a file holds.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"

namespace store {
// Readable names of error codes in failure messages.
void PrintTo(EngineError::Code code, std::ostream* os);
}  // namespace store

namespace testrows {

// What an operation threw: no code when it threw nothing.
struct Thrown {
  std::optional<store::EngineError::Code> code;
  std::string message;
};
template <class F>
Thrown thrownBy(F&& f) {
  try {
    f();
  } catch (const store::EngineError& e) {
    return {e.code(), e.what()};
  }
  return {};
}

using Texts = std::vector<std::string>;

inline constexpr const char* kAccount = "12345678901234";

// Field names with their texts; a field given an empty text stays empty.
using FieldTexts = std::vector<std::pair<std::string, std::string>>;

// Appends one row of these field texts through a new table object.
void append(store::Session& session, const std::string& fileName, const FieldTexts& fields);
// Appends one row to basic.DB (NUMBER, ACCOUNT, NAME, ID).
void addEmployee(store::Session& session, const std::string& number, const std::string& name,
                 const std::string& id = "", const std::string& account = kAccount);
// Appends one row to salary.DB; an absent pay leaves PAY empty.
void addEntry(store::Session& session, const std::string& number, const std::string& sendDate,
              std::optional<double> pay, const std::string& item);
// Appends one row to pass.DB.
void addUser(store::Session& session, const std::string& userId, const std::string& password);

// The texts of `fields` (space-separated names), joined by spaces, in every visible row of an
// open table, from the first row on. Leaves the table on its last row.
std::vector<std::string> column(store::Table& table, const std::string& fields);

// The same for every row of a file, read through a new table object in the order of
// `indexFieldNames` (the primary key when empty).
std::vector<std::string> fileColumn(store::Session& session, const std::string& fileName,
                                    const std::string& fields,
                                    const std::string& indexFieldNames = "");

// "NUMBER SENDDATE PAY SALARYITEM" of every row of salary.DB, in primary key order.
inline std::vector<std::string> entries(store::Session& session) {
  return fileColumn(session, "salary.DB", "NUMBER SENDDATE PAY SALARYITEM");
}

// SetKey, one key field, GotoKey.
bool gotoKey(store::Table& table, const std::string& field, const std::string& value);

// Rows of a file, counted through a new table object.
long long fileCount(store::Session& session, const std::string& fileName);

}  // namespace testrows
