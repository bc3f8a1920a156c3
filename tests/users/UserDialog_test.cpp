// The three user dialogs through their handlers: every outcome's message in its order of tests,
// what pass.DB holds afterwards, the boxes, Enter and Esc, the close box, and a failure of the
// table engine.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <functional>

#include "UserFixture.h"

namespace {

class UserDialogs : public UserFixture {
 protected:
  UserDialogs() { folder.addUser("clerk", "secret"); }
  std::vector<QWidget*> all() { return {&creat, &changer, &deleter}; }
  static void fill(QWidget* form) {
    for (QLineEdit* box : form->findChildren<QLineEdit*>()) box->setText("x");
  }
};

TEST_F(UserDialogs, EachOutcomeIsToldInItsOrderAndOnlySuccessChangesPassDb) {
  using Rows = std::vector<std::string>;
  const Rows start = {"admin admin", "clerk secret"};
  const struct {
    std::function<void()> press;
    QWidget* form;
    QString message;
    Rows rows;
  } cases[] = {
      {[&] { add("admin", "", ""); }, &creat, kCodeExists, start},  // the code is tested first
      {[&] { add("", "", "x"); }, &creat, kPasswordsDiffer, start},
      {[&] { add("", "abc", "abc"); }, &creat, kEmptyEntry, start},
      {[&] { add("boss", "", ""); }, &creat, kEmptyEntry, start},
      {[&] { add("Admin", "Pw", "Pw"); },
       &creat,
       kAdded,
       {"Admin Pw", "admin admin", "clerk secret"}},
      // Both codes are looked up first; an unknown existing code is told before anything else.
      {[&] { change("nobody", "clerk", "n", "n"); }, &changer, kUnknownCode, {}},
      {[&] { change("admin", "admin", "n", "n"); }, &changer, kCodeExists, {}},  // to itself
      {[&] { change("admin", "Admin", "n", "n"); }, &changer, kCodeExists, {}},
      {[&] { change("admin", "boss", "n", "N"); }, &changer, kPasswordsDiffer, {}},
      {[&] { change("admin", "", "n", "n"); }, &changer, kEmptyEntry, {}},
      {[&] { change("admin", "boss", "", ""); }, &changer, kEmptyEntry, {}},
      {[&] { change("admin", "boss", "New", "New"); },
       &changer,
       kChanged,
       {"Admin Pw", "boss New", "clerk secret"}},
      {[&] { remove("admin", "admin"); }, &deleter, kUnknownCode, {}},
      {[&] { remove("boss", "new"); }, &deleter, kWrongPassword, {}},     // letter case counts
      {[&] { remove("boss", "secret"); }, &deleter, kWrongPassword, {}},  // another's password
      {[&] { remove("boss", "New"); }, &deleter, kDeleted, {"Admin Pw", "clerk secret"}},
  };
  const QStringList successes = {kAdded, kChanged, kDeleted};
  bool shownOverTheDialog = false;
  QString typed;
  Rows rows = start;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    dialogs.clear();
    dialogs.onShown([&](const auto&) {
      shownOverTheDialog = c.form->isVisible();
      typed = boxes(*c.form);
    });
    c.press();
    if (!c.rows.empty()) rows = c.rows;
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(users(), rows);
    // An empty code or password, which the table refuses, leaves the dialog open with what was
    // typed; every other outcome closes it, empty.
    const bool staysOpen = c.message == kEmptyEntry;
    EXPECT_EQ(c.form->isVisible(), staysOpen);
    if (staysOpen) {
      EXPECT_EQ(boxes(*c.form), typed);
    } else {
      EXPECT_EQ(boxes(*c.form).remove('|'), "");
    }
    // A refusal is shown over the dialog; a success once it has closed.
    EXPECT_EQ(shownOverTheDialog, !successes.contains(c.message));
  }
  EXPECT_FALSE(logsIn("admin", "admin"));
  EXPECT_TRUE(logsIn("Admin", "Pw"));
}

TEST_F(UserDialogs, EveryBoxTakesEightBytesOfCodePage950AndNothingElse) {
  const auto type = [](QLineEdit* box, const QString& text) {  // as an input method commits
    for (QChar c : text) {
      QInputMethodEvent commit;
      commit.setCommitString(c);
      QApplication::sendEvent(box, &commit);
    }
  };
  for (QWidget* form : all()) {
    for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
      SCOPED_TRACE(box->objectName().toStdString());
      QTest::keyClicks(box, "abcdefghij");
      EXPECT_EQ(box->text(), "abcdefgh");
      if (box->echoMode() == QLineEdit::Password) {
        EXPECT_EQ(box->displayText(), "********");
      }
      box->clear();
      type(box, QStringLiteral("王小明五六"));
      EXPECT_EQ(box->text(), QStringLiteral("王小明五"));
      box->clear();
      type(box, QStringLiteral("a한b"));
      EXPECT_EQ(box->text(), "ab");
      box->clear();
    }
  }
}

TEST_F(UserDialogs, CloseBoxKeepsEntriesEscEmptiesEnterPressesOkAndEngineFailuresKeepThemOpen) {
  const auto pass = folder.path() / "pass.DB", aside = folder.path() / "aside";
  for (bool tableMissing : {true, false}) {
    if (tableMissing) std::filesystem::rename(pass, aside);
    for (QWidget* form : all()) {
      SCOPED_TRACE(form->objectName().toStdString());
      form->show();
      fill(form);
      const QString typed = boxes(*form);
      form->close();  // the close box
      form->show();
      EXPECT_EQ(boxes(*form), typed);
      if (!tableMissing) {
        QTest::keyClick(form->findChild<QLineEdit*>(), Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(boxes(*form).remove('|'), "");
        form->show();
        fill(form);
      }
      dialogs.clear();
      QTest::keyClick(form->findChild<QLineEdit*>(), Qt::Key_Return);
      ASSERT_EQ(dialogs.shown().size(), 1u);
      EXPECT_EQ(dialogs.shown()[0].kind == toolkit::ScriptedDialogs::Kind::Error, tableMissing);
      EXPECT_EQ(form->isVisible(), tableMissing);
      EXPECT_EQ(boxes(*form), tableMissing ? typed : QString(typed).remove('x'));
    }
    if (tableMissing) std::filesystem::rename(aside, pass);
  }
}

}  // namespace
