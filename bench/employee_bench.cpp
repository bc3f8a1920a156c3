// employee-bench: times the employee page's heavy steps on tables of a realistic size.
//
//   employee-bench --data DIR [--samples N]
//
// DIR holds the live tables with the benchmark data (made by store-bench, or generated here
// with 50,000 employees and 1,400,000 entries when its tables are empty or absent). The run
// works on a private copy of DIR, removed afterwards, so DIR itself is only read. Prints
//   BENCH page_change median_us=<x> p99_us=<y> samples=<n>
//       the table work of a change of page, without widgets: the employee, pay-entry and salary
//       item tables closed, opened and refreshed in the window's order, then the current
//       employee's entries read as the grid shows them;
//   BENCH page_change_window ...
//       the same change through the main window itself (offscreen), with every control that
//       follows the tables;
//   BENCH renumber_240 ...
//       寫入 of an employee with 240 pay entries whose number was changed, through the
//       employee page's own handlers (the number changed back and forth between samples);
// and the machine it ran on.

#include <sys/utsname.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/Program.h"
#include "app/TMainMenuForm.h"
#include "bench/BenchReport.h"
#include "bench/DataGenerator.h"
#include "employees/BasicDataPage.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "support/ScriptedDialogs.h"

namespace {

using bench::report;
using bench::timeUs;
namespace fs = std::filesystem;
using bench::addEmployeeWithEntries;
using bench::goTo;
using bench::sixDigits;

volatile std::size_t gSink = 0;

long long rowCount(store::Session& session, const char* fileName) {
  store::Table table(session, fileName);
  table.Open();
  return table.RecordCount();
}

// ---- data ----------------------------------------------------------------------------------

void prepareSource(const fs::path& folder) {
  fs::create_directories(folder);
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  for (const store::LiveTable& t : store::liveTables())
    if (!session.exists(t.fileName)) session.createTable(t.fileName, t.schema);
  const long long employees = rowCount(session, "basic.DB");
  const long long entries = rowCount(session, "salary.DB");
  if (employees == 0 && entries == 0) {
    std::printf("# generating 50000 employees and 1400000 entries in %s\n", folder.c_str());
    std::fflush(stdout);
    bench::generate(session, bench::DataSize{});
  }
  std::printf("# source employees=%lld entries=%lld\n", rowCount(session, "basic.DB"),
              rowCount(session, "salary.DB"));
}

void benchPageChangeTables(const fs::path& folder, int samples) {
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  store::Table basic(session, "basic.DB");
  store::Table salary(session, "salary.DB");
  store::Table items(session, "item.DB");
  basic.SetIndexFieldNames("NUMBER");
  salary.SetIndexFieldNames("NUMBER");
  salary.SetMasterSource(&basic, "NUMBER");
  items.SetIndexFieldNames("SALARYITEM");
  items.Open();
  basic.Open();
  salary.Open();
  const long long employees = basic.RecordCount();
  std::mt19937 rng(20240601);
  std::vector<double> us;
  for (int i = 0; i < samples + 10; ++i) {
    goTo(basic, sixDigits(std::uniform_int_distribution<int>(1, int(employees))(rng)));
    const double t = timeUs([&] {
      for (store::Table* table : {&basic, &salary, &items}) {
        table->Close();
        table->Open();
        table->Refresh();
      }
      for (salary.First(); !salary.Eof(); salary.Next()) {
        gSink = gSink + salary.FieldByName("SENDDATE").text().size() +
                salary.FieldByName("PAY").text().size() +
                salary.FieldByName("SALARYITEM").text().size();
      }
    });
    if (i >= 10) us.push_back(t);
  }
  report("page_change", us);
}

void benchPageChangeWindow(int samples) {
  TMainMenuForm* m = MainMenuForm;
  const long long employees = m->EmployeeBasicTable.RecordCount();
  std::mt19937 rng(20240601);
  std::vector<double> us;
  for (int i = 0; i < samples + 10; ++i) {
    goTo(m->EmployeeBasicTable,
         sixDigits(std::uniform_int_distribution<int>(1, int(employees))(rng)));
    const double t = timeUs([&] { m->PageControl1Change(); });
    if (i >= 10) us.push_back(t);
  }
  report("page_change_window", us);
}

// ---- renumbering ---------------------------------------------------------------------------

void benchRenumber(const std::string& number, int entries, int samples,
                   toolkit::ScriptedDialogs& dialogs) {
  TMainMenuForm* m = MainMenuForm;
  BasicDataPage* page = m->BasicData;
  const std::string other = "9" + number.substr(1);
  std::vector<double> us;
  for (int i = 0; i < samples; ++i) {
    const std::string from = i % 2 == 0 ? number : other;
    const std::string to = i % 2 == 0 ? other : number;
    goTo(m->EmployeeBasicTable, from);
    page->EditBitBtn1Click();
    if (m->SalaryEntryCount != entries) throw std::runtime_error("wrong number of entries");
    m->EmployeeBasicTable.FieldByName("NUMBER").setText(to);
    us.push_back(timeUs([&] { page->PostBitBtn1Click(); }));
    if (!dialogs.texts().isEmpty())
      throw std::runtime_error("renumbering failed: " + dialogs.texts().front().toStdString());
    if (m->EmployeeSalaryTable.RecordCount() != entries)
      throw std::runtime_error("entries did not follow the employee");
  }
  report("renumber_" + std::to_string(entries), us);
}

// ---- machine -------------------------------------------------------------------------------

[[noreturn]] void usage(const char* message) {
  std::fprintf(stderr, "employee-bench: %s\nusage: employee-bench --data DIR [--samples N]\n",
               message);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path source;
  int samples = 200;
  for (int i = 1; i < argc; i += 2) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) usage(("missing value after " + arg).c_str());
    if (arg == "--data") {
      source = argv[i + 1];
    } else if (arg == "--samples") {
      samples = std::atoi(argv[i + 1]);
      if (samples < 20) usage("--samples must be at least 20");
    } else {
      usage(("unknown option " + arg).c_str());
    }
  }
  if (source.empty()) usage("--data is required");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  const fs::path copy =
      fs::temp_directory_path() / ("employee-bench-" + std::to_string(::getpid()));
  int status = 0;
  try {
    prepareSource(source);
    fs::create_directories(copy);
    for (const auto& entry : fs::directory_iterator(source))
      if (entry.is_regular_file()) fs::copy_file(entry.path(), copy / entry.path().filename());
    const int entries = 240;
    const std::string number = addEmployeeWithEntries(copy, entries);

    benchPageChangeTables(copy, samples);
    toolkit::ScriptedDialogs dialogs;
    {
      auto program = Program::start(copy);
      if (!program) throw std::runtime_error("the program did not start");
      benchPageChangeWindow(std::max(20, samples / 4));
      benchRenumber(number, entries, std::max(20, samples / 4), dialogs);
    }
    bench::reportMachine();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "employee-bench: %s\n", e.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(copy, ignored);
  return status;
}
