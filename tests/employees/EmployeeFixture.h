#pragma once
// The program on a fresh data folder with three employees, for the employee page and the
// search: 000001 with one pay entry, 002345 with three, 003000 with none. The dialogs are
// scripted and the main window is shown.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/TMainMenuForm.h"
#include "support/ScriptedDialogs.h"
#include "employees/BasicDataPage.h"
#include "employees/EmployeeSearch.h"
#include "pay/SalaryMaintainPage.h"
#include "support/TestFolder.h"

class EmployeeFixture : public ::testing::Test {
 protected:
  EmployeeFixture();

  // Types `text` over the whole content of `edit`, as the clerk would; "" erases it.
  static void type(QLineEdit* edit, const QString& text);
  // The number shown by the employee page.
  QString shownNumber() const { return page->EmployeeNumberDBEdit->text(); }
  // Every row of the file, its fields as text separated by blanks, in primary-key order,
  // read through a session of its own.
  std::vector<std::string> rowsOnDisk(const std::string& table);
  // The rows of basic.DB and salary.DB together.
  std::vector<std::string> bothFiles();
  // Makes every later deletion of an employee row fail inside the engine.
  void refuseEmployeeDeletes();
  // Whether the page's buttons are in their writing state (寫入 and 取消 on, the seven
  // others off) or, for false, in their browsing state (the other way round).
  bool buttonsIn(bool writing) const;

  TestFolder folder;
  toolkit::ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
  TMainMenuForm* m = nullptr;
  BasicDataPage* page = nullptr;
  EmployeeSearch* search = nullptr;
};
