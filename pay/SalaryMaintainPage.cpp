#include "SalaryMaintainPage.h"

#include "toolkit/DataSource.h"
#include "store/Schema.h"

SalaryMaintainPage::SalaryMaintainPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  // The pick list: exactly the sixteen items that the transfer file knows.
  for (const auto& item : store::defaultSalaryItems()) {
    SalaryItemDBComboBox->addItem(QString::fromStdString(item));
  }
  SalaryItemDBComboBox->setCurrentIndex(-1);
}

void SalaryMaintainPage::bind(toolkit::DataSource* employees, toolkit::DataSource* entries,
                              toolkit::DataSource* items, store::Table* employeeTable,
                              const std::string& linkFields) {
  DBEdit1->setDataField(employees, "NUMBER");
  DBEdit2->setDataField(employees, "ACCOUNT");
  DBEdit3->setDataField(employees, "NAME");
  DBEdit4->setDataField(employees, "ID");
  DBEdit5->setDataField(employees, "MEMO");
  EmployeeDateDBEdit->setDataField(entries, "SENDDATE");
  EmployeePayDBEdit->setDataField(entries, "PAY");
  SalaryItemDBComboBox->setDataField(entries, "SALARYITEM");
  EmployeeSalaryItemDBLookupComboBox->setDataField(entries, "SALARYITEM");
  EmployeeSalaryItemDBLookupComboBox->setListSource(items, "SALARYITEM");
  DBGrid1->setMasterLink(employeeTable, linkFields);
  DBGrid1->setDataSource(entries, {{"NUMBER", QStringLiteral("員工編號")},
                                   {"SENDDATE", QStringLiteral("入帳日")},
                                   {"PAY", QStringLiteral("入帳金額")},
                                   {"SALARYITEM", QStringLiteral("薪資項目")}});
}
