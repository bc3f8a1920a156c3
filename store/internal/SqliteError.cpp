#include "SqliteError.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>

namespace store {

using Code = EngineError::Code;

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

EngineError sqliteError(sqlite3* db, int rc, const std::string& files) {
  return sqliteError(rc, db ? sqlite3_system_errno(db) : 0, files);
}

ConnectionHandle openDatabase(const std::filesystem::path& file, int flags,
                              const std::string& files) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
  ConnectionHandle db(raw);
  if (rc != SQLITE_OK) throw sqliteError(raw, rc, files);
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, 2000);
  return db;
}

std::string sqliteUri(const std::filesystem::path& path, const char* mode) {
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

void execOn(sqlite3* db, const std::string& sql, const std::string& files) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw sqliteError(db, rc, files);
}

}  // namespace store
