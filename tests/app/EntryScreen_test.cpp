// The entry screen: "進入系統" opens the login and empties the transfer batch afterwards,
// whatever the outcome; "退出本系統" and the close box end the program.

#include <QSignalSpy>
#include <QTest>

#include "support/ProgramFixture.h"

namespace {

class EntryScreen : public ProgramFixture {
 protected:
  EntryScreen() {
    folder.addUser("admin", "admin");
    start();
  }
};

TEST_F(EntryScreen, EnterOnTheFocusedEnterSystemOpensTheLoginDialog) {
  MainForm->show();
  EXPECT_EQ(MainForm->focusWidget(), MainForm->EntrySystemBitBtn1);
  EXPECT_EQ(MainForm->EntrySystemBitBtn1->geometry(), QRect(520, 400, 113, 57));
  EXPECT_EQ(MainForm->ExitSystemBitBtn1->geometry(), QRect(8, 400, 121, 57));
  bool loginShown = false;
  whileLoginOpen([&] { loginShown = PinForm->isVisible() && PinForm->isModal(); });
  QTest::keyClick(MainForm->EntrySystemBitBtn1, Qt::Key_Return);
  EXPECT_TRUE(loginShown);
}

TEST_F(EntryScreen, CancelledRefusedAndSuccessfulLoginsAllEmptyTheTransferBatch) {
  const struct {
    const char* name;
    QString code, password;  // no code: 取消
    bool mainWindow;
    QStringList messages;
  } cases[] = {
      {"cancel", {}, {}, false, {}},
      {"refused", "admin", {}, false, {QStringLiteral("密碼輸入錯誤,請確認後重新輸入!! ")}},
      {"accepted", "admin", "admin", true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.clear();
    folder.addTempRow("000001");
    if (c.code.isEmpty()) {
      whileLoginOpen([] { PinForm->BitBtn2->press(); });
      MainForm->EntrySystemBitBtn1->press();
    } else {
      logIn(c.code, c.password);
    }
    EXPECT_EQ(folder.rows("temp.DB"), 0);
    EXPECT_EQ(MainMenuForm->isVisible(), c.mainWindow);
    EXPECT_EQ(dialogs.texts(), c.messages);
  }
}

TEST_F(EntryScreen, ExitButtonAndCloseBoxEndTheProgramWithoutAQuestion) {
  for (const auto& leave : std::initializer_list<std::function<void()>>{
           [] { MainForm->ExitSystemBitBtn1->press(); }, [] { MainForm->close(); }}) {
    MainForm->show();
    QSignalSpy ended(MainForm, &TMainForm::programEnded);
    leave();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(MainForm->isVisible());
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

// Wrong passwords never count, and a successful login in between does not reset the count.
TEST_F(EntryScreen, FourthLoginAfterThreeUnknownCodesEndsTheProgram) {
  MainForm->show();
  QSignalSpy ended(MainForm, &TMainForm::programEnded);
  for (int i = 0; i < 5; ++i) logIn("admin", "wrong");
  logIn("nobody", "x");
  logIn("nobody", "x");
  logIn("admin", "admin");
  ASSERT_TRUE(MainMenuForm->isVisible());
  MainMenuForm->hide();  // back to the entry screen
  logIn("nobody", "x");
  EXPECT_EQ(ended.count(), 0);
  logIn("admin", "admin");
  EXPECT_EQ(ended.count(), 1);
  EXPECT_FALSE(MainForm->isVisible());
  EXPECT_FALSE(MainMenuForm->isVisible());
  EXPECT_EQ(dialogs.texts().last(), QStringLiteral("錯誤次數超過限制,請確認後再重新輸入!! "));
}

TEST_F(EntryScreen, FailureToEmptyTheBatchIsReportedAndTheProgramGoesOn) {
  std::filesystem::remove(folder.path() / "temp.DB");
  whileLoginOpen([] { PinForm->BitBtn2->press(); });
  MainForm->EntrySystemBitBtn1->press();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
  bool loginShownAgain = false;
  whileLoginOpen([&] { loginShownAgain = PinForm->isVisible(); });
  MainForm->EntrySystemBitBtn1->press();
  EXPECT_TRUE(loginShownAgain);
}

}  // namespace
