// transfer-bench: the transfer batch plus the transfer file's text for one month ("8803"),
// through the engine and through SQLite alone on the same files, and the peak memory of
// salary-admin transfer on that month.
//
//   transfer-bench [--data DIR] [--dir DIR] [--runs N] [--sizes small,large]
//
// --data names a folder made by store-bench, used (through a private copy, removed afterwards)
// as the large size; otherwise --dir (default /tmp/salary-transfer-bench) keeps generated
// tables between runs: small is 10,000 employees with 290,000 entries, large 50,000 with
// 1,400,000. Prints "BENCH <name> median_us=<x>" lines, "BENCH transfer_ratio_<size> ratio=<r>"
// from interleaved pairs (engine, SQLite alone), the peak memory of salary-admin transfer on the
// month, and "BENCH transfer_all_<size> median_us=<x> peak_rss_kb=<y>": salary-admin transfer
// of every entry, its own peak resident memory as wait4 reports it for that child.

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "DataGenerator.h"
#include "SqliteTransfer.h"
#include "store/Cp950.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "transfer/TransferBatch.h"
#include "transfer/TransferItemCodes.h"
#include "transfer/TransferText.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMonth = "8803";

struct Size {
  std::string label;
  bench::DataSize data;
};

fs::path prepare(const fs::path& root, const Size& size) {
  const fs::path folder =
      root / (std::to_string(size.data.employees) + "x" + std::to_string(size.data.entries));
  if (fs::exists(folder / "complete")) return folder;
  fs::remove_all(folder);
  fs::create_directories(folder);
  auto start = std::chrono::steady_clock::now();
  {
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    for (const auto& t : store::liveTables()) session.createTable(t.fileName, t.schema);
    bench::generate(session, size.data);
  }
  std::ofstream(folder / "complete") << "generated\n";
  std::cout << "generated " << size.label << " in "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
            << " s\n";
  return folder;
}

// Runs salary-admin transfer on a send date ("" for every entry): its time and its own peak
// resident memory.
bench::ChildRun runTool(const fs::path& folder, const fs::path& out, const char* date) {
  const bench::ChildRun run = bench::runChild(
      {SALARY_ADMIN, "transfer", "--data", folder.string(), "--date", date, "--out", out.string()});
  if (run.status != 0) throw std::runtime_error("salary-admin transfer failed");
  return run;
}

void runSize(const fs::path& root, const Size& size, int runs) {
  const fs::path folder = prepare(root, size);
  std::string engineText, sqliteText;
  long long records = 0;

  // Interleaved pairs, the side going first alternating.
  std::vector<double> batchUs, engine, sqlite;
  {
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    bench::SqliteTransfer reference(folder);
    const auto engineRun = [&] {
      engine.push_back(bench::timeUs([&] {
        batchUs.push_back(bench::timeUs([&] { transfer::buildTransferBatch(session, kMonth); }));
        auto text = transfer::buildTransferText(session, kMonth);
        records = text.records;
        engineText = std::move(text.bytes);
      }));
    };
    const auto sqliteRun = [&] {
      sqlite.push_back(bench::timeUs([&] { sqliteText = reference.transfer(kMonth); }));
    };
    for (int i = 0; i < runs; ++i) {
      if (i % 2) sqliteRun();
      engineRun();
      if (i % 2 == 0) sqliteRun();
    }
  }
  const double engineUs = bench::median(engine), sqliteUs = bench::median(sqlite);
  std::cout << "records " << size.label << ": " << records << " (" << engineText.size()
            << " bytes), same text from both: " << (engineText == sqliteText ? "yes" : "NO")
            << "\n";
  std::cout << "BENCH transfer_engine_" << size.label << " median_us=" << std::llround(engineUs)
            << "\n";
  std::cout << "BENCH transfer_engine_batch_only_" << size.label
            << " median_us=" << std::llround(bench::median(batchUs)) << "\n";
  std::cout << "BENCH transfer_sqlite_" << size.label << " median_us=" << std::llround(sqliteUs)
            << "\n";
  bench::reportRatio("transfer_ratio_" + size.label, engine, sqlite);
  std::cout << "BENCH salary_admin_transfer_" << size.label
            << " peak_rss_kb=" << runTool(folder, root / "BT000020", kMonth).peakKb << "\n";
  std::vector<double> allUs;
  long peak = 0;
  for (int i = 0; i < std::min(runs, 3); ++i) {
    const bench::ChildRun run = runTool(folder, root / "BT000020", "");
    allUs.push_back(run.us);
    peak = std::max(peak, run.peakKb);
  }
  std::cout << "BENCH transfer_all_" << size.label
            << " median_us=" << std::llround(bench::median(allUs)) << " peak_rss_kb=" << peak
            << " runs=" << allUs.size() << "\n";
  fs::remove(root / "BT000020");
}

}  // namespace

int main(int argc, char** argv) {
  fs::path root = "/tmp/salary-transfer-bench";
  fs::path data;
  int runs = 5;
  std::string sizes = "small,large";
  for (int i = 1; i < argc; i += 2) {
    const std::string opt = argv[i];
    const bool hasValue = i + 1 < argc;
    if (hasValue && opt == "--dir")
      root = argv[i + 1];
    else if (hasValue && opt == "--data")
      data = argv[i + 1];
    else if (hasValue && opt == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
    else if (hasValue && opt == "--sizes")
      sizes = argv[i + 1];
    else {
      std::cerr
          << "usage: transfer-bench [--data DIR] [--dir DIR] [--runs N] [--sizes small,large]\n";
      return 2;
    }
  }
  bench::startLauncher();
  int status = 0;
  try {
    bench::reportMachine();
    if (sizes.find("small") != std::string::npos) {
      fs::create_directories(root);
      runSize(root, {"small", {10000, 290000, 1}}, runs);
    }
    if (sizes.find("large") != std::string::npos) {
      if (!data.empty()) {
        // A private copy: the transfer writes temp.DB, and the data folder is only read.
        root = fs::temp_directory_path() / ("transfer-bench-" + std::to_string(::getpid()));
        const fs::path copy = root / "50000x1400000";
        fs::create_directories(copy);
        for (const auto& entry : fs::directory_iterator(data))
          if (entry.is_regular_file()) fs::copy_file(entry.path(), copy / entry.path().filename());
        std::ofstream(copy / "complete") << "copied\n";
      }
      runSize(root, {"large", {50000, 1400000, 1}}, runs);
    }
  } catch (const std::exception& e) {
    std::cerr << "transfer-bench: " << e.what() << "\n";
    status = 1;
  }
  if (!data.empty()) {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  return status;
}
