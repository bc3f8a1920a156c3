#pragma once
// Connection (engine internal): the one SQLite connection of a Session, with every table file in
// use attached to it, and the transaction that may span them.
//
// A file is attached when a table object, a query or a transaction first acquires it, after
// the checks of TableFile::checkAttached, and stays attached when released, so that the next
// use finds it ready. SQLite allows ten attached files: before attaching another, files that no
// one uses are detached, least recently used first, so that two slots stay free.
//
// Every statement of the engine runs through prepare/step/exec here, so that two rules hold in
// one place:
// - A failure becomes an EngineError naming the file concerned (sqliteError).
// - A transaction that a failure has ended stays ended. After an I/O error or a full disk SQLite
//   may roll the transaction back by itself; the statements that followed would then each
//   commit on their own while the caller still believed it was inside its transaction. So after
//   any failed statement inside a transaction the connection checks whether SQLite is still in
//   it (sqlite3_get_autocommit), and rolls back itself after an error that leaves the outcome in
//   doubt (I/O, full, read-only, damaged file). Either way the transaction is aborted: every
//   later statement throws Aborted at once, nothing runs in autocommit mode under it, and its
//   commit throws. A refused row (key violation, constraint) fails alone and the transaction
//   goes on.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FileReplacement.h"
#include "Schema.h"
#include "SqliteHandles.h"
#include "TableFile.h"

namespace store {

class Connection {
 public:
  explicit Connection(std::filesystem::path folder);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  void addPassword(const std::string& password);
  std::filesystem::path resolve(const std::string& fileName) const;
  // The session's table passwords, in the order they were added.
  const TableFile::Passwords& passwords() const { return passwords_; }
  void createTable(const std::string& fileName, const TableSchema& schema);

  // The schema name under which the file is attached ("f3"), attaching it first (checking the
  // password and the structure). Each acquire is paired with a release: hold the file by an
  // Acquired (Acquired.h), which releases it on every path. A released file may stay attached.
  std::string acquire(const std::string& fileName);
  void release(const std::string& fileName);
  // The structure of a file acquired and not yet released.
  const TableSchema& acquiredSchema(const std::string& fileName) const;
  // Detaches a file (so that it can be replaced on disk) and returns whether it was attached.
  bool detachForReplace(const std::filesystem::path& path);
  void reattach(const std::filesystem::path& path);
  // Commits a replacement of a file of the folder: a file attached here is detached around it
  // and attached again afterwards, whatever the outcome, reading the new file when it succeeded.
  FileReplacement::Synced replace(FileReplacement& replacement,
                                  const FileReplacement::Check& check);

  // Changes on every write through this connection; cached rows older than it are re-read.
  unsigned long long writeGeneration() const { return writeGeneration_; }
  void noteWrite() { ++writeGeneration_; }

  // ---- statements; `files` names the table files concerned, for messages ----
  using Files = std::vector<std::string>;
  StatementHandle prepare(const std::string& sql, const Files& files, bool persistent = false);
  // Steps a statement: returns SQLITE_ROW or SQLITE_DONE, or resets it and throws.
  int step(sqlite3_stmt* st, const Files& files);
  // Runs SQL that returns no rows.
  void exec(const std::string& sql, const Files& files);
  long long changes() const;
  long long lastInsertRowid() const;
  // Throws Aborted when the transaction has been ended by a failure.
  void checkUsable() const;
  // The file names as messages give them: each file's path, joined.
  std::string describe(const std::vector<std::string>& fileNames) const;

  // ---- transactions ----
  bool inTransaction() const { return inTransaction_; }
  bool aborted() const { return aborted_; }
  void beginTransaction(const std::vector<std::string>& fileNames);
  void commitTransaction();
  void rollbackTransaction() noexcept;

  // One read transaction over the statements until the outermost scope ends (ReadScope).
  // Anything that cannot share it (a write, a transaction, attaching or detaching) ends it first.
  void beginReadScope() noexcept;
  void endReadScope() noexcept;

 private:
  struct Attachment {
    std::string schemaName;
    std::vector<std::string> spellings;  // the names it was asked by, in any letter case
    TableSchema schema;
    int users = 0;
    unsigned long long lastUse = 0;
  };
  sqlite3* db();
  void attach(const std::filesystem::path& path, Attachment& a);
  void detach(const std::filesystem::path& path);
  void evictUnused();
  const Attachment& attachmentOf(const std::string& fileName) const;
  std::map<std::filesystem::path, Attachment>::const_iterator findAttached(
      const std::string& fileName) const;
  [[noreturn]] void fail(int rc, const Files& files);
  void endAfterFailure(int rc) noexcept;
  void releaseTransactionFiles() noexcept;
  void leaveReadTransaction() noexcept;

  std::filesystem::path folder_;
  ConnectionHandle db_;
  TableFile::Passwords passwords_;
  std::map<std::filesystem::path, Attachment> attached_;
  unsigned long long useClock_ = 0;
  unsigned long long writeGeneration_ = 0;
  int nextSchema_ = 0;
  bool inTransaction_ = false;
  bool aborted_ = false;
  std::vector<std::string> transactionFiles_;
  int readScopes_ = 0;
  bool inReadTransaction_ = false;
};

}  // namespace store
