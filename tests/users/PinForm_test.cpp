// The login dialog: the check of code and password, its messages, and the attempts counted
// (the limit that ends the program: app/EntryScreen_test.cpp).

#include <QTest>

#include "UserFixture.h"
#include "store/EngineError.h"
#include "store/Table.h"

namespace {

const QString kLoginUnknownCode = QStringLiteral("使用者代碼輸入錯誤,請確認後重新輸入!! ");
const QString kLoginWrongPassword = QStringLiteral("密碼輸入錯誤,請確認後重新輸入!! ");

class Login : public UserFixture {
 protected:
  Login() { folder.addUser("clerk", "secret"); }
};

TEST_F(Login, EachPairOfCodeAndPasswordGetsItsMessageAndOnlyUnknownCodesCount) {
  const struct {
    const char* code;
    const char* password;
    QString message;  // none: the main window is shown
    int count;        // the attempts counted so far
  } cases[] = {
      {"clerk", "secret", {}, 0},
      {"admin", "secret", kLoginWrongPassword, 0},  // another user's password
      {"admin", "", kLoginWrongPassword, 0},
      {"Admin", "admin", kLoginUnknownCode, 1},
      {"", "admin", kLoginUnknownCode, 2},
      {"管理員管理員", "admin", kLoginUnknownCode, 3},  // 12 bytes in a field of 8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    dialogs.clear();
    EXPECT_EQ(logsIn(QString::fromUtf8(c.code), c.password), c.message.isEmpty());
    EXPECT_EQ(dialogs.texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    EXPECT_EQ(pin.PinErrorCount(), c.count);
    EXPECT_EQ(pin.UserID->text(), "");
    EXPECT_EQ(pin.Password->text(), "");
  }
  EXPECT_TRUE(entryScreen.isVisible());
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
  EXPECT_FALSE(logsIn("admin", "admin"));
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
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
