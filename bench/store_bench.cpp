// store-bench: times the table engine's moves and searches on tables of a realistic size.
//
//   store-bench --employees 50000 --entries 1400000 --data /tmp/bench-large [--samples 2000]
//
// Creates the five live tables in the folder when absent and fills basic.DB and salary.DB with
// the deterministic test data (kept for later runs: a folder that already holds the requested
// data is reused). Then prints one line per operation,
//   BENCH <name> median_us=<x> p99_us=<y> samples=<n>
// the peak memory of the process and the machine it ran on. Positions are random but seeded,
// so two runs on one folder do the same work.

#include <sys/resource.h>
#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/DataGenerator.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"

namespace {

using bench::report;
using bench::timeUs;

struct Options {
  bench::DataSize size;
  std::filesystem::path folder;
  int samples = 2000;
};

// Keeps the values read in timed sections alive, so that reading them is part of the work.
volatile std::size_t gSink = 0;

std::string employeeNumber(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06d", i);
  return buf;
}

// Seeded positions: the same sequence on every run.
class Positions {
 public:
  explicit Positions(int employees) : employees_(employees) {}
  int employee() { return std::uniform_int_distribution<int>(1, employees_)(rng_); }
  std::string number() { return employeeNumber(employee()); }

 private:
  int employees_;
  std::mt19937 rng_{20240601};
};

bool gotoNumber(store::Table& table, const std::string& number) {
  table.SetKey();
  table.FieldByName("NUMBER").setText(number);
  return table.GotoKey();
}

// ---- data ----------------------------------------------------------------------------------

long long rowCount(store::Session& session, const char* fileName) {
  store::Table table(session, fileName);
  table.Open();
  return table.RecordCount();
}

void prepareData(store::Session& session, const Options& opt) {
  for (const store::LiveTable& t : store::liveTables())
    if (!session.exists(t.fileName)) session.createTable(t.fileName, t.schema);

  const long long employees = rowCount(session, "basic.DB");
  const long long entries = rowCount(session, "salary.DB");
  if (employees == opt.size.employees && entries == opt.size.entries) {
    std::printf("BENCH generate reused employees=%lld entries=%lld\n", employees, entries);
    return;
  }
  if (employees != 0 || entries != 0) {
    std::printf("# the folder holds %lld employees and %lld entries: generating afresh\n",
                employees, entries);
    store::Table(session, "basic.DB").EmptyTable();
    store::Table(session, "salary.DB").EmptyTable();
  }

  const double seconds = timeUs([&] { bench::generate(session, opt.size); }) / 1e6;
  const double rows = static_cast<double>(opt.size.employees + opt.size.entries);
  std::printf("BENCH generate employees=%d entries=%lld seconds=%.1f rows_per_s=%.0f\n",
              opt.size.employees, opt.size.entries, seconds, rows / seconds);
  std::fflush(stdout);
}

// Month `index` counted from 8701, on day 05, as the generator deals out entries.
std::string sendDate(int index) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d05", 87 + index / 12, index % 12 + 1);
  return buf;
}

// ---- employee table ------------------------------------------------------------------------

void benchOpen(store::Session& session, const Options& opt) {
  store::Table basic(session, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  store::Field name = basic.FieldByName("NAME");
  std::vector<double> us;
  const int n = std::max(50, opt.samples / 4);
  for (int i = 0; i < n + 5; ++i) {
    const double t = timeUs([&] {
      basic.Open();
      basic.First();
      gSink = gSink + name.text().size();
    });
    if (i >= 5) us.push_back(t);
    basic.Close();
  }
  report("open+first", us);
}

// Each round starts at a random employee (not timed) and times a few single steps from there.
template <class Step>
void benchSteps(const std::string& label, store::Table& table, store::Field& shown, Positions& pos,
                int samples, int stepsPerRound, Step step) {
  std::vector<double> us;
  for (int round = 0; static_cast<int>(us.size()) < samples; ++round) {
    gotoNumber(table, pos.number());
    for (int k = 0; k < stepsPerRound; ++k) {
      const double t = timeUs([&] {
        step();
        gSink = gSink + shown.text().size();
      });
      if (round > 0) us.push_back(t);
    }
  }
  report(label, us);
}

void benchEmployeeMoves(store::Session& session, const Options& opt) {
  store::Table basic(session, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  store::Field name = basic.FieldByName("NAME");
  Positions pos(opt.size.employees);

  benchSteps("next", basic, name, pos, opt.samples, 4, [&] { basic.Next(); });
  benchSteps("prior", basic, name, pos, opt.samples, 4, [&] { basic.Prior(); });
  benchSteps("first", basic, name, pos, opt.samples, 1, [&] { basic.First(); });
  benchSteps("last", basic, name, pos, opt.samples, 1, [&] { basic.Last(); });

  std::vector<double> hit, miss;
  int found = 0;
  for (int i = 0; i < opt.samples + 10; ++i) {
    const std::string number = pos.number();
    bool ok = false;
    const double t = timeUs([&] {
      ok = gotoNumber(basic, number);
      gSink = gSink + name.text().size();
    });
    found += ok ? 1 : 0;
    if (i >= 10) hit.push_back(t);
  }
  if (found != opt.samples + 10) throw std::runtime_error("GotoKey missed an existing employee");
  for (int i = 0; i < opt.samples / 4 + 10; ++i) {
    const std::string number = employeeNumber(opt.size.employees + 1 + i);
    bool ok = true;
    const double t = timeUs([&] { ok = gotoNumber(basic, number); });
    if (ok) throw std::runtime_error("GotoKey found an employee that does not exist");
    if (i >= 10) miss.push_back(t);
  }
  report("gotokey", hit);
  report("gotokey.miss", miss);
}

// Locate in NUMBER order, as the employee search does, with a prefix taken from the value of a
// random employee (so that it matches) or with a fixed text that matches nobody.
struct LocateCase {
  const char* label;
  const char* field;
  std::size_t prefixBytes;  // of the UTF-8 value; 0 for the whole value
  const char* fixedText;    // used instead of a prefix when set
  unsigned options;
};

const LocateCase kLocateCases[] = {
    // A surname and the first character of a given name (three bytes each in UTF-8).
    {"locate.name", "NAME", 6, nullptr, store::PartialKey},
    // A surname alone: about one employee in fifty.
    {"locate.surname", "NAME", 3, nullptr, store::PartialKey},
    {"locate.name.miss", "NAME", 0, "無名", store::PartialKey},
    {"locate.name.nocase.miss", "NAME", 0, "無名", store::PartialKey | store::CaseInsensitive},
    {"locate.account", "ACCOUNT", 10, nullptr, store::PartialKey},
    {"locate.id", "ID", 0, nullptr, store::PartialKey},
};

void benchLocate(store::Session& session, const Options& opt) {
  store::Table basic(session, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  Positions pos(opt.size.employees);
  const int n = std::max(50, opt.samples / 4);

  for (const LocateCase& c : kLocateCases) {
    std::vector<double> us;
    for (int i = 0; i < n + 5; ++i) {
      std::string text;
      if (c.fixedText) {
        text = c.fixedText;
      } else {
        // Employees without an ID would give an empty text, which matches every row.
        do {
          gotoNumber(basic, pos.number());
          text = basic.FieldByName(c.field).text();
        } while (text.empty());
        if (c.prefixBytes > 0) text = text.substr(0, c.prefixBytes);
      }
      gotoNumber(basic, pos.number());
      bool found = false;
      const double t = timeUs([&] { found = basic.Locate(c.field, text, c.options); });
      if (found != (c.fixedText == nullptr))
        throw std::runtime_error(std::string("Locate ") + c.field + " \"" + text + "\" " +
                                 (found ? "found" : "did not find") + " a row");
      if (i >= 5) us.push_back(t);
    }
    report(c.label, us);
  }
}

// ---- employee with its pay entries --------------------------------------------------------

void benchFollow(store::Session& session, const Options& opt) {
  store::Table basic(session, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  store::Table salary(session, "salary.DB");
  salary.SetIndexFieldNames("NUMBER");
  salary.SetMasterSource(&basic, "NUMBER");
  basic.Open();
  salary.Open();
  store::Field name = basic.FieldByName("NAME");
  store::Field date = salary.FieldByName("SENDDATE");
  store::Field pay = salary.FieldByName("PAY");
  Positions pos(opt.size.employees);

  // Half the moves jump to a random employee, half step to the next one.
  std::vector<double> follow;
  for (int i = 0; i < opt.samples + 10; ++i) {
    const std::string number = pos.number();
    const double t = timeUs([&] {
      if (i % 2 == 0) {
        gotoNumber(basic, number);
      } else {
        basic.Next();
      }
      gSink =
          gSink + name.text().size() + date.text().size() + static_cast<std::size_t>(pay.number());
    });
    if (i >= 10) follow.push_back(t);
  }
  report("follow", follow);

  std::vector<double> count;
  const long long perEmployee = opt.size.entries / opt.size.employees;
  for (int i = 0; i < opt.samples + 10; ++i) {
    gotoNumber(basic, pos.number());
    long long rows = 0;
    const double t = timeUs([&] { rows = salary.RecordCount(); });
    if (rows < perEmployee || rows > perEmployee + 1)
      throw std::runtime_error("detail row count " + std::to_string(rows) + " is wrong");
    if (i >= 10) count.push_back(t);
  }
  report("detail.count", count);
}

// ---- pay entries ---------------------------------------------------------------------------

void benchEntryMoves(store::Session& session, const Options& opt) {
  const int months = static_cast<int>(opt.size.entries / opt.size.employees);
  if (months < 1) return;
  store::Table salary(session, "salary.DB");
  salary.SetIndexFieldNames("NUMBER");
  salary.Open();
  store::Field pay = salary.FieldByName("PAY");
  Positions pos(opt.size.employees);
  std::mt19937 monthRng(7);
  auto randomEntry = [&] {
    salary.SetKey();
    salary.FieldByName("NUMBER").setText(pos.number());
    salary.FieldByName("SENDDATE")
        .setText(sendDate(std::uniform_int_distribution<int>(0, months - 1)(monthRng)));
  };

  std::vector<double> hit;
  for (int i = 0; i < opt.samples + 10; ++i) {
    randomEntry();
    bool ok = false;
    const double t = timeUs([&] {
      ok = salary.GotoKey();
      gSink = gSink + static_cast<std::size_t>(pay.number());
    });
    if (!ok) throw std::runtime_error("GotoKey missed an existing pay entry");
    if (i >= 10) hit.push_back(t);
  }
  report("entries.gotokey", hit);

  auto steps = [&](const std::string& label, int perRound, auto step) {
    std::vector<double> us;
    for (int round = 0; static_cast<int>(us.size()) < opt.samples; ++round) {
      randomEntry();
      salary.GotoKey();
      for (int k = 0; k < perRound; ++k) {
        const double t = timeUs([&] {
          step();
          gSink = gSink + static_cast<std::size_t>(pay.number());
        });
        if (round > 0) us.push_back(t);
      }
    }
    report(label, us);
  };
  steps("entries.next", 4, [&] { salary.Next(); });
  steps("entries.prior", 4, [&] { salary.Prior(); });
  steps("entries.last", 1, [&] { salary.Last(); });
}

// Six months of every employee: "8801" to "8807" keeps 8801..8806 (a prefix sorts first).
void benchRange(store::Session& session, const Options& opt) {
  store::Table salary(session, "salary.DB");
  salary.SetIndexFieldNames("SENDDATE");
  salary.Open();
  store::Field date = salary.FieldByName("SENDDATE");
  const int n = std::max(20, opt.samples / 50);
  std::vector<double> us;
  long long rows = 0;
  for (int i = 0; i < n + 2; ++i) {
    salary.CancelRange();
    const double t = timeUs([&] {
      salary.SetRangeStart();
      date.setText("8801");
      salary.SetRangeEnd();
      date.setText("8807");
      salary.ApplyRange();
      rows = salary.RecordCount();
    });
    if (i >= 2) us.push_back(t);
  }
  report("range6.apply+count", us);
  std::printf("# range 8801..8807 holds %lld entries\n", rows);

  std::vector<double> steps;
  salary.First();
  for (int i = 0; i < opt.samples && !salary.Eof(); ++i) {
    steps.push_back(timeUs([&] {
      salary.Next();
      gSink = gSink + date.text().size();
    }));
  }
  report("range6.next", steps);
}

// ---- EmptyTable ----------------------------------------------------------------------------

constexpr int kScratchRows = 100000;

void fillScratch(store::Session& session) {
  store::Transaction tx(session, {"scratch.DB"});
  {
    store::Table scratch(session, "scratch.DB");
    scratch.Open();
    store::Field number = scratch.FieldByName("NUMBER");
    store::Field date = scratch.FieldByName("SENDDATE");
    store::Field pay = scratch.FieldByName("PAY");
    store::Field item = scratch.FieldByName("SALARYITEM");
    for (int i = 0; i < kScratchRows; ++i) {
      scratch.Append();
      number.setText(employeeNumber(i / 25 + 1));
      date.setText(sendDate(i % 25));
      pay.setNumber(30000 + i % 1000);
      item.setText("薪水轉帳");
      scratch.Post();
    }
    scratch.Close();
  }
  tx.commit();
}

void benchEmptyTable(store::Session& session, int repeats) {
  session.createTable("scratch.DB", store::salarySchema());
  std::vector<double> fill, empty;
  for (int i = 0; i < repeats; ++i) {
    fill.push_back(timeUs([&] { fillScratch(session); }));
    store::Table scratch(session, "scratch.DB");
    empty.push_back(timeUs([&] { scratch.EmptyTable(); }));
    scratch.Open();
    if (!scratch.IsEmpty()) throw std::runtime_error("EmptyTable left rows in scratch.DB");
  }
  report("emptytable100k", empty);
  std::sort(fill.begin(), fill.end());
  std::printf("# filling scratch.DB with %d rows took %.2f s (median of %d)\n", kScratchRows,
              fill[fill.size() / 2] / 1e6, repeats);
}

// ---- machine -------------------------------------------------------------------------------

// ---- command line --------------------------------------------------------------------------

[[noreturn]] void usage(const char* message) {
  std::fprintf(stderr,
               "store-bench: %s\n"
               "usage: store-bench --employees N --entries M --data DIR [--samples K] "
               "[--variant N]\n",
               message);
  std::exit(2);
}

Options parseArguments(int argc, char** argv) {
  Options opt;
  bool haveEmployees = false, haveEntries = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) usage(("missing value after " + arg).c_str());
    const char* value = argv[++i];
    char* end = nullptr;
    const long long number = std::strtoll(value, &end, 10);
    const bool numeric = end != value && *end == '\0';
    if (arg == "--data") {
      opt.folder = value;
    } else if (!numeric) {
      usage(("not a number: " + std::string(value)).c_str());
    } else if (arg == "--employees") {
      opt.size.employees = static_cast<int>(number);
      haveEmployees = true;
    } else if (arg == "--entries") {
      opt.size.entries = number;
      haveEntries = true;
    } else if (arg == "--samples") {
      opt.samples = static_cast<int>(number);
    } else if (arg == "--variant") {
      opt.size.variant = static_cast<std::uint32_t>(number);
    } else {
      usage(("unknown option " + arg).c_str());
    }
  }
  if (!haveEmployees || !haveEntries || opt.folder.empty())
    usage("--employees, --entries and --data are required");
  if (opt.size.employees < 1 || opt.size.employees > 999999)
    usage("--employees must be between 1 and 999999");
  if (opt.size.entries < opt.size.employees)
    usage("--entries must be at least --employees (every employee needs an entry)");
  if (opt.samples < 100) usage("--samples must be at least 100");
  return opt;
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parseArguments(argc, argv);
  try {
    std::filesystem::create_directories(opt.folder);
    std::filesystem::remove(opt.folder / "scratch.DB");
    {
      store::Session session(opt.folder);
      session.AddPassword(store::kTablePassword);
      prepareData(session, opt);
      std::printf("# employees=%d entries=%lld samples=%d folder=%s\n", opt.size.employees,
                  opt.size.entries, opt.samples, opt.folder.c_str());
      benchOpen(session, opt);
      benchEmployeeMoves(session, opt);
      benchLocate(session, opt);
      benchFollow(session, opt);
      benchEntryMoves(session, opt);
      benchRange(session, opt);
      benchEmptyTable(session, 5);
    }
    std::filesystem::remove(opt.folder / "scratch.DB");
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "store-bench: %s\n", e.what());
    return 1;
  }
  bench::reportMemory();
  bench::reportMachine();
  return 0;
}
