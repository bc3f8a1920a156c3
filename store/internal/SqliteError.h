#pragma once
// SqliteError (engine internal): the one map from SQLite's result codes to EngineError, used by
// every call of the engine into SQLite: the session's connection, the creation of a table file,
// the page copy and the file checks.
//
// The kind is read from SQLite's extended result code and, for a failure of the system, from
// the errno SQLite kept of it: a full disk, a medium that cannot be written, an I/O error, a
// file or folder that is missing. The message names the files concerned and is Traditional
// Chinese only.
//
// Besides the session's connection, the engine opens a connection of its own on one file at a
// time (a table file being made, the two ends of a page copy); openDatabase and execOn give
// those the same map. sqliteUri names a file for SQLite whatever its path holds.

#include <filesystem>
#include <string>

#include "EngineError.h"
#include "SqliteHandles.h"

namespace store {

// The error of a failed SQLite call: `rc` its extended result code, `systemError` the errno of
// a failure of the system (0 when none), `files` the file names as the message gives them.
EngineError sqliteError(int rc, int systemError, const std::string& files);
// The same, with the errno that the connection `db` (may be null) kept of its last failure.
EngineError sqliteError(sqlite3* db, int rc, const std::string& files);

// Opens `file` with SQLite's open `flags`, extended result codes on and a busy timeout of two
// seconds. Throws the mapped error naming `files`.
ConnectionHandle openDatabase(const std::filesystem::path& file, int flags,
                              const std::string& files);

// The URI that opens `file` with SQLite's `mode` ("rw", "ro"), whatever characters its path
// holds.
std::string sqliteUri(const std::filesystem::path& file, const char* mode);

// Runs SQL that returns no rows on a connection of its own. Throws the mapped error naming
// `files`.
void execOn(sqlite3* db, const std::string& sql, const std::string& files);

}  // namespace store
