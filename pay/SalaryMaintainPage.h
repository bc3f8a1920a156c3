#pragma once
// SalaryMaintainPage: the pay-entry page of the main window: the current employee shown
// read-only, the fields of the current pay entry, the batch send date, the two button bars and
// the grid of the employee's entries. Its handlers are methods of the main window, which owns
// the tables it shows.

#include <QWidget>
#include <string>

#include "ui_SalaryMaintainPage.h"

namespace store {
class Table;
}
namespace toolkit {
class DataSource;
}

class SalaryMaintainPage : public QWidget, public Ui::SalaryMaintainPage {
  Q_OBJECT

 public:
  explicit SalaryMaintainPage(QWidget* parent = nullptr);

  // Binds the controls: `employees` (DataSource1 on the employee table `employeeTable`),
  // `entries` (DataSource2, the employee's pay entries, linked to it by `linkFields`) and
  // `items` (DataSource3, the salary item catalogue).
  void bind(toolkit::DataSource* employees, toolkit::DataSource* entries,
            toolkit::DataSource* items, store::Table* employeeTable, const std::string& linkFields);
};
