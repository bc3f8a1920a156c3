#pragma once
// EmployeeSearch: the search panel of the main window (QueryPanel), floating over whichever
// page is shown, and the popup menu of the four search criteria that opens it.
//
// The menu (EmployeeSearchPopupMenu) sets the window's SearchCriterion and the panel's prompt
// and shows the panel. 開始查詢 finds an employee in the window's employee table: by exact
// number (reopening the table in number order, so that a number not found leaves it on its
// first employee), or by a name, account or national ID that begins with the typed text, letter
// case counting (a text not found leaves the current employee). Either way the panel closes.

#include <QFrame>

#include "ui_EmployeeSearch.h"

class EmployeeWindow;
class QAction;
class QMenu;

class EmployeeSearch : public QFrame, public Ui::EmployeeSearch {
  Q_OBJECT

 public:
  explicit EmployeeSearch(QWidget* parent = nullptr);

  // REQUIRES: called once; `window` outlives the panel's use of it.
  void bind(EmployeeWindow* window);
  // A right click on `panel` opens the criterion menu.
  void attachMenuTo(QWidget* panel);

  void N11Click();
  void N21Click();
  void N31Click();
  void N41Click();
  void QueryBitBtnClick();
  void BitBtn5Click();

  QMenu* EmployeeSearchPopupMenu;
  QAction* N11;
  QAction* N21;
  QAction* N31;
  QAction* N41;

 private:
  void choose(int criterion);
  bool findNumber(const QString& number);
  void finish();

  EmployeeWindow* window_ = nullptr;
};
