#include "PayFixture.h"

PayFixture::PayFixture() {
  folder.addUser("admin", "admin");
  folder.addEmployee("000123", "王小明", "A123456789", "11110000000123");
  folder.addEmployee("000200", "李大同", "B223456789", "22220000000200");
  folder.addEmployee("000300", "張三", "C123456789", "33330000000300");
  folder.addEntry("000123", "880105", 35000, "薪水轉帳");
  folder.addEntry("000123", "880205", 36000, "薪水轉帳");
  folder.addEntry("000300", "880105", 9000, "薪水轉帳");
  folder.addEntry("000300", "880205", 500, "退稅");
  folder.addEntry("000300", "880205", 1200, "水費");
  for (const char* item : {"股利發放", "薪水轉帳", "退稅"}) {
    folder.append("item.DB", {{"SALARYITEM", item}});
  }
  start();
  pay = m->SalaryMaintain;
  m->show();
  atCreation = controls();
  m->PageControl1->setCurrentIndex(1);
}

void PayFixture::chooseItem(const QString& item) {
  auto* box = pay->SalaryItemDBComboBox;
  const int index = box->findText(item);
  ASSERT_GE(index, 0) << item.toStdString();
  box->setCurrentIndex(index);
  emit box->activated(index);
}

std::string PayFixture::shownEntry() const {
  return (pay->EmployeeDateDBEdit->text() + " " + pay->EmployeePayDBEdit->text() + " " +
          pay->SalaryItemDBComboBox->currentText())
      .toStdString();
}

void PayFixture::goToEmployee(const QString& number) {
  pay->FirstBitBtn7->press();
  for (int i = 0; i < 3 && shownEmployee() != number; ++i) pay->NextBitBtn9->press();
  ASSERT_EQ(shownEmployee(), number);
}

bool PayFixture::pendingEntry() const {
  const auto state = m->EmployeeSalaryTable.State();
  return state == store::TableState::Insert || state == store::TableState::Edit;
}

PayFixture::Controls PayFixture::controls() const {
  EXPECT_EQ(pay->EmployeeDateDBEdit->isEnabled(), pay->EmployeePayDBEdit->isEnabled());
  return {pay->EmployeePayDBEdit->isEnabled(), pay->SalaryItemDBComboBox->isEnabled(),
          pay->SalaryPostBitBtn->isEnabled(), pay->SendDateEdit->isEnabled()};
}
