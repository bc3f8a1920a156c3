// transfer-bench: the transfer batch plus the transfer file's text for one month ("8803"),
// through the engine and through SQLite alone on the same files, and the peak memory of
// salary-admin transfer on that month.
//
//   transfer-bench [--dir DIR] [--runs N] [--sizes small,large]
//
// DIR (default /tmp/salary-transfer-bench) keeps the generated tables between runs: small is
// 10,000 employees with 290,000 entries, large 50,000 with 1,400,000. Prints "BENCH <name>
// median_us=<x>" lines, the ratio engine / SQLite, and "BENCH <name> peak_rss_kb=<x>".

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

double medianMicros(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(bench::timeUs(work));
  return bench::median(times);
}

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

// Runs salary-admin transfer on the month and returns its peak resident memory in kB.
long peakMemoryOfTool(const fs::path& folder, const fs::path& out) {
  std::cout.flush();
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    execl(SALARY_ADMIN, SALARY_ADMIN, "transfer", "--data", folder.c_str(), "--date", kMonth,
          "--out", out.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) throw std::runtime_error("cannot run tool");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("salary-admin transfer failed");
  }
  return usage.ru_maxrss;
}

void runSize(const fs::path& root, const Size& size, int runs) {
  const fs::path folder = prepare(root, size);
  std::string engineText, sqliteText;
  long long records = 0;

  double engineUs;
  std::vector<double> batchUs;
  {
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    engineUs = medianMicros(runs, [&] {
      batchUs.push_back(bench::timeUs([&] { transfer::buildTransferBatch(session, kMonth); }));
      auto text = transfer::buildTransferText(session, kMonth);
      records = text.records;
      engineText = std::move(text.bytes);
    });
  }
  double sqliteUs;
  {
    bench::SqliteTransfer sqlite(folder);
    sqliteUs = medianMicros(runs, [&] { sqliteText = sqlite.transfer(kMonth); });
  }
  std::cout << "records " << size.label << ": " << records << " (" << engineText.size()
            << " bytes), same text from both: " << (engineText == sqliteText ? "yes" : "NO")
            << "\n";
  std::cout << "BENCH transfer_engine_" << size.label << " median_us=" << engineUs << "\n";
  std::cout << "BENCH transfer_engine_batch_only_" << size.label
            << " median_us=" << bench::median(batchUs) << "\n";
  std::cout << "BENCH transfer_sqlite_" << size.label << " median_us=" << sqliteUs << "\n";
  std::cout << "BENCH transfer_ratio_" << size.label << " ratio=" << engineUs / sqliteUs << "\n";
  std::cout << "BENCH salary_admin_transfer_" << size.label
            << " peak_rss_kb=" << peakMemoryOfTool(folder, root / "BT000020") << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  fs::path root = "/tmp/salary-transfer-bench";
  int runs = 5;
  std::string sizes = "small,large";
  for (int i = 1; i < argc; i += 2) {
    const std::string opt = argv[i];
    const bool hasValue = i + 1 < argc;
    if (hasValue && opt == "--dir")
      root = argv[i + 1];
    else if (hasValue && opt == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
    else if (hasValue && opt == "--sizes")
      sizes = argv[i + 1];
    else {
      std::cerr << "usage: transfer-bench [--dir DIR] [--runs N] [--sizes small,large]\n";
      return 2;
    }
  }
  try {
    bench::reportMachine();
    fs::create_directories(root);
    if (sizes.find("small") != std::string::npos) {
      runSize(root, {"small", {10000, 290000, 1}}, runs);
    }
    if (sizes.find("large") != std::string::npos) {
      runSize(root, {"large", {50000, 1400000, 1}}, runs);
    }
  } catch (const std::exception& e) {
    std::cerr << "transfer-bench: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
