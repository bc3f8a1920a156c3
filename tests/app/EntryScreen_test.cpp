// The entry screen: "進入系統" opens the login and empties the transfer batch afterwards,
// whatever the outcome; "退出本系統" and the close box end the program.

#include <QSignalSpy>
#include <QTest>

#include "ProgramFixture.h"

namespace {

using EntryScreen = ProgramTest;

TEST_F(EntryScreen, ShowsCaptionAndHasTheFocusOnEnterSystem) {
  ASSERT_TRUE(program);
  MainForm->show();
  EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Ravek-人事薪資管理系統"));
  EXPECT_EQ(MainForm->focusWidget(), MainForm->EntrySystemBitBtn1);
  EXPECT_EQ(MainForm->EntrySystemBitBtn1->text(), QStringLiteral("進入系統"));
  EXPECT_EQ(MainForm->ExitSystemBitBtn1->text(), QStringLiteral("退出本系統"));
  EXPECT_EQ(MainForm->EntrySystemBitBtn1->geometry(), QRect(520, 400, 113, 57));
  EXPECT_EQ(MainForm->ExitSystemBitBtn1->geometry(), QRect(8, 400, 121, 57));
}

TEST_F(EntryScreen, EnterOpensTheLoginDialog) {
  MainForm->show();
  bool loginShown = false;
  whileLoginOpen([&] { loginShown = PinForm->isVisible() && PinForm->isModal(); });
  QTest::keyClick(MainForm->EntrySystemBitBtn1, Qt::Key_Return);
  EXPECT_TRUE(loginShown);
}

TEST_F(EntryScreen, CancelledLoginStillEmptiesTheTransferBatch) {
  folder.addTempRow("000001");
  whileLoginOpen([] { PinForm->BitBtn2->press(); });
  MainForm->EntrySystemBitBtn1->press();
  EXPECT_EQ(folder.rows("temp.DB"), 0);
  EXPECT_FALSE(MainMenuForm->isVisible());
}

TEST_F(EntryScreen, RefusedLoginStillEmptiesTheTransferBatch) {
  folder.addTempRow("000001");
  logIn("admin", "wrong");
  EXPECT_EQ(folder.rows("temp.DB"), 0);
  EXPECT_FALSE(MainMenuForm->isVisible());
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("密碼輸入錯誤,請確認後重新輸入!! ")});
}

TEST_F(EntryScreen, SuccessfulLoginOpensTheMainWindowAndEmptiesTheBatch) {
  folder.addTempRow("000001");
  logIn("admin", "admin");
  EXPECT_TRUE(MainMenuForm->isVisible());
  EXPECT_FALSE(PinForm->isVisible());
  EXPECT_EQ(folder.rows("temp.DB"), 0);
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(EntryScreen, ExitEndsTheProgramWithoutAQuestion) {
  MainForm->show();
  QSignalSpy ended(MainForm, &TMainForm::programEnded);
  MainForm->ExitSystemBitBtn1->press();
  EXPECT_EQ(ended.count(), 1);
  EXPECT_FALSE(MainForm->isVisible());
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(EntryScreen, CloseBoxEndsTheProgram) {
  MainForm->show();
  QSignalSpy ended(MainForm, &TMainForm::programEnded);
  MainForm->close();
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(EntryScreen, FourthLoginAfterThreeUnknownCodesEndsTheProgram) {
  MainForm->show();
  QSignalSpy ended(MainForm, &TMainForm::programEnded);
  for (int i = 0; i < 3; ++i) logIn("nobody", "x");
  EXPECT_EQ(ended.count(), 0);
  logIn("admin", "admin");
  EXPECT_EQ(ended.count(), 1);
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
