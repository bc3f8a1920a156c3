#include "Connection.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>

#include "AsciiCase.h"
#include "Cp950.h"
#include "EngineError.h"
#include "FolderCleanup.h"
#include "SqliteError.h"

namespace store {

namespace {

using Code = EngineError::Code;

// salary_fold(x): cp950::foldAsciiCase of the bytes x, for searches without regard to case.
void foldFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto* p = static_cast<const char*>(sqlite3_value_blob(argv[0]));
  const std::string out =
      cp950::foldAsciiCase(std::string_view(p ? p : "", sqlite3_value_bytes(argv[0])));
  sqlite3_result_blob(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// ATTACH and DETACH: statements that change what the connection sees and that SQLite runs only
// outside a transaction.
bool changesConnection(const char* sql) {
  while (sql && (*sql == ' ' || *sql == '\n')) ++sql;
  return sql && (strncasecmp(sql, "ATTACH", 6) == 0 || strncasecmp(sql, "DETACH", 6) == 0);
}

// Failures after which a transaction's outcome is in doubt: it is ended, never continued.
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
  ConnectionHandle handle = openDatabase(
      file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, file.string());
  sqlite3* raw = handle.get();
  sqlite3_create_function(raw, "salary_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                          foldFunction, nullptr, nullptr);
  // Reads the file's header now, so that a damaged one is reported under its own name.
  const int check = sqlite3_exec(raw, "PRAGMA main.schema_version", nullptr, nullptr, nullptr);
  if (check != SQLITE_OK) throw sqliteError(raw, check, file.string());
  db_ = std::move(handle);
  return db_.get();
}

std::filesystem::path Connection::resolve(const std::string& fileName) const {
  std::filesystem::path exact = folder_ / fileName;
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  const std::string wanted = upperAscii(std::filesystem::path(fileName).filename().string());
  const std::filesystem::path dir = exact.parent_path();
  // Iterated without exceptions: releasing a file resolves its name, and must not throw.
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (upperAscii(it->path().filename().string()) == wanted) return it->path();
  }
  return exact;
}

std::string Connection::describe(const std::vector<std::string>& fileNames) const {
  std::string out;
  for (const auto& f : fileNames) out += (out.empty() ? "" : "、") + resolve(f).string();
  return out;
}

void Connection::createTable(const std::string& fileName, const TableSchema& schema) {
  TableFile::create(resolve(fileName), schema, passwords_);
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

void Connection::attach(const std::filesystem::path& path, Attachment& a) {
  if (inTransaction_) {
    throw EngineError::of(Code::WrongState, path.string(), {}, "不在進行中的交易之內");
  }
  db();
  leaveReadTransaction();
  evictUnused();
  {
    StatementHandle st = prepare("ATTACH DATABASE ? AS ?", {path.string()});
    const std::string uri = sqliteUri(path, "rw");
    sqlite3_bind_text(st.get(), 1, uri.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st.get(), 2, a.schemaName.c_str(), -1, SQLITE_TRANSIENT);
    step(st.get(), {path.string()});
  }
  try {
    a.schema = TableFile::checkAttached(db_.get(), a.schemaName, path, passwords_);
  } catch (const EngineError&) {
    sqlite3_exec(db_.get(), ("DETACH DATABASE " + TableFile::quote(a.schemaName)).c_str(), nullptr,
                 nullptr, nullptr);
    throw;
  }
}

// A file attached is found by any name it was acquired by without asking the file system (a
// query's "Temp" is resolved in the folder once, not at every open and close); a new spelling
// is resolved in the folder.
std::map<std::filesystem::path, Connection::Attachment>::const_iterator Connection::findAttached(
    const std::string& fileName) const {
  for (auto it = attached_.begin(); it != attached_.end(); ++it) {
    for (const std::string& spelling : it->second.spellings)
      if (spelling == fileName) return it;
  }
  return attached_.find(resolve(fileName));
}

std::string Connection::acquire(const std::string& fileName) {
  auto found = findAttached(fileName);
  auto it = attached_.end();
  if (found != attached_.end()) {
    it = attached_.erase(found, found);  // the same, not const
    auto& spellings = it->second.spellings;
    if (std::find(spellings.begin(), spellings.end(), fileName) == spellings.end())
      spellings.push_back(fileName);
  }
  if (it == attached_.end()) {
    const std::filesystem::path path = resolve(fileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw EngineError::of(Code::MissingFile, path.string());
    Attachment a;
    a.schemaName = "f";
    a.schemaName += std::to_string(++nextSchema_);
    a.spellings.push_back(fileName);
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
  exec("DETACH DATABASE " + TableFile::quote(it->second.schemaName), {path.string()});
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
  const EngineError error = sqliteError(db_.get(), rc, describe(files));
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
  const EngineError error = sqliteError(db_.get(), rc, describe(files));
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
