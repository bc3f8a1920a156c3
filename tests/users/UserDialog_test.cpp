// What the three user dialogs share: boxes that take only what pass.DB holds, Enter and Esc,
// the close box, and a failure of the table engine.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "UserFixture.h"

namespace {

// Types `text` one character at a time, as an input method commits it.
void typeChinese(QLineEdit* box, const QString& text) {
  for (QChar c : text) {
    QInputMethodEvent commit;
    commit.setCommitString(c);
    QApplication::sendEvent(box, &commit);
  }
}

class UserDialogs : public UserFixture {
 protected:
  struct Dialog {
    QWidget* form;
    toolkit::BitBtn* ok;
  };
  std::vector<Dialog> all() {
    return {{&creat, creat.CreatUserPinBitBtnOk},
            {&changer, changer.ChangePinBitBtnOk},
            {&deleter, deleter.DelPinBitBtnOk}};
  }
  static void fill(QWidget* form) {
    for (QLineEdit* box : form->findChildren<QLineEdit*>()) box->setText("x");
  }
};

TEST_F(UserDialogs, EveryBoxTakesEightBytesOfCodePage950AndNothingElse) {
  for (const auto& d : all()) {
    for (QLineEdit* box : d.form->findChildren<QLineEdit*>()) {
      SCOPED_TRACE(box->objectName().toStdString());
      QTest::keyClicks(box, "abcdefghij");
      EXPECT_EQ(box->text(), "abcdefgh");
      if (box->echoMode() == QLineEdit::Password) {
        EXPECT_EQ(box->displayText(), "********");
      }
      box->clear();
      typeChinese(box, QStringLiteral("王小明五六"));
      EXPECT_EQ(box->text(), QStringLiteral("王小明五"));
      box->clear();
      typeChinese(box, QStringLiteral("a한b"));
      EXPECT_EQ(box->text(), "ab");
      box->clear();
    }
  }
}

TEST_F(UserDialogs, EnterPressesOkEscEmptiesAndTheCloseBoxKeepsTheEntries) {
  for (const auto& d : all()) {
    SCOPED_TRACE(d.form->objectName().toStdString());
    d.form->show();
    fill(d.form);
    const QString typed = boxes(*d.form);
    d.form->close();  // the close box
    d.form->show();
    EXPECT_EQ(boxes(*d.form), typed);
    QTest::keyClick(d.form->findChild<QLineEdit*>(), Qt::Key_Escape);
    EXPECT_FALSE(d.form->isVisible());
    EXPECT_EQ(boxes(*d.form).remove('|'), "");

    d.form->show();
    dialogs.clear();
    QTest::keyClick(d.form->findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_EQ(dialogs.shown().size(), 1u);  // OK's outcome
    EXPECT_FALSE(d.form->isVisible());
  }
  EXPECT_EQ(users(), std::vector<std::string>{"admin admin"});
}

TEST_F(UserDialogs, EngineFailureIsReportedAndLeavesTheDialogOpenWithItsEntries) {
  std::filesystem::remove(folder.path() / "pass.DB");
  for (const auto& d : all()) {
    SCOPED_TRACE(d.form->objectName().toStdString());
    dialogs.clear();
    d.form->show();
    fill(d.form);
    const QString typed = boxes(*d.form);
    d.ok->press();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
    EXPECT_TRUE(d.form->isVisible());
    EXPECT_EQ(boxes(*d.form), typed);
  }
}

}  // namespace
