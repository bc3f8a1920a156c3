// pay-bench: times the monthly work of the pay-entry page on tables of a realistic size.
//
//   pay-bench --data DIR [--samples N]
//
// DIR holds the live tables made by store-bench (50,000 employees, 1,400,000 entries). The run
// works on a private copy of DIR, removed afterwards, so DIR itself is only read. Through the
// main window (offscreen) and the page's own buttons it prints
//   BENCH pay_cycle_large median_us=<x> p99_us=<y> samples=<n>
//       one 新增 → 寫入 → 下一筆 (employee bar) cycle with a batch send date, as a month is
//       entered, walking through consecutive employees;
//   BENCH pay_new_240_entries ...
//       新增 on an employee with 240 pay entries (dropped again by 取消 between samples);
//   BENCH renumber_240_ratio_large ratio=<r> ...
//       寫入 of an employee with 240 pay entries whose number was changed, through the employee
//       page's own handlers with the pay page's grid following, against the same renumbering
//       by SQLite alone (both UPDATEs in one transaction, on another employee with 240
//       entries), in interleaved pairs;
//   BENCH pay_cycle_large_without_grid ...
//       the cycle again with the grid detached, to show what the grid costs;
// each also as the CPU time of the program's thread (…_cpu), which leaves out the waits for the
// disk's flush of each written entry and for other work of a shared machine; then the estimate for
// a month of every employee, the program's memory and the machine.

#include <sqlite3.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/TMainMenuForm.h"
#include "bench/BenchReport.h"
#include "bench/DataGenerator.h"
#include "employees/BasicDataPage.h"
#include "pay/SalaryMaintainPage.h"
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

// Wall and CPU microseconds of the samples taken so far.
struct Samples {
  std::vector<double> wall, cpu;
};

double threadCpuUs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Runs f, adding its wall time to `wall` and its CPU time to `cpu`.
template <class F>
void timeBoth(double& wall, double& cpu, F&& f) {
  const double start = threadCpuUs();
  wall += timeUs(f);
  cpu += threadCpuUs() - start;
}

void reportBoth(const std::string& name, const Samples& s) {
  report(name, s.wall);
  report(name + "_cpu", s.cpu);
}

void requireSilent(toolkit::ScriptedDialogs& dialogs, const char* step) {
  if (!dialogs.texts().isEmpty()) {
    throw std::runtime_error(std::string(step) + ": " + dialogs.texts().front().toStdString());
  }
}

// A month's walk from the first employee on: the batch send date (a new one on each walk, so
// that no copy equals a stored entry) typed once, then for each
// employee 新增, 寫入, 下一筆. Employees without an entry to copy get an amount and an item typed
// in, untimed, as the clerk would.
Samples benchCycle(int samples, const QString& sendDate, toolkit::ScriptedDialogs& dialogs) {
  TMainMenuForm* m = MainMenuForm;
  SalaryMaintainPage* pay = m->SalaryMaintain;
  pay->FirstBitBtn7->press();
  pay->SendDateEdit->setText(sendDate);
  Samples us;
  int typed = 0;
  for (int i = 0; i < samples + 10; ++i) {
    double wall = 0, cpu = 0;
    timeBoth(wall, cpu, [&] { pay->SalaryCreatBitBtn->press(); });
    if (m->EmployeeSalaryTable.FieldByName("PAY").text().empty()) {
      m->EmployeeSalaryTable.FieldByName("PAY").setNumber(30000);
      m->EmployeeSalaryTable.FieldByName("SALARYITEM").setText("薪水轉帳");
      ++typed;
    }
    timeBoth(wall, cpu, [&] {
      pay->SalaryPostBitBtn->press();
      pay->NextBitBtn9->press();
    });
    requireSilent(dialogs, "寫入");
    if (i >= 10) {
      us.wall.push_back(wall);
      us.cpu.push_back(cpu);
    }
  }
  if (typed)
    std::printf("# %d employees had no entry to copy; amount and item set untimed\n", typed);
  return us;
}

void benchNewOn240(const std::string& number, int samples, toolkit::ScriptedDialogs& dialogs) {
  TMainMenuForm* m = MainMenuForm;
  SalaryMaintainPage* pay = m->SalaryMaintain;
  goTo(m->EmployeeBasicTable, number);
  if (m->EmployeeSalaryTable.RecordCount() != 240) throw std::runtime_error("not 240 entries");
  Samples us;
  for (int i = 0; i < samples + 10; ++i) {
    double wall = 0, cpu = 0;
    timeBoth(wall, cpu, [&] { pay->SalaryCreatBitBtn->press(); });
    requireSilent(dialogs, "新增");
    if (m->EmployeeSalaryTable.FieldByName("PAY").text() != "30239") {
      throw std::runtime_error("新增 did not copy the latest entry");
    }
    pay->SalaryCancelBitBtn->press();
    if (i >= 10) {
      us.wall.push_back(wall);
      us.cpu.push_back(cpu);
    }
  }
  reportBoth("pay_new_240_entries", us);
}

// Renumbering an employee and its entries by SQLite alone, on the same files.
class SqliteRenumber {
 public:
  explicit SqliteRenumber(const fs::path& folder) {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) throw std::runtime_error("sqlite open");
    for (const auto& [file, as] : {std::pair{"basic.DB", "b"}, {"salary.DB", "s"}}) {
      exec("ATTACH DATABASE '" + (folder / file).string() + "' AS " + as);
    }
    basic_ = prepare("UPDATE b.data SET NUMBER = ?1 WHERE NUMBER = ?2");
    entries_ = prepare("UPDATE s.data SET NUMBER = ?1 WHERE NUMBER = ?2");
  }
  ~SqliteRenumber() {
    sqlite3_finalize(basic_);
    sqlite3_finalize(entries_);
    sqlite3_close(db_);
  }
  void renumber(const std::string& from, const std::string& to) {
    exec("BEGIN IMMEDIATE");
    for (sqlite3_stmt* st : {basic_, entries_}) {
      sqlite3_bind_blob(st, 1, to.data(), int(to.size()), SQLITE_STATIC);
      sqlite3_bind_blob(st, 2, from.data(), int(from.size()), SQLITE_STATIC);
      if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
      sqlite3_reset(st);
    }
    exec("COMMIT");
  }

 private:
  void exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    return st;
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* basic_ = nullptr;
  sqlite3_stmt* entries_ = nullptr;
};

// 寫入 of a renumbered employee with 240 entries (the number changed back and forth between
// samples), each paired with the same by SQLite alone on `referenceNumber`.
void benchRenumber(const fs::path& folder, const std::string& number,
                   const std::string& referenceNumber, int samples,
                   toolkit::ScriptedDialogs& dialogs) {
  TMainMenuForm* m = MainMenuForm;
  BasicDataPage* page = m->BasicData;
  m->PageControl1->setCurrentIndex(0);
  SqliteRenumber reference(folder);
  const auto other = [](const std::string& n) {
    std::string out = "9";
    out += n.substr(1);
    return out;
  };
  std::vector<double> us, ref;
  for (int i = 0; i < samples; ++i) {
    const std::string from = i % 2 == 0 ? number : other(number);
    const std::string to = i % 2 == 0 ? other(number) : number;
    const std::string refFrom = i % 2 == 0 ? referenceNumber : other(referenceNumber);
    const std::string refTo = i % 2 == 0 ? other(referenceNumber) : referenceNumber;
    goTo(m->EmployeeBasicTable, from);
    page->EditBitBtn1Click();
    m->EmployeeBasicTable.FieldByName("NUMBER").setText(to);
    double r = 0;
    if (i % 2) r = timeUs([&] { reference.renumber(refFrom, refTo); });
    us.push_back(timeUs([&] { page->PostBitBtn1Click(); }));
    if (i % 2 == 0) r = timeUs([&] { reference.renumber(refFrom, refTo); });
    ref.push_back(r);
    requireSilent(dialogs, "renumbering");
    if (m->EmployeeSalaryTable.RecordCount() != 240)
      throw std::runtime_error("entries did not follow the employee");
  }
  report("renumber_240", us);
  report("renumber_240_sqlite", ref);
  bench::reportRatio("renumber_240_ratio_large", us, ref);
  m->PageControl1->setCurrentIndex(1);
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Options options =
      bench::readOptions(argc, argv, "pay-bench", "--samples", 1000, 20, true);
  const fs::path source = options.data;
  const int samples = options.count;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  const fs::path copy = fs::temp_directory_path() / ("pay-bench-" + std::to_string(::getpid()));
  int status = 0;
  try {
    fs::create_directories(copy);
    for (const auto& entry : fs::directory_iterator(source))
      if (entry.is_regular_file()) fs::copy_file(entry.path(), copy / entry.path().filename());
    const std::string number = addEmployeeWithEntries(copy, 240);
    const std::string referenceNumber = addEmployeeWithEntries(copy, 240);

    toolkit::ScriptedDialogs dialogs;
    {
      auto program = Program::start(copy);
      if (!program) throw std::runtime_error("the program did not start");
      MainMenuForm->show();
      MainMenuForm->PageControl1->setCurrentIndex(1);
      const Samples cycle = benchCycle(samples, "991205", dialogs);
      reportBoth("pay_cycle_large", cycle);
      const long long employees = MainMenuForm->EmployeeBasicTable.RecordCount();
      std::printf("# a month of %lld employees at the median cycle: %.0f s (CPU %.0f s)\n",
                  employees, bench::median(cycle.wall) * employees / 1e6,
                  bench::median(cycle.cpu) * employees / 1e6);
      benchNewOn240(number, std::max(20, samples / 4), dialogs);
      benchRenumber(copy, number, referenceNumber, std::max(20, samples / 4), dialogs);
      // The grid's share: the same cycle with the grid following nothing.
      MainMenuForm->SalaryMaintain->DBGrid1->setDataSource(nullptr, {});
      reportBoth("pay_cycle_large_without_grid",
                 benchCycle(std::max(20, samples / 4), "991206", dialogs));
      bench::reportMemory();
    }
    bench::reportMachine();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pay-bench: %s\n", e.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(copy, ignored);
  return status;
}
