#pragma once
// TableFile (engine internal): what makes an SQLite file a table file of this program, in one
// place.
//
// A table file holds two tables: `data`, the rows, with one column per field (strings as BLOBs
// of code page 950 bytes, amounts as REAL with a generated key column that is never NULL) and
// the indexes of its schema; and `_meta`, the record the file keeps of itself: its format, its
// schema, and the salt and verifier of the table password it was created under. The verifier
// is a salted SHA-256 of the password: an access gate of the engine, not encryption.
//
// The session's connection checks a file as it attaches it (checkAttached); TableFileCheck
// reads the same record (readRecord, acceptsVerifier) and compares the file with what
// createStatements makes, on a connection of its own.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Schema.h"

struct sqlite3;

namespace store {

class TableFile {
 public:
  using Passwords = std::vector<std::string>;
  // The rows of `_meta`: key and value.
  using Record = std::map<std::string, std::string>;

  // An SQL identifier in double quotes.
  static std::string quote(const std::string& identifier);
  // The column of a field, and the column its indexes and comparisons use: a number field's key
  // column maps an empty amount below every number, so that keys are never NULL.
  static std::string columnName(const FieldDef& field);
  static std::string keyColumnName(const FieldDef& field);
  // The SQL that makes the two tables and the indexes of `schema`, in the attached schema `as`
  // (the main one when empty). Each secondary index ends with the primary key, so that every
  // order is a total order that one index answers without sorting.
  static std::vector<std::string> createStatements(const TableSchema& schema,
                                                   const std::string& as);

  // Creates the table file `target`, which must not exist, with `schema`, protected by the first
  // of `passwords` (unprotected when there is none). The file is made whole under a temporary
  // name and only then put under its own. Throws EngineError naming `target`.
  static void create(const std::filesystem::path& target, const TableSchema& schema,
                     const Passwords& passwords);

  // Whether `verifier` is the verifier of one of `passwords` with this salt.
  static bool acceptsVerifier(const Passwords& passwords, const std::string& salt,
                              const std::string& verifier);

  // The record of the file attached to `db` as `schemaName` (the main one when empty). `rc` is
  // left at SQLite's result of the read: SQLITE_DONE when the record was read whole.
  static Record readRecord(sqlite3* db, const std::string& schemaName, int& rc);

  // Checks the file at `path`, attached to `db` as `schemaName`, as a table object needs it
  // and returns its schema: a record that can be read, with a schema; a verifier of one of
  // `passwords` when it has one, and always when it is one of the live tables; a live table's
  // own structure; and a rows table with the columns the schema names. Throws EngineError
  // naming `path`: BadPassword, NotATable, or what SQLite reports (a busy or unreadable file).
  static TableSchema checkAttached(sqlite3* db, const std::string& schemaName,
                                   const std::filesystem::path& path, const Passwords& passwords);
};

}  // namespace store
