#include "TableDamage.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace {

// Runs `sql` in a child process that dies (without closing anything) once it has run.
void inKilledProcess(const std::filesystem::path& file, const std::string& sql) {
  const pid_t child = fork();
  if (child == 0) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    _exit(rc == SQLITE_OK ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << sql;
}

}  // namespace

void rawExec(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sql << ": " << sqlite3_errmsg(db);
  sqlite3_close(db);
}

void corruptRowsPage(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_schema "
                     "WHERE name = 'data'",
                     -1, &st, nullptr);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  const long long page = sqlite3_column_int64(st, 0), size = sqlite3_column_int64(st, 1);
  sqlite3_finalize(st);
  sqlite3_close(db);
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp((page - 1) * size);
  out << std::string(16, '\x7f');
}

void killedWriteLeavingItsJournal(const std::filesystem::path& file) {
  // A cache of one page makes SQLite write changed pages to the file before the commit, after
  // putting their earlier content in the journal and the journal on disk.
  inKilledProcess(file,
                  "PRAGMA cache_size = 1; BEGIN; DELETE FROM data;"
                  "UPDATE _meta SET value = value || ' ' WHERE key = 'format';");
  ASSERT_TRUE(std::filesystem::exists(file.string() + "-journal"));
}

void killedWalWrite(const std::filesystem::path& file) {
  inKilledProcess(file,
                  "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
                  "DELETE FROM data; UPDATE _meta SET value = 'x' WHERE key = 'schema';");
  ASSERT_TRUE(std::filesystem::exists(file.string() + "-wal"));
}
