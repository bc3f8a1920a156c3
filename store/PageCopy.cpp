#include "PageCopy.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "Connection.h"
#include "EngineError.h"
#include "Session.h"

namespace store {

namespace {

using Code = EngineError::Code;

EngineError errorOf(sqlite3* db, int rc, const std::string& file) {
  const int system = db ? sqlite3_system_errno(db) : 0;
  switch (rc & 0xff) {
    case SQLITE_FULL:
      return EngineError::of(Code::DiskFull, file);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return EngineError::of(Code::Busy, file);
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return EngineError::of(Code::ReadOnly, file);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return EngineError::of(Code::NotATable, file);
    default:
      if (system != 0) return EngineError::fromErrno(system, file);
      if ((rc & 0xff) == SQLITE_IOERR) return EngineError::of(Code::IoError, file);
      return EngineError::of(Code::General, file, {},
                             "資料庫作業失敗 (代碼 " + std::to_string(rc) + ")");
  }
}

struct Db {
  sqlite3* db = nullptr;
  ~Db() { sqlite3_close_v2(db); }
};

void openDb(Db& handle, const std::filesystem::path& path, int flags, const std::string& file) {
  const int rc = sqlite3_open_v2(path.c_str(), &handle.db, flags, nullptr);
  if (rc != SQLITE_OK) throw errorOf(handle.db, rc, file);
  sqlite3_extended_result_codes(handle.db, 1);
  sqlite3_busy_timeout(handle.db, 2000);
}

void execOn(Db& handle, const char* sql, const std::string& file) {
  const int rc = sqlite3_exec(handle.db, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw errorOf(handle.db, rc, file);
}

void syncPath(const std::filesystem::path& path, int flags, const std::string& file) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) throw EngineError::fromErrno(errno, file);
  const int rc = ::fsync(fd);
  const int e = errno;
  ::close(fd);
  if (rc != 0) throw EngineError::fromErrno(e, file);
}

}  // namespace

void PageCopy::copy(Session& session, const std::string& sourceName,
                    const std::filesystem::path& target) {
  Connection& connection = connectionOf(session);
  // Opening the source through the session checks its password and structure.
  connection.acquire(sourceName);
  struct Release {
    Connection& c;
    const std::string& name;
    ~Release() { c.release(name); }
  } release{connection, sourceName};
  const std::filesystem::path source = session.resolve(sourceName);
  const std::string targetText = target.string();

  static std::atomic<int> counter{0};
  const std::filesystem::path tmp =
      targetText + ".copy-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  struct RemoveTemporary {
    const std::filesystem::path& path;
    bool keep = false;
    ~RemoveTemporary() {
      if (keep) return;
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
      std::filesystem::remove(path.string() + "-journal", ignored);
    }
  } removeTemporary{tmp};
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) throw EngineError::fromErrno(errno, targetText);
  ::close(fd);

  {
    Db from, to;
    openDb(from, source, SQLITE_OPEN_READONLY, source.string());
    openDb(to, tmp, SQLITE_OPEN_READWRITE, targetText);
    // The temporary file is thrown away on any failure: it needs no journal, and it is put on
    // disk once, below, before it takes the target's name.
    execOn(to, "PRAGMA journal_mode=OFF", targetText);
    execOn(to, "PRAGMA synchronous=OFF", targetText);
    sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup) throw errorOf(to.db, sqlite3_errcode(to.db), targetText);
    int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
      // A failure to read is the source's; anything else is the target's.
      const int readRc = sqlite3_errcode(from.db);
      if (readRc != SQLITE_OK) throw errorOf(from.db, readRc, source.string());
      throw errorOf(to.db, rc == SQLITE_OK ? sqlite3_errcode(to.db) : rc, targetText);
    }
  }
  syncPath(tmp, O_RDONLY, targetText);

  const bool wasAttached = connection.detachForReplace(target);
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    const int e = errno;
    if (wasAttached) connection.reattach(target);
    throw EngineError::fromErrno(e, targetText);
  }
  removeTemporary.keep = true;
  try {
    syncPath(target.parent_path(), O_RDONLY | O_DIRECTORY, targetText);
  } catch (const EngineError&) {
    // The copy is in place either way; only its name may not yet be on the medium.
  }
  if (wasAttached) connection.reattach(target);
  connection.noteWrite();
}

}  // namespace store
