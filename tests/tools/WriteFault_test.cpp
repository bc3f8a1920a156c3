// One failed write at every point of an operation over table files: the import of a CSV file,
// the renumbering and the deleting of an employee with his entries, the clearing, the purge and
// the backup and the restore of the clearing page, a change of user, and the transfer batch with
// its file text.
// For every n, the n-th write fails once (an I/O error, or a full disk); afterwards each table is
// either entirely as before or entirely as after the operation (byte for byte as before when it
// failed), no temporary file or journal is left in the folder, and the caller reports failure
// exactly when the tables are as before.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

#include "ImportFixture.h"
#include "employees/EmployeeRules.h"
#include "housekeeping/HousekeepingRules.h"
#include "store/BatchMove.h"
#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "support/FailingVfs.h"
#include "support/TestRows.h"
#include "tools/Commands.h"
#include "transfer/TransferBatch.h"
#include "users/UserRules.h"

namespace {

namespace fs = std::filesystem;

// Every row of each named file.
using Snapshot = std::map<std::string, std::vector<Row>>;

Snapshot snapshot(const fs::path& folder, const std::vector<std::string>& files) {
  Snapshot out;
  for (const auto& file : files) out[file] = rowsOf(folder, file);
  return out;
}

// The bytes of each named file, one after the other.
std::string bytesOf(const fs::path& folder, const std::vector<std::string>& files) {
  std::string bytes;
  for (const auto& file : files) bytes += TestFolder::readFile(folder / file) + "\n--\n";
  return bytes;
}

// The names of a folder's files; not the super-journals SQLite leaves after a failed commit
// of several files, which the next start removes (store/FolderCleanup_test.cpp).
std::vector<std::string> filesOtherThanSuperJournals(const fs::path& folder) {
  std::vector<std::string> names = TestFolder::filesIn(folder);
  std::erase_if(names,
                [](const std::string& name) { return name.find("-mj") != std::string::npos; });
  return names;
}

void copyFolder(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directory(to);
  for (const auto& e : fs::directory_iterator(from)) fs::copy(e.path(), to / e.path().filename());
}

struct Operation {
  const char* name;
  std::vector<std::string> files;  // the tables it changes
  // Runs it on a session over `folder`; returns whether it reports success (an EngineError
  // reports failure).
  std::function<bool(store::Session&, const fs::path& folder)> run;

  bool succeeds(store::Session& s, const fs::path& folder) const {
    try {
      return run(s, folder);
    } catch (const store::EngineError&) {
      return false;
    }
  }
};

// salary-admin import, run in this process; its report is kept out of the test's output.
bool importCsv(const fs::path& folder, const char* option, const char* csv) {
  std::ostringstream out, err;
  auto* oldOut = std::cout.rdbuf(out.rdbuf());
  auto* oldErr = std::cerr.rdbuf(err.rdbuf());
  const int status =
      admin::importCommand({"--data", folder.string(), option, (folder / csv).string()});
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  if (status != 0) {
    // One error for the failed write and the outcome, not one per row that followed it.
    const std::string text = err.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_NE(text.find("都沒有存入"), std::string::npos) << text;
  }
  return status == 0;
}

// One of the employee page's rules on employee `which`, the tables as the page holds them.
bool onEmployee(store::Session& s, const std::string& which,
                const std::function<void(store::Table& basic, store::Table& salary)>& rule) {
  store::Table basic(s, "basic.DB"), salary(s, "salary.DB");
  salary.Open();
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  if (!testrows::gotoKey(basic, "NUMBER", which)) return false;
  rule(basic, salary);
  return true;
}

// The clearing page's backup of salary.DB over an earlier one.
void backUpEntries(store::Session& s) {
  store::BatchMove move;
  store::Table source(s, "salary.DB"), destination(s);
  housekeeping::backup(move, source, destination, housekeeping::backupPair(1));
}

std::string number(int i) {
  std::string n = std::to_string(i);
  return std::string(6 - n.size(), '0') + n;
}

// A caller that goes on after a failed row and gives up only at the end, as the import once
// did: the engine alone then stands between a failed write and a half-stored file.
bool storeRowsPastFailures(store::Session& s) {
  store::Transaction tx(s, {"salary.DB"});
  store::Table salary(s, "salary.DB");
  salary.Open();
  int failures = 0;
  for (int k = 0; k < 200; ++k) {
    try {
      salary.Append();
      salary.FieldByName("NUMBER").setText(number(k % 30 + 1));
      salary.FieldByName("SENDDATE").setText("880501");
      salary.FieldByName("PAY").setNumber(k);
      salary.Post();
    } catch (const store::EngineError&) {
      ++failures;
      salary.Cancel();
    }
  }
  if (failures > 0) return false;
  tx.commit();
  return true;
}

class WriteFaultTest : public ::testing::Test {
 protected:
  // Thirty employees with two entries each, employee 000005 with 240 more, a batch of
  // February in temp.DB, two users, and the CSV files to import beside the tables.
  static void SetUpTestSuite() {
    prepared_ = new TestFolder;
    store::Session& s = prepared_->session();
    backUpEntries(s);  // an earlier backup, of no entries
    testrows::addUser(s, "admin", "admin");
    testrows::addUser(s, "clerk", "secret");
    {
      store::Transaction tx(s, {"basic.DB", "salary.DB"});
      for (int i = 1; i <= 30; ++i) {
        testrows::addEmployee(s, number(i), "員工" + std::to_string(i));
        for (const char* date : {"880205", "880305"})
          testrows::addEntry(s, number(i), date, 1000 + i, "");
      }
      for (int k = 0; k < 240; ++k)
        testrows::addEntry(s, "000005", k % 2 ? "880310" : "870101", k, "");
      tx.commit();
    }
    transfer::buildTransferBatch(s, "8802");
    std::string entries = "NUMBER,SENDDATE,PAY,SALARYITEM\n";
    for (int k = 0; k < 300; ++k) {
      entries += number(k % 30 + 1) + ",8804" + std::to_string(10 + k / 30) + "," +
                 std::to_string(k + 1) + ",薪水轉帳\n";
    }
    std::string employees = "NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO\n";
    for (int k = 100; k < 400; ++k) employees += number(k) + ",1,新人,,880101,,\n";
    std::ofstream(prepared_->path() / "entries.csv") << entries;
    std::ofstream(prepared_->path() / "employees.csv") << employees;
  }
  static void TearDownTestSuite() {
    delete prepared_;
    prepared_ = nullptr;
  }

  // Runs the operation with the n-th write failing, for every n until it makes fewer than n
  // writes; returns the number of tries.
  int sweep(const Operation& op) {
    const fs::path work = prepared_->path().string() + "-work";
    struct Remove {
      fs::path p;
      ~Remove() { fs::remove_all(p); }
    } remove{work};
    const Snapshot before = snapshot(prepared_->path(), op.files);
    copyFolder(prepared_->path(), work);
    {
      store::Session s(work);
      s.AddPassword(store::kTablePassword);
      EXPECT_TRUE(op.succeeds(s, work));
    }
    const Snapshot after = snapshot(work, op.files);
    EXPECT_NE(before, after);

    FailingVfs vfs;
    int tries = 0;
    for (int code : {SQLITE_IOERR_WRITE, SQLITE_FULL}) {
      for (int n = 1; n < 10000; ++n) {
        SCOPED_TRACE(testing::Message() << op.name << ": write " << n << " fails with " << code);
        copyFolder(prepared_->path(), work);
        bool reported;
        {
          store::Session s(work);
          s.AddPassword(store::kTablePassword);
          vfs.failWrite(n, code);
          failingWith_ = code;
          reported = op.succeeds(s, work);
        }
        const bool failed = vfs.failed();
        vfs.failWrite(0, SQLITE_OK);
        failingWith_ = SQLITE_OK;
        const Snapshot now = snapshot(work, op.files);
        ++tries;
        EXPECT_EQ(filesOtherThanSuperJournals(work),
                  filesOtherThanSuperJournals(prepared_->path()));
        EXPECT_TRUE(now == before || now == after);
        EXPECT_EQ(reported, now == after);
        if (!reported) {
          EXPECT_EQ(bytesOf(work, op.files), bytesOf(prepared_->path(), op.files));
        }
        if (!failed) break;
      }
    }
    return tries;
  }

  static TestFolder* prepared_;
  static int failingWith_;  // the code of the write failing now
};

TestFolder* WriteFaultTest::prepared_ = nullptr;
int WriteFaultTest::failingWith_ = SQLITE_OK;

TEST_F(WriteFaultTest, EveryFailedWriteLeavesTheTablesWholeOldOrWholeNewAndSaysWhich) {
  const Operation operations[] = {
      {"import of entries",
       {"salary.DB"},
       [](store::Session&, const fs::path& folder) {
         return importCsv(folder, "--entries", "entries.csv");
       }},
      {"import of employees",
       {"basic.DB"},
       [](store::Session&, const fs::path& folder) {
         return importCsv(folder, "--employees", "employees.csv");
       }},
      {"rows stored past failures",
       {"salary.DB"},
       [](store::Session& s, const fs::path&) { return storeRowsPastFailures(s); }},
      {"renumbering",
       {"basic.DB", "salary.DB"},
       [](store::Session& s, const fs::path&) {
         return onEmployee(s, "000005", [](store::Table& basic, store::Table& salary) {
           basic.Edit();
           basic.FieldByName("NUMBER").setText("000999");
           employees::renumberEmployee(basic, salary, "000005", "000999");
         });
       }},
      {"deleting with entries",
       {"basic.DB", "salary.DB"},
       [](store::Session& s, const fs::path&) {
         return onEmployee(s, "000005", employees::deleteEmployee);
       }},
      {"clearing both tables",
       {"basic.DB", "salary.DB"},
       [](store::Session& s, const fs::path&) {
         store::Table basic(s, "basic.DB"), salary(s, "salary.DB");
         basic.Open();
         salary.Open();
         housekeeping::clearTables(basic, salary, housekeeping::ClearChoice::EmployeesAndEntries);
         return true;
       }},
      {"purge 8801~8812",
       {"salary.DB"},
       [](store::Session& s, const fs::path&) {
         return housekeeping::purgeMonths(s, "8801", "8812") == 180;
       }},
      {"backup copy",
       {"salary_bk.db"},
       [](store::Session& s, const fs::path&) {
         const auto thrown = testrows::thrownBy([&] { backUpEntries(s); });
         // A full disk is told as such, for the clerk to make room.
         if (thrown.code && failingWith_ == SQLITE_FULL) {
           EXPECT_EQ(*thrown.code, store::EngineError::Code::DiskFull) << thrown.message;
         }
         return !thrown.code;
       }},
      {"restore of the entries",
       {"salary.DB"},
       [](store::Session& s, const fs::path&) {
         housekeeping::restoreTable(s, 1);  // the earlier backup, of no entries
         return true;
       }},
      {"change of user",
       {"pass.DB"},
       [](store::Session& s, const fs::path&) {
         store::Table oldTable(s, "pass.DB"), newTable(s, "pass.DB");
         return users::changeUser(oldTable, newTable, "admin", "boss", "pw", "pw") ==
                users::UserOutcome::Done;
       }},
      {"transfer batch and text",
       {"temp.DB"},
       [](store::Session& s, const fs::path&) {
         return transfer::buildTransferBatchAndText(s, "8803").records == 150;
       }},
  };
  for (const auto& op : operations) {
    const int tries = sweep(op);
    // Enough writes that the faults fall inside the operation, not only at its commit.
    EXPECT_GT(tries, 10) << op.name;
    std::cout << "[ fault    ] " << op.name << ": " << tries << " tries\n";
  }
}

}  // namespace
