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
//   BENCH page_change_ratio_large ratio=<r> ...
//       that change against the same reads by SQLite alone (the employee's row, the first
//       salary item, the employee's entries, through statements prepared once), in
//       interleaved pairs;
//   BENCH page_change_window ...
//       the same change through the main window itself (offscreen), with every control that
//       follows the tables;
//   BENCH renumber_240 ...
//       寫入 of an employee with 240 pay entries whose number was changed, through the
//       employee page's own handlers (the number changed back and forth between samples);
// and the machine it ran on.

#include <sqlite3.h>
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
#include "store/ReadScope.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "support/ScriptedDialogs.h"

namespace {

using bench::report;
using bench::reportRatio;
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

// The reads of a change of page done by SQLite alone on the same files: the current employee's
// row, the first salary item, and the employee's entries in key order, each statement prepared
// once.
class SqlitePageChange {
 public:
  explicit SqlitePageChange(const fs::path& folder) {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) fail("open");
    for (const auto& [file, as] :
         {std::pair{"basic.DB", "b"}, {"salary.DB", "s"}, {"item.DB", "i"}}) {
      const std::string sql = "ATTACH DATABASE '" + (folder / file).string() + "' AS " + as;
      if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
    }
    employee_ = prepare("SELECT NUMBER, ACCOUNT, NAME, ID, rowid FROM b.data WHERE NUMBER = ?");
    item_ = prepare("SELECT SALARYITEM, rowid FROM i.data ORDER BY SALARYITEM LIMIT 1");
    entries_ = prepare(
        "SELECT NUMBER, SENDDATE, PAY, SALARYITEM, rowid FROM s.data WHERE NUMBER = ? "
        "ORDER BY NUMBER, SENDDATE, \"PAY#key\", SALARYITEM");
  }
  ~SqlitePageChange() {
    for (sqlite3_stmt* st : {employee_, item_, entries_}) sqlite3_finalize(st);
    sqlite3_close(db_);
  }
  void change(const std::string& number) {
    std::size_t sink = 0;
    sqlite3_bind_blob(employee_, 1, number.data(), int(number.size()), SQLITE_STATIC);
    while (sqlite3_step(employee_) == SQLITE_ROW)
      for (int c = 0; c < 4; ++c) sink += sqlite3_column_bytes(employee_, c);
    sqlite3_reset(employee_);
    while (sqlite3_step(item_) == SQLITE_ROW) sink += sqlite3_column_bytes(item_, 0);
    sqlite3_reset(item_);
    sqlite3_bind_blob(entries_, 1, number.data(), int(number.size()), SQLITE_STATIC);
    while (sqlite3_step(entries_) == SQLITE_ROW) {
      sink += sqlite3_column_bytes(entries_, 1) + sqlite3_column_bytes(entries_, 3);
      sink += std::to_string(sqlite3_column_double(entries_, 2)).size();
    }
    sqlite3_reset(entries_);
    gSink = gSink + sink;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("sqlite: " + what + ": " + sqlite3_errmsg(db_));
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) fail(sql);
    return st;
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* employee_ = nullptr;
  sqlite3_stmt* item_ = nullptr;
  sqlite3_stmt* entries_ = nullptr;
};

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
  SqlitePageChange reference(folder);
  std::mt19937 rng(20240601);
  std::vector<double> us, ref;
  for (int i = 0; i < samples + 10; ++i) {
    const std::string number =
        sixDigits(std::uniform_int_distribution<int>(1, int(employees))(rng));
    goTo(basic, number);
    // Which side goes first alternates, so that neither always finds the pages the other read.
    double r = i % 2 ? timeUs([&] { reference.change(number); }) : 0;
    const double t = timeUs([&] {
      // As the window's change of page does it: one read transaction for all its reads.
      store::ReadScope reads(session);
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
    if (i % 2 == 0) r = timeUs([&] { reference.change(number); });
    if (i >= 10) {
      us.push_back(t);
      ref.push_back(r);
    }
  }
  report("page_change", us);
  report("page_change_sqlite", ref);
  reportRatio("page_change_ratio_large", us, ref);
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

}  // namespace

int main(int argc, char** argv) {
  const bench::Options options =
      bench::readOptions(argc, argv, "employee-bench", "--samples", 200, 20, true);
  const fs::path source = options.data;
  const int samples = options.count;
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
