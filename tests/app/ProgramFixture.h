#pragma once
// The program on a fresh data folder: user admin/admin, employees 000001 and 000002, two pay
// entries of the first and one of the second.

#include <QTimer>
#include <functional>

#include "app/TMainForm.h"
#include "support/ProgramFixture.h"
#include "users/TPinForm.h"

class ProgramTest : public ProgramFixture {
 protected:
  ProgramTest() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    folder.addEntry("000001", "880105", 35000, "薪水轉帳");
    folder.addEntry("000001", "880205", 36000, "薪水轉帳");
    folder.addEntry("000002", "880205", 42000, "薪水轉帳");
    start();
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
};
