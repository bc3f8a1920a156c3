#include "Connection.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "Cp950.h"
#include "EngineError.h"
#include "FileReplacement.h"
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

EngineError sqliteError(int rc, int systemError, const std::string& files) {
  switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        return EngineError::of(Code::KeyViolation, files);
      return EngineError::of(Code::InvalidValue, files, {}, "資料不符合資料表的限制");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return EngineError::of(Code::Busy, files);
    case SQLITE_FULL:
      return EngineError::of(Code::DiskFull, files);
    case SQLITE_READONLY:
      return EngineError::of(Code::ReadOnly, files);
    case SQLITE_IOERR:
      if (systemError == ENOSPC || systemError == EDQUOT || systemError == EROFS)
        return EngineError::fromErrno(systemError, files);
      return EngineError::of(Code::IoError, files);
    case SQLITE_CANTOPEN:
      if (systemError == EACCES || systemError == EPERM || systemError == EROFS ||
          systemError == ENOSPC || systemError == EIO)
        return EngineError::fromErrno(systemError, files);
      if (systemError == ENOENT) return EngineError::of(Code::MissingFile, files);
      return EngineError::of(Code::General, files, {}, "無法開啟");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return EngineError::of(Code::NotATable, files);
    case SQLITE_NOMEM:
      return EngineError::of(Code::General, files, {}, "記憶體不足");
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return EngineError::of(Code::ReadOnly, files);
    default:
      return EngineError::of(Code::General, files, {},
                             "資料庫作業失敗 (代碼 " + std::to_string(rc) + ")");
  }
}

namespace {

// Failures after which a transaction's outcome is in doubt: it is ended, never continued.
// ATTACH and DETACH: statements that change what the connection sees and that SQLite runs only
// outside a transaction.
bool changesConnection(const char* sql) {
  while (sql && (*sql == ' ' || *sql == '\n')) ++sql;
  return sql && (strncasecmp(sql, "ATTACH", 6) == 0 || strncasecmp(sql, "DETACH", 6) == 0);
}

bool endsTransaction(int rc) {
  switch (rc & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_NOMEM:
    case SQLITE_CANTOPEN:
    case SQLITE_PROTOCOL:
    case SQLITE_ABORT:
      return true;
    default:
      return false;
  }
}

}  // namespace

void ConnectionCloser::operator()(sqlite3* db) const noexcept {
  sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt* st) const noexcept {
  sqlite3_finalize(st);
}

// The folder is held as an absolute path, so that a file is named the same way in every message
// whatever the folder was given as.
Connection::Connection(std::filesystem::path folder) {
  std::error_code ec;
  folder_ = std::filesystem::absolute(folder, ec);
  if (ec) folder_ = std::move(folder);
}

Connection::~Connection() {
  rollbackTransaction();
}

void Connection::addPassword(const std::string& password) {
  if (std::find(passwords_.begin(), passwords_.end(), password) == passwords_.end())
    passwords_.push_back(password);
}

std::string Connection::quote(const std::string& identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// The connection's main database is an empty file in the folder, never written: SQLite names
// the super-journal of a commit that spans several files after it, and that journal must lie
// on the same disk as the files for the commit to stay atomic across a crash. So it is never
// replaced by a database in memory: a folder where it cannot be made is an error.
sqlite3* Connection::db() {
  if (db_) return db_.get();
  std::error_code ec;
  if (!std::filesystem::is_directory(folder_, ec)) {
    throw EngineError::of(Code::MissingFile, folder_.string(), {}, "資料夾不存在");
  }
  FolderCleanup::removeLeftovers(folder_);
  const std::filesystem::path file = folder_ / ".session.db";
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(
      file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
  ConnectionHandle handle(raw);
  if (rc != SQLITE_OK) {
    throw sqliteError(rc, raw ? sqlite3_system_errno(raw) : 0, file.string());
  }
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, 2000);
  sqlite3_create_function(raw, "salary_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                          foldFunction, nullptr, nullptr);
  // Reads the file's header now, so that a damaged one is reported under its own name.
  const int check = sqlite3_exec(raw, "PRAGMA main.schema_version", nullptr, nullptr, nullptr);
  if (check != SQLITE_OK) throw sqliteError(check, sqlite3_system_errno(raw), file.string());
  db_ = std::move(handle);
  return db_.get();
}

std::filesystem::path Connection::resolve(const std::string& fileName) const {
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

std::string Connection::describe(const std::vector<std::string>& fileNames) const {
  std::string out;
  for (const auto& f : fileNames) out += (out.empty() ? "" : "、") + resolve(f).string();
  return out;
}

std::string Connection::columnName(const FieldDef& field) {
  return quote(field.name);
}

std::string Connection::keyColumnName(const FieldDef& field) {
  return field.type == FieldType::Currency ? quote(field.name + "#key") : quote(field.name);
}

std::vector<std::string> Connection::createStatements(const TableSchema& schema,
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

void Connection::createTable(const std::string& fileName, const TableSchema& schema) {
  const std::filesystem::path target = resolve(fileName);
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) {
    throw EngineError::of(Code::General, target.string(), {}, "檔案已存在");
  }
  // Made whole under a temporary name and only then put under its own: a half-made file
  // never carries the table's name, and an existing file is never replaced.
  FileReplacement replacement(target, FileReplacement::Kind::TableFile);
  {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(replacement.temporary().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    ConnectionHandle db(raw);
    if (rc != SQLITE_OK)
      throw sqliteError(rc, raw ? sqlite3_system_errno(raw) : 0, target.string());
    sqlite3_extended_result_codes(raw, 1);
    // A temporary that fails is thrown away whole: it needs no journal.
    std::vector<std::string> sql = {"PRAGMA journal_mode=OFF", "BEGIN"};
    for (auto& s : createStatements(schema, "")) sql.push_back(s);
    sql.push_back("INSERT INTO _meta VALUES('format', 'salary table 1')");
    sql.push_back("INSERT INTO _meta VALUES('schema', ?)");
    std::vector<std::string> values{schema.serialize()};
    if (!passwords_.empty()) {
      const std::string salt = newSalt();
      sql.push_back("INSERT INTO _meta VALUES('salt', ?)");
      values.push_back(salt);
      sql.push_back("INSERT INTO _meta VALUES('verifier', ?)");
      values.push_back(verifierFor(salt, passwords_.front()));
    }
    sql.push_back("COMMIT");
    size_t nextValue = 0;
    for (const auto& s : sql) {
      sqlite3_stmt* st = nullptr;
      rc = sqlite3_prepare_v2(raw, s.c_str(), -1, &st, nullptr);
      StatementHandle statement(st);
      if (rc == SQLITE_OK && sqlite3_bind_parameter_count(st) == 1) {
        const std::string& v = values.at(nextValue++);
        sqlite3_bind_text(st, 1, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
      }
      if (rc == SQLITE_OK) rc = sqlite3_step(st);
      if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw sqliteError(rc, sqlite3_system_errno(raw), target.string());
      }
    }
  }
  replacement.commit({}, FileReplacement::Existing::Keep);
}

FileReplacement::Synced Connection::replace(FileReplacement& replacement,
                                            const FileReplacement::Check& check) {
  const std::filesystem::path& target = replacement.target();
  const bool wasAttached = detachForReplace(target);
  FileReplacement::Synced synced;
  try {
    synced = replacement.commit(check);
  } catch (...) {
    try {
      if (wasAttached) reattach(target);
    } catch (const EngineError&) {
      // The failed replacement is the error to report; the file is as it was.
    }
    throw;
  }
  if (wasAttached) reattach(target);
  noteWrite();
  return synced;
}

bool Connection::hasPasswords() const {
  return !passwords_.empty();
}

bool Connection::acceptsVerifier(const std::string& salt, const std::string& verifier) const {
  for (const auto& p : passwords_)
    if (verifierFor(salt, p) == verifier) return true;
  return false;
}

void Connection::attach(const std::filesystem::path& path, Attachment& a) {
  if (inTransaction_) {
    throw EngineError::of(Code::WrongState, path.string(), {}, "不在進行中的交易之內");
  }
  db();
  leaveReadTransaction();
  evictUnused();
  {
    StatementHandle st = prepare("ATTACH DATABASE ? AS ?", {path.string()});
    const std::string uri = uriFor(path, "rw");
    sqlite3_bind_text(st.get(), 1, uri.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st.get(), 2, a.schemaName.c_str(), -1, SQLITE_TRANSIENT);
    step(st.get(), {path.string()});
  }
  try {
    // The structure and the password verifier: anything unreadable is not a table file.
    std::map<std::string, std::string> meta;
    const std::string q = "SELECT key, value FROM " + quote(a.schemaName) + "._meta";
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db_.get(), q.c_str(), -1, &raw, nullptr);
    StatementHandle st(raw);
    if (rc == SQLITE_OK) {
      while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        auto text = [&](int i) {
          const char* t = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
          return std::string(t ? t : "");
        };
        meta[text(0)] = text(1);
      }
    }
    if (rc != SQLITE_DONE) {
      const int primary = rc & 0xff;
      if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_IOERR) {
        throw sqliteError(rc, sqlite3_system_errno(db_.get()), path.string());
      }
      throw EngineError::of(Code::NotATable, path.string());
    }
    if (!meta.count("schema")) throw EngineError::of(Code::NotATable, path.string());
    if (meta.count("verifier") && !acceptsVerifier(meta["salt"], meta["verifier"])) {
      throw EngineError::of(Code::BadPassword, path.string());
    }
    try {
      a.schema = TableSchema::parse(meta["schema"]);
    } catch (const EngineError&) {
      throw EngineError::of(Code::NotATable, path.string(), {}, "無法辨識其結構");
    }
    checkStructure(path, a);
    if (liveTableNamed(path) && !meta.count("verifier")) {
      throw EngineError::of(Code::NotATable, path.string(), {}, "缺少密碼驗證資料");
    }
  } catch (const EngineError&) {
    sqlite3_exec(db_.get(), ("DETACH DATABASE " + quote(a.schemaName)).c_str(), nullptr, nullptr,
                 nullptr);
    throw;
  }
}

// A file is what its name says: one of the live tables carries exactly that table's structure,
// and the rows table of every file has the columns its recorded structure names.
void Connection::checkStructure(const std::filesystem::path& path, const Attachment& a) {
  const LiveTable* live = liveTableNamed(path);
  if (live && !(a.schema == live->schema)) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "其結構不是這個資料表應有的結構");
  }
  std::vector<std::string> expected;
  for (const auto& f : a.schema.fields) {
    expected.push_back(f.name);
    if (f.type == FieldType::Currency) expected.push_back(f.name + "#key");
  }
  std::vector<std::string> columns;
  const std::string q = "SELECT name FROM pragma_table_xinfo('data', ?)";
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(db_.get(), q.c_str(), -1, &raw, nullptr);
  StatementHandle st(raw);
  if (rc == SQLITE_OK) sqlite3_bind_text(raw, 1, a.schemaName.c_str(), -1, SQLITE_TRANSIENT);
  while (rc == SQLITE_OK && sqlite3_step(raw) == SQLITE_ROW) {
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    columns.push_back(t ? t : "");
  }
  if (columns != expected) {
    throw EngineError::of(Code::NotATable, path.string(), {}, "其資料欄位與記錄的結構不符");
  }
}

// A file attached under the name it was opened by is found without asking the file system; any
// other spelling is resolved in the folder.
std::map<std::filesystem::path, Connection::Attachment>::const_iterator Connection::findAttached(
    const std::string& fileName) const {
  for (auto it = attached_.begin(); it != attached_.end(); ++it)
    if (it->second.displayName == fileName) return it;
  return attached_.find(resolve(fileName));
}

std::string Connection::acquire(const std::string& fileName) {
  auto found = findAttached(fileName);
  auto it = attached_.end();
  if (found != attached_.end()) it = attached_.erase(found, found);  // the same, not const
  if (it == attached_.end()) {
    const std::filesystem::path path = resolve(fileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw EngineError::of(Code::MissingFile, path.string());
    Attachment a;
    a.schemaName = "f";
    a.schemaName += std::to_string(++nextSchema_);
    a.displayName = fileName;
    attach(path, a);
    it = attached_.emplace(path, std::move(a)).first;
  }
  ++it->second.users;
  it->second.lastUse = ++useClock_;
  return it->second.schemaName;
}

void Connection::release(const std::string& fileName) {
  auto found = findAttached(fileName);
  if (found == attached_.end()) return;
  auto it = attached_.erase(found, found);
  if (it->second.users > 0) --it->second.users;
}

const Connection::Attachment& Connection::attachmentOf(const std::string& fileName) const {
  auto it = findAttached(fileName);
  if (it == attached_.end() || it->second.users == 0) {
    throw EngineError::of(Code::WrongState, fileName, {}, "資料表未開啟");
  }
  return it->second;
}

const TableSchema& Connection::acquiredSchema(const std::string& fileName) const {
  return attachmentOf(fileName).schema;
}

void Connection::detach(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return;
  leaveReadTransaction();
  exec("DETACH DATABASE " + quote(it->second.schemaName), {path.string()});
}

// Keeps a few attachment slots free (SQLite allows ten): files no object uses any more are
// detached, least recently used first.
void Connection::evictUnused() {
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

bool Connection::detachForReplace(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return false;
  detach(path);
  if (it->second.users == 0) {
    attached_.erase(it);
    return false;
  }
  return true;
}

void Connection::reattach(const std::filesystem::path& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return;
  try {
    attach(path, it->second);
  } catch (...) {
    attached_.erase(it);
    throw;
  }
}

void Connection::checkUsable() const {
  if (inTransaction_ && aborted_) {
    throw EngineError::of(Code::Aborted, describe(transactionFiles_));
  }
}

StatementHandle Connection::prepare(const std::string& sql, const Files& files, bool persistent) {
  checkUsable();
  sqlite3* c = db();
  sqlite3_stmt* st = nullptr;
  const int rc = sqlite3_prepare_v3(c, sql.c_str(), -1, persistent ? SQLITE_PREPARE_PERSISTENT : 0,
                                    &st, nullptr);
  StatementHandle handle(st);
  if (rc != SQLITE_OK) fail(rc, files);
  return handle;
}

int Connection::step(sqlite3_stmt* st, const Files& files) {
  checkUsable();
  // A write is never held back in a read transaction: it commits on its own, as without one.
  // (SQLite counts ATTACH and DETACH as reads; they cannot run inside any transaction.)
  if (inReadTransaction_ && (!sqlite3_stmt_readonly(st) || changesConnection(sqlite3_sql(st)))) {
    leaveReadTransaction();
  }
  const int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW || rc == SQLITE_DONE) return rc;
  const EngineError error = sqliteError(rc, sqlite3_system_errno(db_.get()), describe(files));
  sqlite3_reset(st);
  endAfterFailure(rc);
  throw error;
}

void Connection::exec(const std::string& sql, const Files& files) {
  checkUsable();
  leaveReadTransaction();
  const int rc = sqlite3_exec(db(), sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc, files);
}

long long Connection::changes() const {
  return db_ ? sqlite3_changes64(db_.get()) : 0;
}

long long Connection::lastInsertRowid() const {
  return db_ ? sqlite3_last_insert_rowid(db_.get()) : 0;
}

void Connection::fail(int rc, const Files& files) {
  const EngineError error =
      sqliteError(rc, db_ ? sqlite3_system_errno(db_.get()) : 0, describe(files));
  endAfterFailure(rc);
  throw error;
}

void Connection::endAfterFailure(int rc) noexcept {
  if (!inTransaction_ || aborted_ || !db_) return;
  if (sqlite3_get_autocommit(db_.get())) {
    // SQLite has rolled the transaction back by itself.
    aborted_ = true;
  } else if (endsTransaction(rc)) {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    aborted_ = true;
  }
  if (aborted_) noteWrite();
}

void Connection::beginTransaction(const std::vector<std::string>& fileNames) {
  if (inTransaction_) {
    throw EngineError::of(Code::WrongState, describe(fileNames), {}, "交易不可巢狀");
  }
  leaveReadTransaction();
  std::vector<std::string> acquired;
  try {
    for (const auto& f : fileNames) {
      acquire(f);
      acquired.push_back(f);
    }
    exec("BEGIN IMMEDIATE", fileNames);
  } catch (...) {
    for (const auto& f : acquired) release(f);
    throw;
  }
  transactionFiles_ = std::move(acquired);
  inTransaction_ = true;
  aborted_ = false;
}

void Connection::commitTransaction() {
  if (!inTransaction_) throw EngineError::of(Code::WrongState, {}, {}, "沒有進行中的交易");
  try {
    exec("COMMIT", transactionFiles_);
  } catch (...) {
    rollbackTransaction();
    throw;
  }
  releaseTransactionFiles();
}

void Connection::rollbackTransaction() noexcept {
  if (!inTransaction_) return;
  if (db_ && !sqlite3_get_autocommit(db_.get())) {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  noteWrite();
  releaseTransactionFiles();
}

void Connection::releaseTransactionFiles() noexcept {
  inTransaction_ = false;
  aborted_ = false;
  for (const auto& f : transactionFiles_) release(f);
  transactionFiles_.clear();
}

void Connection::beginReadScope() noexcept {
  if (readScopes_++ > 0 || inTransaction_ || !db_) return;
  // BEGIN takes no lock yet: the first read does, and keeps it until the scope ends.
  inReadTransaction_ = sqlite3_get_autocommit(db_.get()) &&
                       sqlite3_exec(db_.get(), "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Connection::endReadScope() noexcept {
  if (readScopes_ > 0 && --readScopes_ == 0) leaveReadTransaction();
}

void Connection::leaveReadTransaction() noexcept {
  if (!inReadTransaction_) return;
  inReadTransaction_ = false;
  // Nothing was written in it, so there is nothing to lose; after a failure SQLite may have
  // ended it already.
  if (db_ && !sqlite3_get_autocommit(db_.get()) &&
      sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

}  // namespace store
