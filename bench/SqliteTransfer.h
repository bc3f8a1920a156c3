#pragma once
// The month's transfer (the batch into temp.DB and the file's text) done by SQLite alone on the
// same table files: the reference the engine and the dialog are measured against. The month
// text must not be empty.

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/Cp950.h"
#include "store/Schema.h"
#include "transfer/TransferItemCodes.h"

namespace bench {

namespace fs = std::filesystem;

class SqliteTransfer {
 public:
  explicit SqliteTransfer(const fs::path& folder) {
    check(sqlite3_open(":memory:", &db_), "open");
    attach(folder / "basic.DB", "b");
    attach(folder / "salary.DB", "s");
    attach(folder / "temp.DB", "t");
    exec("CREATE TEMP TABLE codes (item BLOB PRIMARY KEY, subject TEXT, tran TEXT)");
    sqlite3_stmt* add = prepare("INSERT INTO codes VALUES (?1, ?2, ?3)");
    std::vector<std::string> items = store::defaultSalaryItems();
    items.push_back(" ");
    items.push_back("");
    for (const auto& item : items) {
      const std::string bytes = store::cp950::encode(item).bytes;
      const auto code = transfer::itemCode(bytes);
      sqlite3_bind_blob(add, 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(add, 2, &code->subject, 1, SQLITE_TRANSIENT);
      sqlite3_bind_text(add, 3, code->tran, 2, SQLITE_STATIC);
      step(add);
      sqlite3_reset(add);
    }
    sqlite3_finalize(add);
  }
  ~SqliteTransfer() { sqlite3_close(db_); }

  std::string transfer(const std::string& month) {
    std::string beyond = month;
    beyond.back() = static_cast<char>(beyond.back() + 1);
    exec("BEGIN IMMEDIATE");
    exec("DELETE FROM t.data");
    sqlite3_stmt* fill = prepare(
        "INSERT INTO t.data (NUMBER, SENDDATE, SUBJECT, ACCOUNT, PAY, PAY1, ID, SPACE, TRAN, "
        "MEMO, SALARYITEM, NAME) "
        "SELECT s.NUMBER, s.SENDDATE, ?3, b.ACCOUNT, ifnull(s.PAY, 0), ?4, b.ID, ?5, ?6, ?7, "
        "s.SALARYITEM, b.NAME FROM s.data s JOIN b.data b ON b.NUMBER = s.NUMBER "
        "WHERE s.SENDDATE >= ?1 AND s.SENDDATE < ?2");
    bindBlob(fill, 1, month);
    bindBlob(fill, 2, beyond);
    bindBlob(fill, 3, "2");
    bindBlob(fill, 4, "00");
    bindBlob(fill, 5, "****");
    bindBlob(fill, 6, "SA");
    bindBlob(fill, 7, "");
    step(fill);
    sqlite3_finalize(fill);
    exec("COMMIT");

    // In the order of temp.DB's primary-key index, which holds amounts in the key column
    // "PAY#key", so that SQLite reads the index instead of sorting.
    sqlite3_stmt* records = prepare(
        "SELECT substr('000000' || d.NUMBER, -6, 6)"
        " || substr(ifnull(d.SENDDATE, '') || '      ', 1, 6) || c.subject"
        " || substr('              ' || ifnull(d.ACCOUNT, ''), -14, 14)"
        " || substr('0000000000000' || printf('%.15g', d.PAY), -13, 13)"
        " || d.PAY1 || CASE WHEN length(CAST(d.ID AS BLOB)) = 10 THEN d.ID"
        " ELSE '          ' END || d.SPACE || c.tran || '                '"
        " FROM t.data d JOIN codes c ON c.item = ifnull(d.SALARYITEM, x'')"
        " WHERE substr(d.SENDDATE, 1, ?2) = ?1"
        " ORDER BY d.NUMBER, d.SENDDATE, d.SUBJECT, d.ACCOUNT, d.\"PAY#key\", d.PAY1, d.ID,"
        " d.SPACE, d.TRAN, d.MEMO, d.SALARYITEM, d.NAME");
    bindBlob(records, 1, month);
    sqlite3_bind_int(records, 2, static_cast<int>(month.size()));
    std::string text = "020000020000\r\n";
    int rc;
    while ((rc = sqlite3_step(records)) == SQLITE_ROW) {
      text.append(reinterpret_cast<const char*>(sqlite3_column_blob(records, 0)),
                  sqlite3_column_bytes(records, 0));
      text += "\r\n";
    }
    if (rc != SQLITE_DONE) check(rc, "select");
    sqlite3_finalize(records);
    text += "END$END\r\n";
    return text;
  }

 private:
  void check(int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
      throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
    }
  }
  void attach(const fs::path& file, const char* name) {
    exec("ATTACH DATABASE '" + file.string() + "' AS " + name);
  }
  void exec(const std::string& sql) {
    check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), sql.c_str());
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr), sql);
    return stmt;
  }
  void step(sqlite3_stmt* stmt) { check(sqlite3_step(stmt), "step"); }
  static void bindBlob(sqlite3_stmt* stmt, int i, const std::string& b) {
    static const char empty = 0;
    sqlite3_bind_blob(stmt, i, b.empty() ? &empty : b.data(), static_cast<int>(b.size()),
                      SQLITE_TRANSIENT);
  }

  sqlite3* db_ = nullptr;
};

}  // namespace bench
