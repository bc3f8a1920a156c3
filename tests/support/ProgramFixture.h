#pragma once
// The whole program on a fresh data folder with the dialogs scripted, for the tests that drive
// its forms: the test fills the folder, then starts the program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/TMainForm.h"
#include "app/TMainMenuForm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"
#include "users/TPinForm.h"

class ProgramFixture : public ::testing::Test {
 protected:
  void start() {
    program = Program::start(folder.path());
    m = MainMenuForm;
  }

  // Types `text` over the whole content of `edit` as one input-method commit (QTest cannot
  // send Chinese); "" erases it.
  static void type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty()) return QTest::keyClick(edit, Qt::Key_Delete);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
  }

  // Runs `action` once the login dialog opened by "進入系統" is up; closes the dialog
  // afterwards if the action did not, so that a failing test never hangs.
  static void whileLoginOpen(std::function<void()> action) {
    QTimer::singleShot(0, PinForm, [action] {
      action();
      if (PinForm->isVisible()) PinForm->reject();
    });
  }

  // "進入系統", then the given code and password and OK in the login dialog.
  static void logIn(const QString& code, const QString& password) {
    whileLoginOpen([=] {
      PinForm->UserID->setText(code);
      PinForm->Password->setText(password);
      PinForm->BitBtn1->press();
    });
    MainForm->EntrySystemBitBtn1->press();
  }

  // `fields` (space-separated) of every row of `file` in key order, read through a session of
  // its own: the program's session keeps the files it used open and would not see one that
  // was replaced.
  std::vector<std::string> onDisk(const std::string& file, const std::string& fields,
                                  const std::string& order = "") {
    store::Session reader(folder.path());
    reader.AddPassword(store::kTablePassword);
    return testrows::fileColumn(reader, file, fields, order);
  }

  TestFolder folder;
  toolkit::ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
  TMainMenuForm* m = nullptr;
};
