#pragma once
// Schema: the structure of a table file (fields, primary key, secondary indexes) and the
// structures of the program's five live tables.
//
// Widths are in bytes of code page 950: a 10-byte field holds five Chinese characters or ten
// Latin letters. Every table file carries its own schema, so a copy made by BatchMove (a backup)
// is opened with the same rules as the table it was copied from. The engine and salary-admin
// both take the live structures from here.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace store {

enum class FieldType { String, Currency };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int width = 0;  // bytes; 0 for Currency
  bool required = false;

  bool operator==(const FieldDef&) const = default;
};

struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  // Recorded as declared. The engine orders every index byte by byte: the indexes declared
  // case-insensitive hold digit-only dates, where both orders agree, and only a byte order
  // lets a range such as "8801".."8812" be answered from the index.
  bool caseInsensitive = false;

  bool operator==(const IndexDef&) const = default;
};

struct TableSchema {
  std::vector<FieldDef> fields;
  std::vector<std::string> primaryKey;  // field names; unique
  std::vector<IndexDef> indexes;        // secondary, not unique

  // Position of the named field, matched without regard to ASCII letter case; -1 when absent.
  int fieldIndex(std::string_view name) const;

  // A line-based text form stored inside each table file, and its inverse. parse() throws
  // EngineError when the text is not a schema.
  std::string serialize() const;
  static TableSchema parse(std::string_view text);

  bool operator==(const TableSchema&) const = default;
};

// The password that protects the program's table files (an access gate, see Session).
inline constexpr const char* kTablePassword = "mrtd607";

// The live tables of the program: file names as the forms name them, and their structures.
struct LiveTable {
  const char* fileName;
  const TableSchema& schema;
};
const TableSchema& basicSchema();   // basic.DB: employees
const TableSchema& salarySchema();  // salary.DB: pay entries
const TableSchema& itemSchema();    // item.DB: salary item catalogue
const TableSchema& passSchema();    // pass.DB: user codes and passwords
const TableSchema& tempSchema();    // temp.DB: the transfer batch
const std::vector<LiveTable>& liveTables();
// The live table whose file name is the last part of `path`, without regard to ASCII letter
// case ("backups/x/salary.db" is salary.DB's); null when none is.
const LiveTable* liveTableNamed(const std::filesystem::path& path);

// The sixteen salary items, in the order the pay-entry page lists them.
const std::vector<std::string>& defaultSalaryItems();

}  // namespace store
