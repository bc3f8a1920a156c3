#pragma once
// The program on a fresh data folder with three employees, for the employee page and the
// search: 000001 with one pay entry, 002345 with three, 003000 with none. The main window is
// shown.

#include "employees/BasicDataPage.h"
#include "employees/EmployeeSearch.h"
#include "pay/SalaryMaintainPage.h"
#include "support/ProgramFixture.h"

class EmployeeFixture : public ProgramFixture {
 protected:
  EmployeeFixture();

  // The number shown by the employee page.
  QString shownNumber() const { return page->EmployeeNumberDBEdit->text(); }
  // Every row of basic.DB or salary.DB ("basic", "salary"), its fields as text separated by
  // blanks, in primary-key order.
  std::vector<std::string> rowsOnDisk(const std::string& table) {
    return onDisk(table + ".DB", table == "basic" ? "NUMBER ACCOUNT NAME ID INDATE LEVEL MEMO"
                                                  : "NUMBER SENDDATE PAY SALARYITEM");
  }
  // The rows of basic.DB and salary.DB together.
  std::vector<std::string> bothFiles();
  // Makes every later deletion of an employee row fail inside the engine.
  void refuseEmployeeDeletes();
  // Whether the page's buttons are in their writing state (寫入 and 取消 on, the seven
  // others off) or, for false, in their browsing state (the other way round).
  bool buttonsIn(bool writing) const;

  BasicDataPage* page = nullptr;
  EmployeeSearch* search = nullptr;
};
