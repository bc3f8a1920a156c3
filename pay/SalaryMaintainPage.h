#pragma once
// SalaryMaintainPage: the pay-entry page of the main window: the current employee shown
// read-only, the fields of the current pay entry, the batch send date, the two button bars and
// the grid of the employee's entries, with the handlers of the entry bar.
//
// A month is entered by walking through the employees with the employee bar (whose handlers
// are the employee page's) and pressing 新增, which copies the employee's latest entry forward
// with the batch send date, and 寫入, which writes it when it passes the acceptance rule. Only
// 寫入 ever writes an entry: every other way of leaving a new entry (新增 again, a move of
// either bar, 刪除, 取消, a search, a change of page, 回登錄畫面) drops it.

#include <QWidget>
#include <string>

#include "ui_SalaryMaintainPage.h"

class SalaryWindow;
namespace toolkit {
class DataSource;
}

class SalaryMaintainPage : public QWidget, public Ui::SalaryMaintainPage {
  Q_OBJECT

 public:
  explicit SalaryMaintainPage(QWidget* parent = nullptr);

  // Binds the controls: `employees` (DataSource1, the window's employee table), `entries`
  // (DataSource2, its pay entries, linked by `linkFields`) and `items` (DataSource3, the salary
  // item catalogue), and connects the entry bar.
  // REQUIRES: called once; `window` outlives the page's use of it.
  void bind(SalaryWindow* window, toolkit::DataSource* employees, toolkit::DataSource* entries,
            toolkit::DataSource* items, const std::string& linkFields);

  void SalaryCreatBitBtnClick();
  void SalaryPostBitBtnClick();
  void SalaryDeleteBitBtnClick();
  void SalaryCancelBitBtnClick();
  void SalaryFirstBitBtnClick();
  void SalaryPriorBitBtnClick();
  void SalaryNextBitBtnClick();
  void SalaryLastBitBtnClick();

  // Drops a new entry that is still open, unwritten. The window calls it before anything that
  // leaves the entry from outside this page's entry bar.
  void dropPendingEntry();

 private:
  template <class Move>
  void moveEntry(Move move);
  void refuseAmountTyping();

  SalaryWindow* window_ = nullptr;
};
