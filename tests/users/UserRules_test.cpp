// A change of user refused before it starts, and under a failed write at every point: pass.DB
// keeps the old user or holds the new one, never neither, and the caller is told which.

#include <gtest/gtest.h>

#include "store/EngineError.h"
#include "store/Table.h"
#include "support/FailingVfs.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"
#include "users/UserRules.h"

namespace {

TEST(ChangeUserRule, TextPassDbCannotHoldIsRefusedBeforeTheOldRowIsTouched) {
  TestFolder folder;
  folder.addUser("admin", "admin");
  store::Table oldTable(folder.session(), "pass.DB"), newTable(folder.session(), "pass.DB");
  for (const char* newCode : {"한국", "王小明五六"}) {  // not code page 950; ten bytes
    const auto thrown = testrows::thrownBy(
        [&] { users::changeUser(oldTable, newTable, "admin", newCode, "n", "n"); });
    EXPECT_EQ(thrown.code, store::EngineError::Code::InvalidValue) << newCode;
    EXPECT_EQ(testrows::fileColumn(folder.session(), "pass.DB", "USERID PASSWORD"),
              std::vector<std::string>{"admin admin"});
  }
}

TEST(ChangeUserRule, EveryFailedWriteLeavesTheOldUserOrTheNewOneAndSaysWhich) {
  const std::vector<std::string> before = {"admin admin", "clerk secret"};
  const std::vector<std::string> after = {"boss pw", "clerk secret"};
  FailingVfs vfs;
  int failures = 0;
  for (int code : {SQLITE_IOERR_WRITE, SQLITE_FULL}) {
    for (int n = 1; n < 200; ++n) {
      SCOPED_TRACE(testing::Message() << "write " << n << " fails with " << code);
      TestFolder folder;
      folder.addUser("admin", "admin");
      folder.addUser("clerk", "secret");
      bool reported = false;
      {
        store::Session session(folder.path());
        session.AddPassword(store::kTablePassword);
        store::Table oldTable(session, "pass.DB"), newTable(session, "pass.DB");
        vfs.failWrite(n, code);
        try {
          EXPECT_EQ(users::changeUser(oldTable, newTable, "admin", "boss", "pw", "pw"),
                    users::UserOutcome::Done);
        } catch (const store::EngineError&) {
          reported = true;
        }
      }
      const bool failed = vfs.failed();
      vfs.failWrite(0, SQLITE_OK);
      const auto rows = testrows::fileColumn(folder.session(), "pass.DB", "USERID PASSWORD");
      EXPECT_EQ(rows, reported ? before : after);
      failures += reported;
      if (!failed) break;
    }
  }
  EXPECT_GT(failures, 0);
}

}  // namespace
