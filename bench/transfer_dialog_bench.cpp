// transfer-dialog-bench: the transfer dialog's 確定 through its real handler, the file dialog
// answered by the scripted dialogs, on a private copy of a data folder made by
//   store-bench --employees 50000 --entries 1400000 --data DIR
// One month ("8803") against the same work done by SQLite alone on the same copy (interleaved
// runs), the whole table (an empty date), and the program's peak memory after both.
//
//   transfer-dialog-bench --data DIR [--runs N]

#include <sys/resource.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "BenchReport.h"
#include "SqliteTransfer.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/FontsAndFormats.h"
#include "transfer/TSaveDialogBoxForm.h"

namespace fs = std::filesystem;

namespace {

fs::path privateCopy(const fs::path& from) {
  const fs::path to =
      fs::temp_directory_path() / ("salary-dialog-bench-" + std::to_string(getpid()));
  fs::remove_all(to);
  fs::create_directories(to);
  for (const auto& t : store::liveTables()) fs::copy_file(from / t.fileName, to / t.fileName);
  return to;
}

long peakRssKb() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string opt = argv[i];
    if (opt == "--data")
      data = argv[i + 1];
    else if (opt == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (data.empty() || argc % 2 == 0) {
    std::cerr << "usage: transfer-dialog-bench --data DIR [--runs N]\n";
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  toolkit::installFontSubstitutions();
  bench::reportMachine();

  const fs::path folder = privateCopy(data);
  const QString out = QString::fromStdString((folder / "BT000020").string());
  try {
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    toolkit::ScriptedDialogs dialogs;
    TSaveDialogBoxForm form(session);
    auto press = [&](const QString& date) {
      form.show();
      form.FileEdit->setText(date);
      dialogs.answerSave(out);
      form.FileOKBitBtn->press();
      if (dialogs.shown().back().kind == toolkit::ScriptedDialogs::Kind::Error) {
        throw std::runtime_error(dialogs.shown().back().text.toStdString());
      }
      dialogs.clear();
    };

    std::vector<double> dialogUs, sqliteUs;
    std::size_t sqliteBytes = 0;
    // Interleaved pairs, the side going first alternating.
    for (int i = 0; i < runs; ++i) {
      bench::SqliteTransfer sqlite(folder);
      const auto reference = [&] {
        sqliteUs.push_back(bench::timeUs([&] { sqliteBytes = sqlite.transfer("8803").size(); }));
      };
      if (i % 2) reference();
      dialogUs.push_back(bench::timeUs([&] { press("8803"); }));
      if (i % 2 == 0) reference();
    }
    std::cout << "month: " << form.Memo->lineCount() - 2 << " records, "
              << fs::file_size(folder / "BT000020") << " bytes (SQLite alone: " << sqliteBytes
              << ")\n";
    const double month = bench::median(dialogUs), reference = bench::median(sqliteUs);
    std::cout << "BENCH transfer_dialog_month_large median_us=" << std::llround(month) << "\n";
    std::cout << "BENCH transfer_sqlite_month_large median_us=" << std::llround(reference) << "\n";
    std::cout.flush();
    bench::reportRatio("transfer_dialog_month_ratio_large", dialogUs, sqliteUs);

    std::vector<double> allUs;
    for (int i = 0; i < std::min(runs, 2); ++i) allUs.push_back(bench::timeUs([&] { press(""); }));
    std::cout << "whole table: " << form.Memo->lineCount() - 2 << " records, "
              << fs::file_size(folder / "BT000020") << " bytes\n";
    std::cout << "BENCH transfer_dialog_all_large median_us=" << std::llround(bench::median(allUs))
              << "\n";
    std::cout << "BENCH transfer_dialog_peak_rss_kb=" << peakRssKb() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "transfer-dialog-bench: " << e.what() << "\n";
    fs::remove_all(folder);
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}
