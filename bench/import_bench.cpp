// import-bench: salary-admin import of every pay entry of a store-bench folder, against the same
// rows stored by SQLite alone.
//
//   import-bench --data DIR [--pairs N]
//
// DIR (made by store-bench) is only read. Its entries are written once to a CSV file in a
// shuffled order (as files prepared elsewhere come, not in key order); each run then imports
// that file into a fresh folder holding a copy of DIR's employees and an empty entries table.
// The program is salary-admin import; the reference is SQLite alone doing the same work in a
// child of its own: the CSV read with the same reader, the text converted to code page 950,
// each row inserted through one prepared statement that also checks the employee exists, in
// one transaction, with the same page cache as the import (so that the ratio shows the
// program's own work, not the cache). The two run in interleaved pairs (the side going first
// alternating). Prints
//   BENCH import_large median_us=<x> peak_rss_kb=<y>      salary-admin, peak of that child
//   BENCH import_sqlite_large median_us=<x> peak_rss_kb=<y>
//   BENCH import_ratio_large ratio=<median of per-pair ratios> ...

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "store/Cp950.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Value.h"
#include "tools/CsvReader.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what);
}

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// Every entry of DIR's salary.DB as CSV lines (UTF-8), shuffled. Returns the number of rows.
long long writeCsv(const fs::path& data, const fs::path& csv) {
  sqlite3* db = nullptr;
  const std::string uri = "file:" + (data / "salary.DB").string() + "?mode=ro";
  if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
      SQLITE_OK)
    fail("cannot open salary.DB");
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT NUMBER, SENDDATE, PAY, SALARYITEM FROM data", -1, &st, nullptr);
  std::vector<std::string> lines;
  const auto bytes = [&](int c) {
    return std::string(static_cast<const char*>(sqlite3_column_blob(st, c)),
                       static_cast<size_t>(sqlite3_column_bytes(st, c)));
  };
  while (sqlite3_step(st) == SQLITE_ROW) {
    const std::string pay = sqlite3_column_type(st, 2) == SQLITE_NULL
                                ? std::string()
                                : store::formatNumber(sqlite3_column_double(st, 2));
    lines.push_back(csvCell(store::cp950::decode(bytes(0))) + "," +
                    csvCell(store::cp950::decode(bytes(1))) + "," + pay + "," +
                    csvCell(store::cp950::decode(bytes(3))));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  std::shuffle(lines.begin(), lines.end(), std::mt19937(20261207));
  std::ofstream out(csv, std::ios::binary);
  out << "NUMBER,SENDDATE,PAY,SALARYITEM\n";
  for (const auto& l : lines) out << l << "\n";
  if (!out) fail("cannot write " + csv.string());
  return static_cast<long long>(lines.size());
}

// A folder with DIR's employees and an empty entries table.
void freshFolder(const fs::path& data, const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(data / "basic.DB", folder / "basic.DB");
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  session.createTable("salary.DB", store::salarySchema());
}

int runSqlite(const fs::path& folder, const fs::path& csv) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  const auto exec = [&](const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  };
  if (!exec("ATTACH DATABASE '" + (folder / "salary.DB").string() + "' AS s") ||
      !exec("ATTACH DATABASE '" + (folder / "basic.DB").string() + "' AS b") ||
      !exec("PRAGMA s.cache_size = -65536") || !exec("BEGIN"))
    return 1;
  sqlite3_stmt* insert = nullptr;
  if (sqlite3_prepare_v2(
          db,
          "INSERT INTO s.data (NUMBER, SENDDATE, PAY, SALARYITEM) SELECT ?1, ?2, ?3, "
          "?4 WHERE EXISTS (SELECT 1 FROM b.data WHERE NUMBER = ?1)",
          -1, &insert, nullptr) != SQLITE_OK)
    return 1;
  std::ifstream in(csv, std::ios::binary);
  admin::CsvReader reader(in);
  std::vector<std::string> cells;
  reader.next(cells);  // the header
  std::string encoded[3];
  while (reader.next(cells)) {
    if (cells.size() != 4) return 1;
    const int at[3] = {0, 1, 3};
    for (int i = 0; i < 3; ++i) {
      encoded[i] = store::cp950::encode(cells[at[i]]).bytes;
      sqlite3_bind_blob(insert, i == 2 ? 4 : i + 1, encoded[i].data(),
                        static_cast<int>(encoded[i].size()), SQLITE_STATIC);
    }
    if (cells[2].empty())
      sqlite3_bind_null(insert, 3);
    else
      sqlite3_bind_double(insert, 3, std::strtod(cells[2].c_str(), nullptr));
    if (sqlite3_step(insert) != SQLITE_DONE) return 1;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  const bool committed = exec("COMMIT");
  sqlite3_close(db);
  return committed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The reference's own run, in a child of the launcher.
  if (argc == 4 && std::string(argv[1]) == "--sqlite-import") return runSqlite(argv[2], argv[3]);
  const bench::Options options =
      bench::readOptions(argc, argv, "import-bench", "--pairs", 3, 1, true);
  bench::startLauncher();
  const fs::path data = options.data;
  const int pairs = options.count;
  const fs::path work = fs::temp_directory_path() / ("import-bench-" + std::to_string(::getpid()));
  int status = 0;
  try {
    fs::create_directories(work);
    const fs::path csv = work / "entries.csv";
    std::printf("# %lld entries to import\n", writeCsv(data, csv));
    std::vector<double> program, reference;
    long programPeak = 0, referencePeak = 0;
    const std::string self = fs::canonical("/proc/self/exe").string();
    const auto programRun = [&] {
      freshFolder(data, work / "p");
      const bench::ChildRun r = bench::runChild(
          {SALARY_ADMIN, "import", "--data", (work / "p").string(), "--entries", csv.string()});
      if (r.status != 0) fail("salary-admin import failed");
      program.push_back(r.us);
      programPeak = std::max(programPeak, r.peakKb);
    };
    const auto referenceRun = [&] {
      freshFolder(data, work / "r");
      const bench::ChildRun r =
          bench::runChild({self, "--sqlite-import", (work / "r").string(), csv.string()});
      if (r.status != 0) fail("the SQLite import failed");
      reference.push_back(r.us);
      referencePeak = std::max(referencePeak, r.peakKb);
    };
    for (int i = 0; i < pairs; ++i) {
      if (i % 2) referenceRun();
      programRun();
      if (i % 2 == 0) referenceRun();
    }
    std::printf("BENCH import_large median_us=%.0f peak_rss_kb=%ld runs=%zu\n",
                bench::median(program), programPeak, program.size());
    std::printf("BENCH import_sqlite_large median_us=%.0f peak_rss_kb=%ld runs=%zu\n",
                bench::median(reference), referencePeak, reference.size());
    bench::reportRatio("import_ratio_large", program, reference);
    bench::reportMachine();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "import-bench: %s\n", e.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return status;
}
