#pragma once
// The whole program on a fresh data folder with the dialogs scripted, for the tests that drive
// its forms: the test fills the folder, then starts the program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/TMainMenuForm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"

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
