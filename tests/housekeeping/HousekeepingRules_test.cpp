// The clearing, the purge and the backup when a write fails at any point: each leaves every file
// as it was and says so, or is done entirely.

#include <gtest/gtest.h>

#include <functional>

#include "housekeeping/HousekeepingRules.h"
#include "store/BatchMove.h"
#include "store/Transaction.h"
#include "support/FailingVfs.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"

namespace {

using Code = store::EngineError::Code;

struct Operation {
  const char* name;
  std::function<void(store::Session&)> run;
  std::vector<std::string> files;    // what it writes
  std::vector<long long> rowsAfter;  // rows of those files once it is done
};

TEST(HousekeepingFaults, EveryFailedWriteLeavesTheFilesAsTheyWere) {
  const Operation operations[] = {
      {"clearing both tables",
       [](store::Session& s) {
         store::Table basic(s, "basic.DB"), salary(s, "salary.DB");
         basic.Open();
         salary.Open();
         housekeeping::clearTables(basic, salary, housekeeping::ClearChoice::EmployeesAndEntries);
       },
       {"basic.DB", "salary.DB"},
       {0, 0}},
      {"purge 8801~8812",
       [](store::Session& s) { housekeeping::purgeMonths(s, "8801", "8812"); },
       {"salary.DB"},
       {40}},
      {"backup over an earlier one",
       [](store::Session& s) {
         store::BatchMove move;
         store::Table source(s, "salary.DB"), destination(s);
         housekeeping::backup(move, source, destination, housekeeping::backupPair(1));
       },
       {"salary_bk.db"},
       {80}},
  };
  FailingVfs vfs;
  for (const auto& op : operations) {
    int failures = 0;
    for (int code : {SQLITE_IOERR_WRITE, SQLITE_FULL}) {
      for (int n = 1; n < 400; ++n) {
        SCOPED_TRACE(testing::Message() << op.name << ": write " << n << " fails with " << code);
        TestFolder folder;
        store::Session& s = folder.session();
        {
          // An earlier backup, of no entries, and then the rows.
          store::BatchMove move;
          store::Table source(s, "salary.DB"), destination(s);
          housekeeping::backup(move, source, destination, housekeeping::backupPair(1));
          store::Transaction tx(s, {"basic.DB", "salary.DB"});
          for (int e = 11; e <= 30; ++e) {
            const std::string number = "0000" + std::to_string(e);
            testrows::addEmployee(s, number, "員工");
            for (const char* date : {"871205", "880105", "880605", "881205"})
              testrows::addEntry(s, number, date, 1000 + e, "薪水轉帳");
          }
          tx.commit();
        }
        std::string before;
        for (const auto& f : op.files) before += TestFolder::readFile(folder.path() / f);

        testrows::Thrown thrown;
        {
          store::Session other(folder.path());
          other.AddPassword(store::kTablePassword);
          vfs.failWrite(n, code);
          thrown = testrows::thrownBy([&] { op.run(other); });
        }
        const bool failed = vfs.failed();
        vfs.failWrite(0, SQLITE_OK);
        if (thrown.code) {
          ++failures;
          std::string after;
          for (const auto& f : op.files) after += TestFolder::readFile(folder.path() / f);
          EXPECT_TRUE(after == before);
          if (code == SQLITE_FULL && std::string(op.name).starts_with("backup")) {
            EXPECT_EQ(*thrown.code, Code::DiskFull) << thrown.message;
          }
        } else {
          for (size_t i = 0; i < op.files.size(); ++i)
            EXPECT_EQ(folder.rows(op.files[i]), op.rowsAfter[i]) << op.files[i];
        }
        EXPECT_TRUE(TestFolder::filesIn(folder.path(), ".copy-").empty());
        if (!failed) break;
      }
    }
    EXPECT_GT(failures, 1) << op.name;
  }
}

}  // namespace
