// A change of user refused before it starts (a failed write at every point of it:
// tools/WriteFault_test.cpp).

#include <gtest/gtest.h>

#include "store/EngineError.h"
#include "store/Table.h"
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

}  // namespace
