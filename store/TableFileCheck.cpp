#include "TableFileCheck.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>

#include "Cp950.h"
#include "EngineError.h"
#include "Session.h"
#include "SqliteHandles.h"
#include "internal/Connection.h"
#include "internal/SqliteError.h"
#include "internal/TableFile.h"

namespace store {

namespace {

constexpr int kShownPerKind = 3;  // a damaged file is told by its first few faults, not all

std::string columnText(sqlite3_stmt* st, int i) {
  const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  return t ? t : "";
}

// What SQLite's failure `rc` on `db` means, in the words of the engine's messages.
std::string failure(sqlite3* db, int rc) {
  const char* file = sqlite3_db_filename(db, "main");
  return sqliteError(db, rc, file ? file : "").what();
}

// Rows of a query as text, or nothing and the error in `error`.
std::vector<std::vector<std::string>> rowsOf(sqlite3* db, const std::string& sql,
                                             std::string& error) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  StatementHandle st(raw);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(raw); ++i) row.push_back(columnText(raw, i));
      rows.push_back(std::move(row));
    }
  }
  if (rc != SQLITE_DONE) error = failure(db, rc);
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
             "SELECT name FROM pragma_index_info(" + TableFile::quote(ix[0]) + ") ORDER BY seqno",
             error)) {
      cols += (cols.empty() ? "" : ", ") + c[0];
    }
    out["index " + ix[0]] = (ix[1] == "1" ? "unique: " : "") + cols;
  }
  return out;
}

// What the engine makes for `schema`, built in memory.
std::map<std::string, std::string> expectedStructure(const TableSchema& schema) {
  sqlite3* raw = nullptr;
  sqlite3_open(":memory:", &raw);
  ConnectionHandle mem(raw);
  std::string error;
  for (const auto& sql : TableFile::createStatements(schema, "")) {
    sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr);
  }
  return physicalStructure(raw, error);
}

void compareStructure(sqlite3* db, const TableSchema& expected, TableFileCheck::Report& report) {
  std::string error;
  const auto have = physicalStructure(db, error);
  if (!error.empty()) {
    report.problems.push_back("結構無法讀取: " + error);
    return;
  }
  const auto want = expectedStructure(expected);
  for (const auto& [item, shape] : want) {
    auto it = have.find(item);
    if (it == have.end()) {
      report.problems.push_back("結構: 缺少 " + item);
    } else if (it->second != shape) {
      report.problems.push_back("結構: " + item + " 為 \"" + it->second + "\",應為 \"" + shape +
                                "\"");
    }
  }
  for (const auto& [item, shape] : have) {
    if (!want.count(item)) report.problems.push_back("結構: 多出 " + item);
  }
}

// The structure and the password verifier the file records of itself.
void compareRecord(sqlite3* db, const TableFile::Passwords& passwords, const TableSchema& expected,
                   TableFileCheck::Report& report) {
  int rc = SQLITE_OK;
  TableFile::Record meta = TableFile::readRecord(db, {}, rc);
  if (rc != SQLITE_DONE || !meta.count("schema")) {
    report.problems.push_back("結構: 沒有記錄的結構");
  } else {
    try {
      if (!(TableSchema::parse(meta["schema"]) == expected)) {
        report.problems.push_back("結構: 記錄的欄位、寬度、鍵或索引與這個資料表的不同");
      }
    } catch (const EngineError&) {
      report.problems.push_back("結構: 記錄的結構無法辨識");
    }
  }
  if (passwords.empty()) return;
  if (!meta.count("verifier")) {
    report.problems.push_back("缺少密碼驗證資料");
  } else if (!TableFile::acceptsVerifier(passwords, meta["salt"], meta["verifier"])) {
    report.problems.push_back("密碼驗證資料不符");
  }
}

void checkStrings(sqlite3* db, const TableSchema& schema, TableFileCheck::Report& report) {
  for (const auto& field : schema.fields) {
    if (field.type != FieldType::String) continue;
    const std::string sql = "SELECT rowid, " + TableFile::columnName(field) + " FROM data";
    sqlite3_stmt* st = nullptr;
    const int prepared = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    StatementHandle statement(st);
    if (prepared != SQLITE_OK) continue;
    int faults = 0, rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      const auto* p = static_cast<const char*>(sqlite3_column_blob(st, 1));
      const std::string_view bytes(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, 1)));
      std::string fault;
      if (sqlite3_column_type(st, 1) != SQLITE_BLOB) {
        fault = "不是以 Big5 位元組儲存";
      } else if (static_cast<int>(bytes.size()) > field.width) {
        fault = "長 " + std::to_string(bytes.size()) + " 位元組,超過其寬度 " +
                std::to_string(field.width);
      } else if (!cp950::isCp950(bytes)) {
        fault = "不是有效的 Big5 (code page 950) 文字";
      }
      if (fault.empty()) continue;
      if (++faults <= kShownPerKind) {
        report.problems.push_back("第 " + std::to_string(sqlite3_column_int64(st, 0)) +
                                  " 列: 欄位 " + field.name + " " + fault);
      }
    }
    if (faults > kShownPerKind) {
      report.problems.push_back("欄位 " + field.name + ": 另有 " +
                                std::to_string(faults - kShownPerKind) + " 列有誤");
    }
    if (rc != SQLITE_DONE) report.problems.push_back("資料列無法讀取: " + failure(db, rc));
  }
}

}  // namespace

std::string TableFileCheck::Report::problemsText() const {
  std::string out;
  for (const auto& p : problems) out += (out.empty() ? "" : "; ") + p;
  return out;
}

TableFileCheck::Report TableFileCheck::check(Session& session, const std::filesystem::path& path,
                                             const TableSchema& expected, Depth depth) {
  Report report;
  report.file = path.string();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    report.problems.push_back("找不到檔案");
    return report;
  }
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  ConnectionHandle db(raw);
  if (opened != SQLITE_OK) {
    report.problems.push_back(std::string("無法開啟: ") +
                              sqliteError(raw, opened, report.file).what());
    return report;
  }
  sqlite3_busy_timeout(raw, 2000);

  std::string error;
  int shown = 0;
  for (auto& row : rowsOf(raw, "PRAGMA integrity_check", error)) {
    if (row[0] == "ok") continue;
    std::replace(row[0].begin(), row[0].end(), '\n', ' ');
    if (++shown <= kShownPerKind) report.problems.push_back("integrity_check: " + row[0]);
  }
  if (!error.empty()) {
    report.problems.push_back("integrity_check: " + error);
    return report;  // nothing more can be read from it
  }

  compareRecord(raw, session.connection().passwords(), expected, report);
  compareStructure(raw, expected, report);
  if (report.sound() && depth == Depth::Content) checkStrings(raw, expected, report);
  const auto count = rowsOf(raw, "SELECT count(*) FROM data", error);
  if (error.empty() && !count.empty()) report.rows = std::stoll(count[0][0]);
  return report;
}

}  // namespace store
