#include "Session.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "Cp950.h"
#include "EngineError.h"
#include "FolderCleanup.h"
#include "Sha256.h"

namespace store {

namespace {

using Code = EngineError::Code;

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string quote(const std::string& identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string uriFor(const std::filesystem::path& path, const char* mode) {
  std::string out = "file:";
  for (unsigned char c : path.string()) {
    if (c == '%' || c == '?' || c == '#' || c < 0x21 || c >= 0x7f) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "?mode=" + mode;
}

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

// salary_fold(x): x with the ASCII letters of its single-byte characters in upper case; the
// trail bytes of double-byte characters are left alone.
void foldFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto* p = static_cast<const unsigned char*>(sqlite3_value_blob(argv[0]));
  int n = sqlite3_value_bytes(argv[0]);
  std::string out(reinterpret_cast<const char*>(p), n);
  for (int i = 0; i < n; ++i) {
    if (cp950::isLeadByte(p[i]) && i + 1 < n) {
      ++i;
    } else if (p[i] >= 'a' && p[i] <= 'z') {
      out[i] = char(p[i] - 'a' + 'A');
    }
  }
  sqlite3_result_blob(ctx, out.data(), n, SQLITE_TRANSIENT);
}

}  // namespace

Session::Session(std::filesystem::path folder) : folder_(std::move(folder)) {}

Session::~Session() {
  if (transactionDepth_ > 0) rollbackTransaction();
  if (db_) sqlite3_close_v2(db_);
}

void Session::AddPassword(const std::string& password) {
  if (std::find(passwords_.begin(), passwords_.end(), password) == passwords_.end())
    passwords_.push_back(password);
}

// The connection's main database is an empty file in the folder, never written: SQLite names
// the super-journal of a commit that spans several files after it, and that journal must lie
// on the same disk as the files for the commit to stay atomic across a crash.
void Session::open() {
  if (db_) return;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI;
  int rc = SQLITE_CANTOPEN;
  std::error_code ec;
  if (std::filesystem::is_directory(folder_, ec)) {
    FolderCleanup::removeLeftovers(folder_);
    rc = sqlite3_open_v2((folder_ / ".session.db").c_str(), &db_, flags, nullptr);
  }
  if (rc != SQLITE_OK) {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    rc = sqlite3_open_v2(":memory:", &db_, flags, nullptr);
    if (rc != SQLITE_OK)
      throw EngineError(Code::General, "無法啟動資料庫引擎 (cannot start SQLite)");
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 2000);
  sqlite3_create_function(db_, "salary_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                          foldFunction, nullptr, nullptr);
}

std::filesystem::path Session::resolve(const std::string& fileName) const {
  std::filesystem::path exact = folder_ / fileName;
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  const std::string wanted = lowerAscii(std::filesystem::path(fileName).filename().string());
  const std::filesystem::path dir = exact.parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (lowerAscii(entry.path().filename().string()) == wanted) return entry.path();
  }
  return exact;
}

bool Session::exists(const std::string& fileName) const {
  std::error_code ec;
  return std::filesystem::exists(resolve(fileName), ec);
}

std::string Session::columnName(const FieldDef& field) {
  return quote(field.name);
}

std::string Session::keyColumnName(const FieldDef& field) {
  return field.type == FieldType::Currency ? quote(field.name + "#key") : quote(field.name);
}

std::vector<std::string> Session::createStatements(const TableSchema& schema,
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
    // Each secondary index ends with the primary key, so that every order is a total order
    // that one index answers without sorting. An index that would repeat another is left out.
    const std::string columns = keyList(schema.indexes[i].fields);
    if (std::find(made.begin(), made.end(), columns) != made.end()) continue;
    made.push_back(columns);
    sql.push_back("CREATE INDEX " + prefix + "ix" + std::to_string(i) + " ON data(" + columns +
                  ")");
  }
  return sql;
}

void Session::createTable(const std::string& fileName, const TableSchema& schema) {
  const std::filesystem::path target = resolve(fileName);
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) {
    throw EngineError(Code::General, "資料表檔案已存在: " + target.string());
  }
  // Built under a temporary name and linked into place, so a half-made file never carries the
  // table's name and an existing file is never replaced.
  const std::filesystem::path tmp = target.string() + ".new-" + std::to_string(getpid());
  std::filesystem::remove(tmp, ec);
  sqlite3* db = nullptr;
  auto cleanup = [&] {
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    std::filesystem::remove(tmp, ec);
  };
  if (sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
    cleanup();
    throw EngineError(Code::General, "無法建立資料表檔案 " + target.string() + ": " + msg);
  }
  std::vector<std::string> sql = {"PRAGMA journal_mode=DELETE", "BEGIN"};
  for (auto& s : createStatements(schema, "")) sql.push_back(s);
  const std::string salt = newSalt();
  auto lit = [](const std::string& s) {
    std::string out = "'";
    for (char c : s) out += (c == '\'') ? std::string("''") : std::string(1, c);
    return out + "'";
  };
  sql.push_back("INSERT INTO _meta VALUES('format', 'salary table 1')");
  sql.push_back("INSERT INTO _meta VALUES('schema', " + lit(schema.serialize()) + ")");
  if (!passwords_.empty()) {
    sql.push_back("INSERT INTO _meta VALUES('salt', " + lit(salt) + ")");
    sql.push_back("INSERT INTO _meta VALUES('verifier', " +
                  lit(verifierFor(salt, passwords_.front())) + ")");
  }
  sql.push_back("COMMIT");
  for (const auto& s : sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, s.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      std::string msg = err ? err : "";
      sqlite3_free(err);
      cleanup();
      throw EngineError(Code::General, "無法建立資料表檔案 " + target.string() + ": " + msg);
    }
  }
  sqlite3_close_v2(db);
  db = nullptr;
  if (::link(tmp.c_str(), target.c_str()) != 0) {
    int e = errno;
    cleanup();
    throw EngineError(Code::General, "無法建立資料表檔案 " + target.string() + ": " +
                                         std::generic_category().message(e));
  }
  cleanup();
}

void Session::attach(const std::filesystem::path& path, Attachment& a) {
  open();
  if (transactionDepth_ > 0) {
    throw EngineError(Code::WrongState, "資料表 " + a.displayName +
                                            " 不在進行中的交易之內 (not part of the transaction)");
  }
  evictUnused();
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db_, "ATTACH DATABASE ? AS ?", -1, &st, nullptr);
  const std::string uri = uriFor(path, "rw");
  sqlite3_bind_text(st, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(st, 2, a.schemaName.c_str(), -1, SQLITE_TRANSIENT);
  int rc = sqlite3_step(st);
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) fail(rc, "無法開啟資料表 " + a.displayName);

  // Read the structure and check the table password.
  std::map<std::string, std::string> meta;
  const std::string q = "SELECT key, value FROM " + quote(a.schemaName) + "._meta";
  rc = sqlite3_prepare_v2(db_, q.c_str(), -1, &st, nullptr);
  while (rc == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
    auto text = [&](int i) {
      const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      return std::string(t ? t : "");
    };
    meta[text(0)] = text(1);
  }
  sqlite3_finalize(st);
  try {
    if (rc != SQLITE_OK || !meta.count("schema")) {
      throw EngineError(Code::General, "不是本系統的資料表檔案: " + path.string());
    }
    if (meta.count("verifier")) {
      bool ok = false;
      for (const auto& p : passwords_) ok = ok || verifierFor(meta["salt"], p) == meta["verifier"];
      if (!ok) {
        throw EngineError(Code::BadPassword,
                          "資料表 " + a.displayName + " 的密碼不符 (invalid table password)");
      }
    }
    a.schema = TableSchema::parse(meta["schema"]);
  } catch (const EngineError&) {
    exec("DETACH DATABASE " + quote(a.schemaName));
    throw;
  }
}

std::string Session::acquire(const std::string& fileName) {
  const std::filesystem::path path = resolve(fileName);
  auto it = attached_.find(path);
  if (it == attached_.end()) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      throw EngineError(Code::MissingFile,
                        "找不到資料表檔案 " + fileName + " (" + path.string() + ")");
    }
    Attachment a;
    a.schemaName = "f" + std::to_string(++nextSchema_);
    a.displayName = fileName;
    attach(path, a);
    it = attached_.emplace(path, std::move(a)).first;
  }
  ++it->second.users;
  it->second.lastUse = ++useClock_;
  return it->second.schemaName;
}

void Session::release(const std::string& fileName) {
  auto it = attached_.find(resolve(fileName));
  if (it != attached_.end() && it->second.users > 0) --it->second.users;
}

const Session::Attachment& Session::attachmentOf(const std::string& fileName) const {
  auto it = attached_.find(resolve(fileName));
  if (it == attached_.end() || it->second.users == 0) {
    throw EngineError(Code::WrongState, "資料表 " + fileName + " 未開啟 (table is not open)");
  }
  return it->second;
}

const TableSchema& Session::acquiredSchema(const std::string& fileName) const {
  return attachmentOf(fileName).schema;
}

TableSchema Session::schemaOf(const std::string& fileName) {
  acquire(fileName);
  TableSchema schema = acquiredSchema(fileName);
  release(fileName);
  return schema;
}

void Session::detach(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return;
  exec("DETACH DATABASE " + quote(it->second.schemaName));
}

// Keeps a few attachment slots free (SQLite allows ten): files no object uses any more are
// detached, least recently used first.
void Session::evictUnused() {
  while (attached_.size() >= 8) {
    auto victim = attached_.end();
    for (auto it = attached_.begin(); it != attached_.end(); ++it) {
      if (it->second.users == 0 &&
          (victim == attached_.end() || it->second.lastUse < victim->second.lastUse))
        victim = it;
    }
    if (victim == attached_.end()) return;
    detach(victim->first);
    attached_.erase(victim);
  }
}

bool Session::detachForReplace(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return false;
  detach(path);
  if (it->second.users == 0) {
    attached_.erase(it);
    return false;
  }
  return true;
}

void Session::reattach(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return;
  try {
    attach(path, it->second);
  } catch (...) {
    attached_.erase(it);
    throw;
  }
}

void Session::beginTransaction(const std::vector<std::string>& fileNames) {
  if (transactionDepth_ > 0) {
    throw EngineError(Code::WrongState, "交易不可巢狀 (transactions do not nest)");
  }
  std::vector<std::string> acquired;
  try {
    for (const auto& f : fileNames) {
      acquire(f);
      acquired.push_back(f);
    }
    exec("BEGIN IMMEDIATE");
  } catch (...) {
    for (const auto& f : acquired) release(f);
    throw;
  }
  transactionFiles_ = std::move(acquired);
  transactionDepth_ = 1;
}

void Session::commitTransaction() {
  if (transactionDepth_ == 0) throw EngineError(Code::WrongState, "沒有進行中的交易");
  try {
    exec("COMMIT");
  } catch (...) {
    rollbackTransaction();
    throw;
  }
  transactionDepth_ = 0;
  for (const auto& f : transactionFiles_) release(f);
  transactionFiles_.clear();
}

void Session::rollbackTransaction() noexcept {
  if (transactionDepth_ == 0) return;
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  noteWrite();
  transactionDepth_ = 0;
  for (const auto& f : transactionFiles_) release(f);
  transactionFiles_.clear();
}

void Session::exec(const std::string& sql) {
  open();
  char* err = nullptr;
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
  sqlite3_free(err);
  if (rc != SQLITE_OK) fail(rc, "資料庫作業失敗");
}

void Session::fail(int rc, const std::string& context) const {
  const std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        throw EngineError(Code::KeyViolation,
                          "資料重複: 已有相同鍵值的資料 (key violation) - " + context);
      }
      throw EngineError(Code::InvalidValue, context + ": " + detail);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw EngineError(Code::Busy, context + ": 資料表正由其他程式使用中 (table is busy)");
    case SQLITE_CANTOPEN:
      throw EngineError(Code::MissingFile, context + ": " + detail);
    default:
      throw EngineError(Code::General, context + ": " + detail);
  }
}

}  // namespace store
