#pragma once
// FileClearPage: the clearing page of the main window (清檔作業). Its panels empty the employee
// master or the pay entries, back a table file up, and purge a range of months of pay entries;
// a fourth panel, kept hidden, restores a table file from its backup. Every operation works on
// the main window's table objects, given by bind(), through the rules of HousekeepingRules;
// clearing and purging ask first, the backup asks nothing, and success is never announced.
//
// The combo boxes act only on a chosen item and keep it after an operation; the purge edits
// are emptied after every purge that completes, answered Yes or No.

#include <QWidget>

#include "ui_FileClearPage.h"

namespace store {
class BatchMove;
class Table;
}  // namespace store

// The main window's objects the page works on.
struct FileClearTables {
  store::Table* EmployeeBasicTable;
  store::Table* EmployeeSalaryTable;
  store::Table* DeleteSalaryDateTable;
  store::Table* SaveTables[3];         // SaveBasicTable, SaveSalaryTable, SavePassTable
  store::Table* DestTables[3];         // BasicDestTable, SalaryDestTable, PassDestTable
  store::Table* RecoverSaveTables[3];  // RecoverSaveBasicTable, ...Salary..., ...Pass...
  store::BatchMove* BatchMove1;
};

class FileClearPage : public QWidget, public Ui::FileClearPage {
  Q_OBJECT

 public:
  explicit FileClearPage(QWidget* parent = nullptr);

  // REQUIRES: called once before any handler runs; the objects outlive the page.
  void bind(const FileClearTables& tables);

  void SelectDelecTabletBitBtnClick();
  void BackupBitBtnClick();
  void BitBtn1Click();
  void BitBtn4Click();

  // The two questions, as the clerk reads them.
  static const QString& clearQuestion();
  static const QString& purgeQuestion();

 private:
  FileClearTables t_{};
};
