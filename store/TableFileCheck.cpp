#include "TableFileCheck.h"

#include <sqlite3.h>

#include <map>

#include "Connection.h"
#include "Cp950.h"
#include "EngineError.h"
#include "Session.h"

namespace store {

namespace {

constexpr int kShownPerKind = 3;  // a damaged file is told by its first few faults, not all

struct Db {
  sqlite3* db = nullptr;
  ~Db() { sqlite3_close_v2(db); }
};

struct Stmt {
  sqlite3_stmt* st = nullptr;
  ~Stmt() { sqlite3_finalize(st); }
};

std::string columnText(sqlite3_stmt* st, int i) {
  const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  return t ? t : "";
}

// Rows of a query as text, or nothing and the error in `error`.
std::vector<std::vector<std::string>> rowsOf(sqlite3* db, const std::string& sql,
                                             std::string& error) {
  std::vector<std::vector<std::string>> rows;
  Stmt s;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &s.st, nullptr);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(s.st); ++i) row.push_back(columnText(s.st, i));
      rows.push_back(std::move(row));
    }
  }
  if (rc != SQLITE_DONE) error = sqlite3_errmsg(db);
  return rows;
}

// The structure SQLite holds for the rows table and its indexes, in one comparable text per
// item: "column NAME TYPE notnull default" and "index NAME unique: col, col".
std::map<std::string, std::string> physicalStructure(sqlite3* db, std::string& error) {
  std::map<std::string, std::string> out;
  for (const auto& c : rowsOf(
           db, "SELECT name, type, \"notnull\", dflt_value, hidden FROM pragma_table_xinfo('data')",
           error)) {
    out["column " + c[0]] = c[1] + " notnull=" + c[2] + " default=" + c[3] + " hidden=" + c[4];
  }
  for (const auto& ix :
       rowsOf(db, "SELECT name, \"unique\" FROM pragma_index_list('data')", error)) {
    std::string cols;
    for (const auto& c : rowsOf(
             db,
             "SELECT name FROM pragma_index_info(" + Connection::quote(ix[0]) + ") ORDER BY seqno",
             error)) {
      cols += (cols.empty() ? "" : ", ") + c[0];
    }
    out["index " + ix[0]] = (ix[1] == "1" ? "unique: " : "") + cols;
  }
  return out;
}

// What the engine makes for `schema`, built in memory.
std::map<std::string, std::string> expectedStructure(const TableSchema& schema) {
  Db mem;
  std::string error;
  sqlite3_open(":memory:", &mem.db);
  for (const auto& sql : Connection::createStatements(schema, "")) {
    sqlite3_exec(mem.db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  return physicalStructure(mem.db, error);
}

void compareStructure(sqlite3* db, const TableSchema& expected, TableFileCheck::Report& report) {
  std::string error;
  const auto have = physicalStructure(db, error);
  if (!error.empty()) {
    report.problems.push_back("structure unreadable: " + error);
    return;
  }
  const auto want = expectedStructure(expected);
  for (const auto& [item, shape] : want) {
    auto it = have.find(item);
    if (it == have.end()) {
      report.problems.push_back("structure: " + item + " is missing");
    } else if (it->second != shape) {
      report.problems.push_back("structure: " + item + " is \"" + it->second + "\", expected \"" +
                                shape + "\"");
    }
  }
  for (const auto& [item, shape] : have) {
    if (!want.count(item)) report.problems.push_back("structure: unexpected " + item);
  }
}

void compareRecordedSchema(sqlite3* db, const TableSchema& expected,
                           TableFileCheck::Report& report) {
  std::string error;
  const auto rows = rowsOf(db, "SELECT value FROM _meta WHERE key = 'schema'", error);
  if (!error.empty() || rows.empty()) {
    report.problems.push_back("structure: no recorded structure");
    return;
  }
  try {
    if (!(TableSchema::parse(rows[0][0]) == expected)) {
      report.problems.push_back(
          "structure: the recorded fields, widths, keys or indexes differ from the table's");
    }
  } catch (const EngineError&) {
    report.problems.push_back("structure: the recorded structure cannot be read");
  }
}

void checkStrings(sqlite3* db, const TableSchema& schema, TableFileCheck::Report& report) {
  for (const auto& field : schema.fields) {
    if (field.type != FieldType::String) continue;
    Stmt s;
    const std::string sql = "SELECT rowid, " + Connection::columnName(field) + " FROM data";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.st, nullptr) != SQLITE_OK) continue;
    int faults = 0, rc;
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
      const auto* p = static_cast<const char*>(sqlite3_column_blob(s.st, 1));
      const std::string_view bytes(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(s.st, 1)));
      std::string fault;
      if (sqlite3_column_type(s.st, 1) != SQLITE_BLOB) {
        fault = "is not stored as code page 950 bytes";
      } else if (static_cast<int>(bytes.size()) > field.width) {
        fault = "is " + std::to_string(bytes.size()) + " bytes, wider than its " +
                std::to_string(field.width);
      } else if (cp950::encode(cp950::decode(bytes)).bytes != bytes) {
        fault = "is not valid code page 950";
      }
      if (fault.empty()) continue;
      if (++faults <= kShownPerKind) {
        report.problems.push_back("row " + std::to_string(sqlite3_column_int64(s.st, 0)) + ": " +
                                  field.name + " " + fault);
      }
    }
    if (faults > kShownPerKind) {
      report.problems.push_back(field.name + ": " + std::to_string(faults - kShownPerKind) +
                                " more rows with faults");
    }
    if (rc != SQLITE_DONE)
      report.problems.push_back(std::string("rows unreadable: ") + sqlite3_errmsg(db));
  }
}

}  // namespace

TableFileCheck::Report TableFileCheck::check(Session& session, const std::string& fileName,
                                             const TableSchema& expected) {
  Report report;
  const std::filesystem::path path = session.resolve(fileName);
  report.file = path.string();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    report.problems.push_back("missing");
    return report;
  }
  Db db;
  if (sqlite3_open_v2(path.c_str(), &db.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    report.problems.push_back(std::string("cannot be opened: ") + sqlite3_errmsg(db.db));
    return report;
  }
  sqlite3_busy_timeout(db.db, 2000);

  std::string error;
  int shown = 0;
  for (const auto& row : rowsOf(db.db, "PRAGMA integrity_check", error)) {
    if (row[0] == "ok") continue;
    if (++shown <= kShownPerKind) report.problems.push_back("integrity_check: " + row[0]);
  }
  if (!error.empty()) {
    report.problems.push_back("integrity_check: " + error);
    return report;  // nothing more can be read from it
  }

  try {
    session.schemaOf(fileName);
  } catch (const EngineError& e) {
    // The verifier, or the structure the engine requires of the file.
    report.problems.push_back(e.what());
  }
  compareRecordedSchema(db.db, expected, report);
  compareStructure(db.db, expected, report);
  if (report.sound()) checkStrings(db.db, expected, report);
  const auto count = rowsOf(db.db, "SELECT count(*) FROM data", error);
  if (error.empty() && !count.empty()) report.rows = std::stoll(count[0][0]);
  return report;
}

}  // namespace store
