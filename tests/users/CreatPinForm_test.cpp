// The add dialog: its messages in their order of tests, what it stores, and its boxes afterwards.

#include "UserFixture.h"

namespace {

using AddUser = UserFixture;

TEST_F(AddUser, EachEntryGetsItsMessageAndOnlyAFreeCodeWithEqualPasswordsIsStored) {
  const std::vector<std::string> before = {"admin admin"};
  const std::vector<std::string> after = {"Admin Pw", "admin admin"};
  const struct {
    const char* code;
    const char* password;
    const char* again;
    QString message;
    std::vector<std::string> rows;
  } cases[] = {
      {"admin", "x", "x", kCodeExists, before},
      {"admin", "", "", kCodeExists, before},  // the code is tested first
      {"clerk", "abc", "abC", kPasswordsDiffer, before},
      {"", "", "x", kPasswordsDiffer, before},
      {"", "abc", "abc", kEmptyEntry, before},
      {"clerk", "", "", kEmptyEntry, before},
      {"Admin", "Pw", "Pw", kAdded, after},  // letter case makes another user
  };
  bool shownWhileOpen = false;
  QString boxesWhileShown;
  dialogs.onShown([&](const auto&) {
    shownWhileOpen = creat.isVisible();
    boxesWhileShown = boxes(creat);
  });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code + std::string("/") + c.password + "/" + c.again);
    dialogs.clear();
    add(c.code, c.password, c.again);
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(users(), c.rows);
    EXPECT_FALSE(creat.isVisible());
    EXPECT_EQ(boxes(creat), "||");
    // A refusal is shown over the dialog; success only once it has closed empty.
    EXPECT_EQ(shownWhileOpen, c.message != kAdded);
    EXPECT_EQ(boxesWhileShown == "||", c.message == kAdded);
  }
  EXPECT_TRUE(logsIn("Admin", "Pw"));
}

TEST_F(AddUser, ChineseCodeAndPasswordOfFourCharactersAreStoredAndLogIn) {
  add("王小明五", "密碼密碼", "密碼密碼");
  EXPECT_EQ(dialogs.texts(), QStringList{kAdded});
  EXPECT_TRUE(logsIn("王小明五", "密碼密碼"));
}

}  // namespace
