// The change dialog: both codes looked up before any test, refusals that change nothing, and a
// replacement that is whole or not made.

#include "UserFixture.h"
#include "store/EngineError.h"

namespace {

class ChangeUser : public UserFixture {
 protected:
  ChangeUser() { folder.addUser("clerk", "secret"); }
  const std::vector<std::string> before = {"admin admin", "clerk secret"};
};

TEST_F(ChangeUser, RefusalsAreToldInTheirOrderAndChangeNothing) {
  const struct {
    const char* oldCode;
    const char* newCode;
    const char* password;
    const char* again;
    QString message;
  } cases[] = {
      {"nobody", "clerk", "n", "n", kUnknownCode},  // even when the new code exists
      {"Admin", "boss", "n", "n", kUnknownCode},   {"", "boss", "n", "n", kUnknownCode},
      {"admin", "admin", "n", "n", kCodeExists},  // a change to itself
      {"admin", "clerk", "n", "n", kCodeExists},   {"admin", "boss", "n", "N", kPasswordsDiffer},
      {"admin", "", "n", "n", kEmptyEntry},        {"admin", "boss", "", "", kEmptyEntry},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.oldCode + std::string(" -> ") + c.newCode);
    dialogs.clear();
    change(c.oldCode, c.newCode, c.password, c.again);
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(users(), before);
    EXPECT_FALSE(changer.isVisible());
    EXPECT_EQ(boxes(changer), "|||");
  }
}

TEST_F(ChangeUser, OldCodeNoLongerLogsInAndTheNewOneDoesWithTheNewPasswordOnly) {
  change("admin", "boss", "NewPw", "NewPw");
  EXPECT_EQ(dialogs.texts(), QStringList{kChanged});
  EXPECT_EQ(users(), (std::vector<std::string>{"boss NewPw", "clerk secret"}));
  EXPECT_EQ(boxes(changer), "|||");
  EXPECT_FALSE(logsIn("admin", "admin"));
  EXPECT_FALSE(logsIn("boss", "admin"));
  EXPECT_TRUE(logsIn("boss", "NewPw"));
}

TEST_F(ChangeUser, TextTheTableCannotHoldIsRefusedBeforeTheOldRowIsTouched) {
  // Typing refuses these; text put into the boxes otherwise must still change nothing.
  for (const char* newCode : {"한국", "王小明五六"}) {
    SCOPED_TRACE(newCode);
    dialogs.clear();
    change("admin", newCode, "n", "n");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("USERID"));
    EXPECT_EQ(users(), before);
    EXPECT_TRUE(changer.isVisible());  // left open with what was typed
    EXPECT_EQ(changer.ChangeNewUserEdit->text(), QString::fromUtf8(newCode));
  }
}

}  // namespace
