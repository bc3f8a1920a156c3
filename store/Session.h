#pragma once
// Session: the engine's connection to the folder of table files behind the database alias.
//
// A table file is one SQLite database file holding one table; its name is resolved in the
// folder without regard to letter case ("basic.db" opens basic.DB). The session keeps one
// SQLite connection with every file in use attached to it, so that one Transaction can span
// several files and still commit or roll back as a whole (rollback journal, never WAL).
//
// Table password: each file created by a session with a password registered carries a salted
// verifier of that password. Opening such a file succeeds only when one of the passwords given
// to AddPassword matches. This is an access gate of the engine, not encryption: the rows are
// stored in clear and any SQLite tool can read them.
//
// A Session must outlive every Table, Query and Transaction made on it. Not thread-safe: the
// program runs every handler on its one user-interface thread.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Schema.h"

struct sqlite3;

namespace store {

class Session {
 public:
  explicit Session(std::filesystem::path folder);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Registers a table password; later openings of files protected by it succeed.
  void AddPassword(const std::string& password);

  const std::filesystem::path& folder() const { return folder_; }

  // The path of the file of that name in the folder: an existing file whose name matches
  // without regard to ASCII letter case, or else folder/fileName as written.
  std::filesystem::path resolve(const std::string& fileName) const;
  bool exists(const std::string& fileName) const;

  // Creates a new table file with the given structure, protected by the first registered
  // password (unprotected when none is registered). Throws EngineError when a file of that
  // name exists already or cannot be written.
  void createTable(const std::string& fileName, const TableSchema& schema);

  // Reads a file's structure; checks its password. Throws MissingFile, BadPassword.
  TableSchema schemaOf(const std::string& fileName);

  bool inTransaction() const { return transactionDepth_ > 0; }

  // ---- engine internals, used by Table, Query, BatchMove and Transaction ----

  // The schema name under which the file is attached ("f3"), attaching it first (checking the
  // password). Each acquire is paired with a release; a released file may stay attached.
  std::string acquire(const std::string& fileName);
  void release(const std::string& fileName);
  // The structure of a file acquired and not yet released.
  const TableSchema& acquiredSchema(const std::string& fileName) const;
  // Detaches a file (so that it can be replaced on disk) and returns whether it was attached.
  bool detachForReplace(const std::filesystem::path& path);
  void reattach(const std::filesystem::path& path);

  sqlite3* connection() const { return db_; }
  // Changes on every write through this session; cached rows older than it are re-read.
  unsigned long long writeGeneration() const { return writeGeneration_; }
  void noteWrite() { ++writeGeneration_; }

  void beginTransaction(const std::vector<std::string>& fileNames);
  // The SQL for a new table file: its rows table, indexes and structure record, in schema `as`.
  static std::vector<std::string> createStatements(const TableSchema& schema,
                                                   const std::string& as);
  // SQL column name of a field, and the column its indexes and comparisons use: a number
  // field's key column maps an empty amount below every number so that keys are never NULL.
  static std::string columnName(const FieldDef& field);
  static std::string keyColumnName(const FieldDef& field);
  void commitTransaction();
  void rollbackTransaction() noexcept;

  // Runs a statement that returns no rows; throws EngineError on failure.
  void exec(const std::string& sql);
  // Throws the EngineError for the connection's last error.
  [[noreturn]] void fail(int rc, const std::string& context) const;

 private:
  struct Attachment {
    std::string schemaName;
    std::string displayName;
    TableSchema schema;
    int users = 0;
    unsigned long long lastUse = 0;
  };
  void open();
  void attach(const std::filesystem::path& path, Attachment& a);
  void detach(const std::filesystem::path& path);
  void evictUnused();
  const Attachment& attachmentOf(const std::string& fileName) const;

  std::filesystem::path folder_;
  sqlite3* db_ = nullptr;
  std::vector<std::string> passwords_;
  std::map<std::filesystem::path, Attachment> attached_;
  unsigned long long useClock_ = 0;
  unsigned long long writeGeneration_ = 0;
  int nextSchema_ = 0;
  int transactionDepth_ = 0;
  std::vector<std::string> transactionFiles_;
};

}  // namespace store
