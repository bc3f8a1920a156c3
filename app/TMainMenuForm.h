#pragma once
// TMainMenuForm: the main window, one page control with the five tab pages. It owns the table
// objects that the pages share, the values kept for the employee page and the search, and the
// six operations that switch fixed groups of controls on and off.
//
// Every change of page re-reads the employee, pay-entry and salary item tables and puts the
// employee page's button row in browse state. The window is only shown and hidden: leaving it
// by "回登錄畫面" (or its close box) keeps its page, its tables and its values for the next
// login.

#include <QString>
#include <QWidget>

#include "employees/EmployeeWindow.h"
#include "pay/SalaryWindow.h"
#include "store/BatchMove.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "ui_TMainMenuForm.h"

class TMainMenuForm : public QWidget,
                      public Ui::TMainMenuForm,
                      public EmployeeWindow,
                      public SalaryWindow {
  Q_OBJECT

 public:
  // Opens the salary item table and then, by EmployeeBasicFormCreate, the employee and
  // pay-entry tables: a missing file throws store::EngineError.
  explicit TMainMenuForm(store::Session& session, QWidget* parent = nullptr);

  void EmployeeBasicFormCreate();
  void EmployeeBasicFormClose();
  void PageControl1Change();
  void EmployeeExitBitBtn1Click();
  // Shows the salary item catalogue dialog without waiting for it.
  void Button1Click();
  // The transfer page's 預覽 and 列印報表: the detailed report when 詳細列印 is chosen, else the
  // list report.
  void PreviewBitBtn1Click();
  void PrintBitBtn1Click();

  void SetEditButtons() override;
  void SetBrowseButtons() override;
  void EnableEmployeeEdits() override;
  void DisableEmployeeEdits() override;
  void EnableSalaryEdits() override;
  void DisableSalaryEdits() override;

  store::Table& employeeTable() override { return EmployeeBasicTable; }
  toolkit::DataSource& employeeSource() override { return DataSource1; }
  store::Table& salaryTable() override { return EmployeeSalaryTable; }
  QWidget* sendDateEdit() override;

  // Tables shared by the pages.
  store::Table EmployeeBasicTable;
  store::Table EmployeeSalaryTable;
  store::Table SalaryItemTable;
  store::Table DeleteSalaryDateTable;
  store::Table SaveBasicTable;
  store::Table SaveSalaryTable;
  store::Table SavePassTable;
  store::Table BasicDestTable;
  store::Table SalaryDestTable;
  store::Table PassDestTable;
  store::Table RecoverSaveBasicTable;
  store::Table RecoverSaveSalaryTable;
  store::Table RecoverSavePassTable;
  store::BatchMove BatchMove1;
  toolkit::DataSource DataSource1;  // EmployeeBasicTable
  toolkit::DataSource DataSource2;  // EmployeeSalaryTable
  toolkit::DataSource DataSource3;  // SalaryItemTable
  toolkit::DataSource DataSource4;  // DeleteSalaryDateTable

  // The values kept for the employee page and the search while the program runs
  // (EditingExisting, SalaryEntryCount, OldNumber, NewNumber, SearchCriterion) come with
  // EmployeeWindow.

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

extern TMainMenuForm* MainMenuForm;
