#include "BasicDataPage.h"

#include "app/toolkit/DataSource.h"

BasicDataPage::BasicDataPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
}

void BasicDataPage::bind(toolkit::DataSource* employees) {
  EmployeeNumberDBEdit->setDataField(employees, "NUMBER");
  EmployeeAccountDBEdit->setDataField(employees, "ACCOUNT");
  EmployeeNameDBEdit->setDataField(employees, "NAME");
  EmployeeIDDBEdit->setDataField(employees, "ID");
  EmployeeInDateDBEdit->setDataField(employees, "INDATE");
  EmployeeLevelDBEdit->setDataField(employees, "LEVEL");
  EmployeeMemoDBEdit->setDataField(employees, "MEMO");
}
