#pragma once
// BasicDataPage: the employee page of the main window: the seven data-bound edits of the
// current employee, the search hint panel and the button row, with its handlers.
//
// Two rules tie the page to the pay entries of salary.DB, which name their employee by number
// alone: 寫入 of an existing employee whose number changed renumbers every entry of the old
// number, and 刪除 deletes the employee's entries with it. Each of these runs as one
// transaction over basic.DB and salary.DB: it happens entirely or not at all.
//
// The four navigation handlers and 取消 also serve the matching buttons of the pay-entry page.

#include <QWidget>

#include "ui_BasicDataPage.h"

class EmployeeWindow;

class BasicDataPage : public QWidget, public Ui::BasicDataPage {
  Q_OBJECT

 public:
  explicit BasicDataPage(QWidget* parent = nullptr);

  // Binds the seven edits to the window's employee table and connects the button row.
  // REQUIRES: called once; `window` outlives the page's use of it.
  void bind(EmployeeWindow* window);

  void FirstBitBtn1Click();
  void PriorBitBtn1Click();
  void NextBitBtn1Click();
  void LastBitBtn1Click();
  void InsertBitBtn1Click();
  void EditBitBtn1Click();
  void DeleteBitBtn1Click();
  void PostBitBtn1Click();
  void CancelBitBtn1Click();

 private:
  enum class SendDate { Enabled, Disabled };
  template <class Move>
  void navigate(Move move, SendDate sendDate);
  void forgetLeftEdit();

  EmployeeWindow* window_ = nullptr;
};
