#pragma once
// The program on a fresh data folder for the pay-entry page and the salary item dialog: three
// employees, 000123 with the entries (880105, 35000, 薪水轉帳) and (880205, 36000, 薪水轉帳),
// 000200 with none, 000300 with three entries, the last two on one date; and a catalogue of
// three items. The main window is shown, switched to the pay-entry page.

#include "pay/SalaryMaintainPage.h"
#include "support/ProgramFixture.h"

class PayFixture : public ProgramFixture {
 protected:
  PayFixture();

  // Types `keys` (Latin-1) key by key at the end of the edit's content, after erasing it.
  static void typeKeys(QLineEdit* edit, const QString& keys) {
    type(edit, "");
    QTest::keyClicks(edit, keys);
  }
  // Chooses `item` in the page's salary item pick list as the clerk would.
  void chooseItem(const QString& item);
  // "NUMBER SENDDATE PAY SALARYITEM" of every row of salary.DB in key order.
  std::vector<std::string> entriesOnDisk() {
    return onDisk("salary.DB", "NUMBER SENDDATE PAY SALARYITEM");
  }
  // The SALARYITEM of every row of item.DB in order.
  std::vector<std::string> itemsOnDisk() { return onDisk("item.DB", "SALARYITEM"); }
  // What the entry edits and the pick list show: "SENDDATE PAY SALARYITEM".
  std::string shownEntry() const;
  // The employee shown, and moves of the employee bar to one by number.
  QString shownEmployee() const { return pay->DBEdit1->text(); }
  void goToEmployee(const QString& number);
  bool pendingEntry() const;

  // The enabled state of the page's switched controls: the date and amount edits (together),
  // the item pick list, 寫入, the batch send date.
  struct Controls {
    bool dateAndPay, item, post, sendDate;
    bool operator==(const Controls&) const = default;
  };
  Controls controls() const;

  Controls atCreation{};  // as the window was created, before the first change of page
  SalaryMaintainPage* pay = nullptr;
};
