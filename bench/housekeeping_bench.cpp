// housekeeping-bench: the month purge and the backup of salary.DB on the large data.
//
//   housekeeping-bench [--data DIR] [--pairs N]
//
// DIR holds the table files (made by `store-bench --employees 50000 --entries 1400000`); it is
// only read: every measurement runs on a fresh private copy, removed at the end. Without --data
// the benchmark first generates that data itself (several minutes).
//
//   BENCH purge_6_months_large median_us=...   the purge of 8801~8807 (six months, about
//                                               300,000 entries) through the program's rule
//   BENCH purge_ratio_large ratio=...           median of program / SQLite alone, measured in
//                                               interleaved pairs, each on a fresh copy
//   BENCH backup_salary_large median_us=...     salary.DB copied over salary_bk.db, the copy
//                                               checked first (target: under 1.5 s)
//   BENCH backup_salary_check_large median_us=... that check alone: SQLite's integrity check,
//                                               the structure and the password verifier

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "DataGenerator.h"
#include "housekeeping/HousekeepingRules.h"
#include "store/BatchMove.h"
#include "store/Cp950.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/TableFileCheck.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kStart = "8801";
constexpr const char* kEnd = "8807";

[[noreturn]] void usage(const std::string& why) {
  std::fprintf(stderr,
               "housekeeping-bench: %s\nusage: housekeeping-bench [--data DIR] [--pairs N]\n",
               why.c_str());
  std::exit(2);
}

void copyTables(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  for (const auto& t : store::liveTables()) fs::copy_file(from / t.fileName, to / t.fileName);
}

// The same rows deleted by SQLite alone: one statement on the file, in its own transaction.
long long purgeBySqlite(const fs::path& salary) {
  sqlite3* db = nullptr;
  if (sqlite3_open(salary.c_str(), &db) != SQLITE_OK) usage("cannot open " + salary.string());
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "DELETE FROM data WHERE SENDDATE >= ? AND SENDDATE <= ?", -1, &st,
                     nullptr);
  const std::string start = store::cp950::encode(kStart).bytes;
  const std::string end = store::cp950::encode(kEnd).bytes;
  sqlite3_bind_blob(st, 1, start.data(), static_cast<int>(start.size()), SQLITE_TRANSIENT);
  sqlite3_bind_blob(st, 2, end.data(), static_cast<int>(end.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(st) != SQLITE_DONE) usage(std::string("sqlite: ") + sqlite3_errmsg(db));
  const long long n = sqlite3_changes64(db);
  sqlite3_finalize(st);
  sqlite3_close(db);
  return n;
}

long long purgeByProgram(const fs::path& folder) {
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  return housekeeping::purgeMonths(session, kStart, kEnd);
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Options options =
      bench::readOptions(argc, argv, "housekeeping-bench", "--pairs", 3, 1, false);
  fs::path source = options.data;
  const int pairs = options.count;
  bench::reportMachine();

  const fs::path root =
      fs::temp_directory_path() / ("housekeeping-bench-" + std::to_string(getpid()));
  fs::create_directories(root);
  if (source.empty()) {
    source = root / "data";
    fs::create_directories(source);
    store::Session session(source);
    session.AddPassword(store::kTablePassword);
    for (const auto& t : store::liveTables()) session.createTable(t.fileName, t.schema);
    bench::generate(session, bench::DataSize{});
  }
  const fs::path work = root / "work";

  std::vector<double> program, ratios;
  long long deleted = 0, deletedAlone = 0;
  for (int i = 0; i < pairs; ++i) {
    copyTables(source, work);
    const double p = bench::timeUs([&] { deleted = purgeByProgram(work); });
    copyTables(source, work);
    const double s = bench::timeUs([&] { deletedAlone = purgeBySqlite(work / "salary.DB"); });
    program.push_back(p);
    ratios.push_back(p / s);
  }
  if (deleted != deletedAlone) usage("the program and SQLite deleted different rows");
  std::printf("purged %lld entries of %s~%s\n", deleted, kStart, kEnd);
  bench::report("purge_6_months_large", program);
  std::printf("BENCH purge_ratio_large ratio=%.3f pairs=%d\n", bench::median(ratios), pairs);

  copyTables(source, work);
  std::vector<double> backups;
  {
    store::Session session(work);
    session.AddPassword(store::kTablePassword);
    for (int i = 0; i < pairs; ++i) {
      backups.push_back(bench::timeUs([&] {
        store::BatchMove move;
        store::Table from(session, "salary.DB"), to(session);
        housekeeping::backup(move, from, to, housekeeping::backupPair(1));
      }));
    }
  }
  bench::report("backup_salary_large", backups);
  // What the backup's check of its copy costs alone, on the copy it made.
  std::vector<double> checks;
  {
    store::Session session(work);
    session.AddPassword(store::kTablePassword);
    for (int i = 0; i < pairs; ++i) {
      checks.push_back(bench::timeUs([&] {
        if (!store::TableFileCheck::check(session, work / "salary_bk.db", store::salarySchema(),
                                          store::TableFileCheck::Depth::Structure)
                 .sound())
          usage("the backup does not pass its check");
      }));
    }
  }
  bench::report("backup_salary_check_large", checks);
  bench::reportMemory();
  fs::remove_all(root);
  return 0;
}
