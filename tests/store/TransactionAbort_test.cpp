// A transaction that a failed write has ended stays ended: nothing after the failure runs, in
// the transaction or in autocommit mode, and its commit fails.

#include <gtest/gtest.h>

#include "support/FailingVfs.h"
#include "support/TestRows.h"
#include "store/Transaction.h"

using store::EngineError;
using testrows::thrownBy;

namespace {

TEST(TransactionAbortTest, AfterAFailedWriteEveryLaterStatementAndTheCommitFailAndNothingIsStored) {
  for (const auto& [sqliteCode, kind] : {std::pair{SQLITE_IOERR_WRITE, EngineError::Code::IoError},
                                         {SQLITE_FULL, EngineError::Code::DiskFull}}) {
    SCOPED_TRACE(sqliteCode);
    TestFolder folder;
    testrows::addEmployee(folder.session(), "000001", "Amy");
    FailingVfs vfs;
    store::Session s(folder.path());
    s.AddPassword(store::kTablePassword);
    store::Table basic(s, "basic.DB");
    {
      store::Transaction tx(s, {"basic.DB"});
      basic.Open();
      vfs.failWrite(1, sqliteCode);
      auto append = [&](const std::string& number) {
        return thrownBy([&] {
          basic.Append();
          basic.FieldByName("NUMBER").setText(number);
          basic.FieldByName("ACCOUNT").setText("1");
          basic.FieldByName("NAME").setText("X");
          basic.Post();
        });
      };
      const auto first = append("000002");
      ASSERT_TRUE(vfs.failed());
      EXPECT_EQ(first.code, kind);
      EXPECT_NE(first.message.find(s.resolve("basic.DB").string()), std::string::npos)
          << first.message;
      basic.Cancel();
      // The next rows, a read and the commit: each refused at once.
      EXPECT_EQ(append("000003").code, EngineError::Code::Aborted);
      basic.Cancel();
      EXPECT_EQ(thrownBy([&] { basic.First(); }).code, EngineError::Code::Aborted);
      EXPECT_EQ(thrownBy([&] { tx.commit(); }).code, EngineError::Code::Aborted);
    }
    basic.Close();
    EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NUMBER"), testrows::Texts{"000001"});
    // The session works again once the transaction is gone.
    testrows::addEmployee(s, "000004", "Dan");
    EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 2);
  }
}

}  // namespace
