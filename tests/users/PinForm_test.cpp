// The login dialog: the check of code and password, its messages, and the attempts counted
// (the limit that ends the program: app/EntryScreen_test.cpp).

#include <gtest/gtest.h>

#include <QTest>

#include "store/EngineError.h"
#include "store/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "users/TPinForm.h"

namespace {

const QString kUnknownCode = QStringLiteral("使用者代碼輸入錯誤,請確認後重新輸入!! ");
const QString kWrongPassword = QStringLiteral("密碼輸入錯誤,請確認後重新輸入!! ");

class Login : public ::testing::Test {
 protected:
  Login() : session(folder.path()), pin(session) {
    folder.addUser("admin", "admin");
    folder.addUser("clerk", "secret");
    mainForm.show();
    pin.setWindows(&mainForm, &mainMenu);
  }

  // Types the two boxes and presses OK.
  void login(const QString& code, const QString& password) {
    pin.UserID->setText(code);
    pin.Password->setText(password);
    pin.BitBtn1->press();
  }

  TestFolder folder;
  store::Session session;
  TPinForm pin;
  QWidget mainForm;  // stands for the entry screen
  QWidget mainMenu;  // stands for the main window
  toolkit::ScriptedDialogs dialogs;
};

TEST_F(Login, EachPairOfCodeAndPasswordGetsItsMessageAndOnlyUnknownCodesCount) {
  const struct {
    const char* code;
    const char* password;
    QString message;  // none: the main window is shown
    int count;        // the attempts counted so far
  } cases[] = {
      {"clerk", "secret", {}, 0},
      {"admin", "secret", kWrongPassword, 0},  // another user's password
      {"admin", "", kWrongPassword, 0},
      {"Admin", "admin", kUnknownCode, 1},
      {"", "admin", kUnknownCode, 2},
      {"管理員管理員", "admin", kUnknownCode, 3},  // 12 bytes in a field of 8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    dialogs.clear();
    mainMenu.hide();
    login(QString::fromUtf8(c.code), c.password);
    EXPECT_EQ(mainMenu.isVisible(), c.message.isEmpty());
    EXPECT_EQ(dialogs.texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    EXPECT_EQ(pin.PinErrorCount(), c.count);
    EXPECT_EQ(pin.UserID->text(), "");
    EXPECT_EQ(pin.Password->text(), "");
  }
  EXPECT_TRUE(mainForm.isVisible());
}

TEST_F(Login, EnterPressesOkAndEscCancelsClearingBothBoxesUncounted) {
  pin.show();
  pin.UserID->setText("clerk");
  pin.Password->setText("secret");
  QTest::keyClick(pin.Password, Qt::Key_Return);
  EXPECT_TRUE(mainMenu.isVisible());
  EXPECT_FALSE(pin.isVisible());

  pin.show();
  pin.UserID->setText("x");
  pin.Password->setText("y");
  QTest::keyClick(pin.UserID, Qt::Key_Escape);
  EXPECT_FALSE(pin.isVisible());
  EXPECT_EQ(pin.UserID->text(), "");
  EXPECT_EQ(pin.Password->text(), "");
  EXPECT_EQ(pin.PinErrorCount(), 0);
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(Login, NeitherBoxAcceptsANinthCharacter) {
  QTest::keyClicks(pin.UserID, "abcdefghij");
  QTest::keyClicks(pin.Password, "1234567890");
  EXPECT_EQ(pin.UserID->text(), "abcdefgh");
  EXPECT_EQ(pin.Password->displayText(), "********");
}

TEST_F(Login, MissingPassFileIsReportedAndNotCounted) {
  std::filesystem::remove(folder.path() / "pass.DB");
  login("admin", "admin");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
  EXPECT_FALSE(mainMenu.isVisible());
  EXPECT_EQ(pin.PinErrorCount(), 0);
}

TEST(LoginConstruction, RegistersTheTablePasswordForEveryLaterTable) {
  TestFolder folder;
  store::Session fresh(folder.path());
  store::Table basic(fresh, "basic.DB");
  EXPECT_THROW(basic.Open(), store::EngineError);
  TPinForm pin(fresh);
  EXPECT_NO_THROW(basic.Open());
}

}  // namespace
