#pragma once
// Session: the engine's connection to the folder of table files behind the database alias.
//
// A table file is one SQLite database file holding one table; its name is resolved in the
// folder without regard to letter case ("basic.db" opens basic.DB). The session keeps one
// SQLite connection with every file in use attached to it, so that one Transaction can span
// several files and still commit or roll back as a whole (rollback journal, never WAL). Beside
// the tables it keeps an empty file `.session.db`, after which SQLite names the journal that
// ties such a commit together; a folder where that file cannot be made or opened is an error
// naming it.
//
// Opening one of the five live tables checks that the file holds that table's structure and a
// password verifier; any other file is refused, naming it.
//
// Table password: each file created by a session with a password registered carries a salted
// verifier of that password. Opening such a file succeeds only when one of the passwords given
// to AddPassword matches. This is an access gate of the engine, not encryption: the rows are
// stored in clear and any SQLite tool can read them.
//
// A Session must outlive every Table, Query and Transaction made on it. Not thread-safe: the
// program runs every handler on its one user-interface thread.

#include <filesystem>
#include <memory>
#include <string>

#include "Schema.h"

namespace store {

class Connection;

class Session {
 public:
  explicit Session(std::filesystem::path folder);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Registers a table password; later openings of files protected by it succeed.
  void AddPassword(const std::string& password);

  const std::filesystem::path& folder() const;

  // The path of the file of that name in the folder: an existing file whose name matches
  // without regard to ASCII letter case, or else folder/fileName as written.
  std::filesystem::path resolve(const std::string& fileName) const;
  bool exists(const std::string& fileName) const;

  // Creates a new table file with the given structure, protected by the first registered
  // password (unprotected when none is registered). Throws EngineError when a file of that
  // name exists already or cannot be written.
  void createTable(const std::string& fileName, const TableSchema& schema);

  // Reads a file's structure; checks its password. Throws MissingFile, BadPassword, NotATable.
  TableSchema schemaOf(const std::string& fileName);

  bool inTransaction() const;

  // The engine's inside of the session, its SQLite connection, for the engine's own units.
  // Opaque elsewhere: it is defined in an internal header of the engine.
  Connection& connection() const { return *connection_; }

 private:
  std::unique_ptr<Connection> connection_;
};

}  // namespace store
