#pragma once
// EmployeeWindow: what the employee page and the employee search reach of the main window.
//
// The main window implements it: it owns the employee table (basic.DB in number order) and,
// as its detail linked by NUMBER, the pay-entry table (salary.DB), the values kept for the
// employee page and the search while the program runs, and the operations that switch fixed
// groups of controls on and off.

#include <QString>

class QWidget;

namespace store {
class Table;
}
namespace toolkit {
class DataSource;
}

class EmployeeWindow {
 public:
  // True while the row being written is an existing employee opened by 修改. The employee page
  // clears it whenever that row is left without being written.
  bool EditingExisting = false;
  // The employee's pay entries and number when 修改 was pressed; the number typed at 寫入.
  int SalaryEntryCount = 0;
  QString OldNumber;
  QString NewNumber;
  // The last search criterion chosen: 0 none yet, 1 number, 2 name, 3 account, 4 national ID.
  int SearchCriterion = 0;

  virtual store::Table& employeeTable() = 0;
  virtual toolkit::DataSource& employeeSource() = 0;  // the data source over employeeTable()
  virtual store::Table& salaryTable() = 0;
  // The batch send-date edit of the pay-entry page.
  virtual QWidget* sendDateEdit() = 0;

  virtual void SetEditButtons() = 0;
  virtual void SetBrowseButtons() = 0;
  virtual void EnableEmployeeEdits() = 0;
  virtual void DisableEmployeeEdits() = 0;
  virtual void DisableSalaryEdits() = 0;

 protected:
  ~EmployeeWindow() = default;
};
