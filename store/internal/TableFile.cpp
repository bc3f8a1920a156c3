#include "TableFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "EngineError.h"
#include "FileReplacement.h"
#include "Sha256.h"
#include "SqliteError.h"
#include "SqliteHandles.h"

namespace store {

namespace {

using Code = EngineError::Code;

std::string verifierFor(const std::string& salt, const std::string& password) {
  return sha256Hex("salary table gate\n" + salt + "\n" + password);
}

std::string newSalt() {
  std::random_device rd;
  std::string salt;
  for (int i = 0; i < 4; ++i) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(rd()));
    salt += buf;
  }
  return salt;
}

std::string columnText(sqlite3_stmt* st, int i) {
  const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  return t ? t : "";
}

// The rows table of every file has the columns its recorded structure names.
void checkColumns(sqlite3* db, const std::string& schemaName, const TableSchema& schema,
                  const std::filesystem::path& path) {
  std::vector<std::string> expected;
  for (const auto& f : schema.fields) {
    expected.push_back(f.name);
    if (f.type == FieldType::Currency) expected.push_back(f.name + "#key");
  }
  std::vector<std::string> columns;
  sqlite3_stmt* raw = nullptr;
  int rc =
      sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_xinfo('data', ?)", -1, &raw, nullptr);
  const StatementHandle st(raw);
  if (rc == SQLITE_OK) sqlite3_bind_text(raw, 1, schemaName.c_str(), -1, SQLITE_TRANSIENT);
  while (rc == SQLITE_OK && sqlite3_step(raw) == SQLITE_ROW) columns.push_back(columnText(raw, 0));
  if (columns != expected) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "其資料欄位與記錄的結構不符");
  }
}

}  // namespace

std::string TableFile::quote(const std::string& identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string TableFile::columnName(const FieldDef& field) {
  return quote(field.name);
}

std::string TableFile::keyColumnName(const FieldDef& field) {
  return field.type == FieldType::Currency ? quote(field.name + "#key") : quote(field.name);
}

std::vector<std::string> TableFile::createStatements(const TableSchema& schema,
                                                     const std::string& as) {
  const std::string prefix = as.empty() ? "" : quote(as) + ".";
  std::string cols;
  for (const auto& f : schema.fields) {
    const std::string c = columnName(f);
    if (!cols.empty()) cols += ", ";
    if (f.type == FieldType::String) {
      cols += c + " BLOB NOT NULL DEFAULT x'' CHECK(typeof(" + c + ") = 'blob')";
    } else {
      cols += c + " REAL CHECK(typeof(" + c + ") IN ('real', 'null')), " + keyColumnName(f) +
              " REAL GENERATED ALWAYS AS (ifnull(" + c + ", -9e999)) VIRTUAL";
    }
  }
  auto keyList = [&](std::vector<std::string> names) {
    for (const auto& k : schema.primaryKey)
      if (std::find(names.begin(), names.end(), k) == names.end()) names.push_back(k);
    std::string out;
    for (const auto& n : names) {
      if (!out.empty()) out += ", ";
      out += keyColumnName(schema.fields[schema.fieldIndex(n)]);
    }
    return out;
  };
  std::vector<std::string> sql;
  sql.push_back("CREATE TABLE " + prefix + "_meta(key TEXT PRIMARY KEY, value TEXT)");
  sql.push_back("CREATE TABLE " + prefix + "data(" + cols + ")");
  std::vector<std::string> made;
  if (!schema.primaryKey.empty()) {
    made.push_back(keyList({}));
    sql.push_back("CREATE UNIQUE INDEX " + prefix + "pk ON data(" + made.back() + ")");
  }
  for (size_t i = 0; i < schema.indexes.size(); ++i) {
    // An index that would repeat another is left out.
    const std::string columns = keyList(schema.indexes[i].fields);
    if (std::find(made.begin(), made.end(), columns) != made.end()) continue;
    made.push_back(columns);
    sql.push_back("CREATE INDEX " + prefix + "ix" + std::to_string(i) + " ON data(" + columns +
                  ")");
  }
  return sql;
}

void TableFile::create(const std::filesystem::path& target, const TableSchema& schema,
                       const Passwords& passwords) {
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) {
    throw EngineError::of(Code::General, target.string(), {}, "檔案已存在");
  }
  // A half-made file never carries the table's name, and an existing file is never replaced.
  FileReplacement replacement(target, FileReplacement::Kind::TableFile);
  {
    const ConnectionHandle db =
        openDatabase(replacement.temporary(), SQLITE_OPEN_READWRITE, target.string());
    // A temporary that fails is thrown away whole: it needs no journal.
    std::vector<std::string> sql = {"PRAGMA journal_mode=OFF", "BEGIN"};
    for (auto& s : createStatements(schema, "")) sql.push_back(s);
    sql.push_back("INSERT INTO _meta VALUES('format', 'salary table 1')");
    sql.push_back("INSERT INTO _meta VALUES('schema', ?)");
    std::vector<std::string> values{schema.serialize()};
    if (!passwords.empty()) {
      const std::string salt = newSalt();
      sql.push_back("INSERT INTO _meta VALUES('salt', ?)");
      values.push_back(salt);
      sql.push_back("INSERT INTO _meta VALUES('verifier', ?)");
      values.push_back(verifierFor(salt, passwords.front()));
    }
    sql.push_back("COMMIT");
    size_t nextValue = 0;
    for (const auto& s : sql) {
      sqlite3_stmt* raw = nullptr;
      int rc = sqlite3_prepare_v2(db.get(), s.c_str(), -1, &raw, nullptr);
      const StatementHandle st(raw);
      if (rc == SQLITE_OK && sqlite3_bind_parameter_count(raw) == 1) {
        const std::string& v = values.at(nextValue++);
        sqlite3_bind_text(raw, 1, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
      }
      if (rc == SQLITE_OK) rc = sqlite3_step(raw);
      if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw sqliteError(db.get(), rc, target.string());
      }
    }
  }
  replacement.commit({}, FileReplacement::Existing::Keep);
}

bool TableFile::acceptsVerifier(const Passwords& passwords, const std::string& salt,
                                const std::string& verifier) {
  for (const auto& p : passwords)
    if (verifierFor(salt, p) == verifier) return true;
  return false;
}

TableFile::Record TableFile::readRecord(sqlite3* db, const std::string& schemaName, int& rc) {
  Record record;
  const std::string sql =
      "SELECT key, value FROM " + (schemaName.empty() ? "" : quote(schemaName) + ".") + "_meta";
  sqlite3_stmt* raw = nullptr;
  rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  const StatementHandle st(raw);
  if (rc != SQLITE_OK) return record;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) record[columnText(raw, 0)] = columnText(raw, 1);
  return record;
}

TableSchema TableFile::checkAttached(sqlite3* db, const std::string& schemaName,
                                     const std::filesystem::path& path,
                                     const Passwords& passwords) {
  // Anything unreadable is not a table file, unless SQLite could not get at it.
  int rc = SQLITE_OK;
  Record record = readRecord(db, schemaName, rc);
  if (rc != SQLITE_DONE) {
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_IOERR) {
      throw sqliteError(db, rc, path.string());
    }
    throw EngineError::of(Code::NotATable, path.string());
  }
  if (!record.count("schema")) throw EngineError::of(Code::NotATable, path.string());
  if (record.count("verifier") && !acceptsVerifier(passwords, record["salt"], record["verifier"])) {
    throw EngineError::of(Code::BadPassword, path.string());
  }
  TableSchema schema;
  try {
    schema = TableSchema::parse(record["schema"]);
  } catch (const EngineError&) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "無法辨識其結構");
  }
  // A file is what its name says: one of the live tables carries exactly that table's
  // structure, and its password verifier.
  const LiveTable* live = liveTableNamed(path);
  if (live && !(schema == live->schema)) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "其結構不是這個資料表應有的結構");
  }
  checkColumns(db, schemaName, schema, path);
  if (live && !record.count("verifier")) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "缺少密碼驗證資料");
  }
  return schema;
}

}  // namespace store
