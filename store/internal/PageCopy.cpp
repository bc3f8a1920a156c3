#include "PageCopy.h"

#include <sqlite3.h>

#include "Acquired.h"
#include "Connection.h"
#include "EngineError.h"
#include "Session.h"
#include "SqliteError.h"

namespace store {

void PageCopy::copy(Session& session, const std::string& sourceName,
                    const std::filesystem::path& into, const std::string& targetName) {
  // Opening the source through the session checks its password and structure, and rolls back
  // a journal that a cut write left beside it.
  const Acquired source(session.connection(), sourceName);
  const std::string sourcePath = session.resolve(sourceName).string();
  const ConnectionHandle from = openDatabase(sourcePath, SQLITE_OPEN_READONLY, sourcePath);
  const ConnectionHandle to = openDatabase(into, SQLITE_OPEN_READWRITE, targetName);
  // The copy is thrown away whole on any failure, and put on disk once before it is used: it
  // needs no journal.
  execOn(to.get(), "PRAGMA journal_mode=OFF", targetName);
  execOn(to.get(), "PRAGMA synchronous=OFF", targetName);
  sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
  if (!backup) throw sqliteError(sqlite3_errcode(to.get()), 0, targetName);
  const int rc = sqlite3_backup_step(backup, -1);
  sqlite3_backup_finish(backup);
  if (rc == SQLITE_DONE) return;
  // A failure to read is the source's; anything else is the copy's.
  const int readRc = sqlite3_errcode(from.get());
  if (readRc != SQLITE_OK) {
    throw sqliteError(from.get(), readRc, sourcePath);
  }
  throw sqliteError(to.get(), rc == SQLITE_OK ? sqlite3_errcode(to.get()) : rc, targetName);
}

}  // namespace store
