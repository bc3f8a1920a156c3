#pragma once
// SalaryWindow: what the pay-entry page reaches of the main window, which owns the employee
// table (basic.DB in number order) and, as its detail linked by NUMBER, the pay-entry table
// (salary.DB), and the operations that switch fixed groups of controls on and off.

namespace store {
class Table;
}

class SalaryWindow {
 public:
  virtual store::Table& employeeTable() = 0;
  virtual store::Table& salaryTable() = 0;

  virtual void SetEditButtons() = 0;
  virtual void EnableSalaryEdits() = 0;

 protected:
  ~SalaryWindow() = default;
};
