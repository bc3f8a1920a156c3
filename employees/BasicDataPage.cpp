#include "BasicDataPage.h"

#include "EmployeeRules.h"
#include "EmployeeWindow.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Guard.h"

namespace {

const QString kPostFailed = QStringLiteral("請檢查您所輸入之代碼是否已重複,並重新輸入!!");
const QString kConfirmDelete = QStringLiteral(" 確定刪除 ? ");

}  // namespace

BasicDataPage::BasicDataPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
}

void BasicDataPage::bind(EmployeeWindow* window) {
  window_ = window;
  toolkit::DataSource* employees = &window->employeeSource();
  EmployeeNumberDBEdit->setDataField(employees, "NUMBER");
  EmployeeAccountDBEdit->setDataField(employees, "ACCOUNT");
  EmployeeNameDBEdit->setDataField(employees, "NAME");
  EmployeeIDDBEdit->setDataField(employees, "ID");
  EmployeeInDateDBEdit->setDataField(employees, "INDATE");
  EmployeeLevelDBEdit->setDataField(employees, "LEVEL");
  EmployeeMemoDBEdit->setDataField(employees, "MEMO");
  // The memo box takes fewer bytes than the field holds.
  EmployeeMemoDBEdit->setMaxBytes(::employees::kMemoBytes);
  connect(employees, &toolkit::DataSource::changed, this, &BasicDataPage::forgetLeftEdit);

  using toolkit::BitBtn;
  using toolkit::connectGuarded;
  connectGuarded(FirstBitBtn1, &BitBtn::activated, this, &BasicDataPage::FirstBitBtn1Click);
  connectGuarded(PriorBitBtn1, &BitBtn::activated, this, &BasicDataPage::PriorBitBtn1Click);
  connectGuarded(NextBitBtn1, &BitBtn::activated, this, &BasicDataPage::NextBitBtn1Click);
  connectGuarded(LastBitBtn1, &BitBtn::activated, this, &BasicDataPage::LastBitBtn1Click);
  connectGuarded(InsertBitBtn1, &BitBtn::activated, this, &BasicDataPage::InsertBitBtn1Click);
  connectGuarded(EditBitBtn1, &BitBtn::activated, this, &BasicDataPage::EditBitBtn1Click);
  connectGuarded(DeleteBitBtn1, &BitBtn::activated, this, &BasicDataPage::DeleteBitBtn1Click);
  connectGuarded(PostBitBtn1, &BitBtn::activated, this, &BasicDataPage::PostBitBtn1Click);
  connectGuarded(CancelBitBtn1, &BitBtn::activated, this, &BasicDataPage::CancelBitBtn1Click);
}

// The row opened by 修改 is gone as soon as the employee table leaves edit state without it
// being written (a move, a search, a page change, 取消): a later 寫入 must then not take the
// employee shown for the one that was edited and move its pay entries.
void BasicDataPage::forgetLeftEdit() {
  if (!window_->EditingExisting) return;
  const toolkit::DataSource& employees = window_->employeeSource();
  if (!employees.hasTable() || employees.table().State() != store::TableState::Edit) {
    window_->EditingExisting = false;
  }
}

template <class Move>
void BasicDataPage::navigate(Move move, SendDate sendDate) {
  move(window_->employeeTable());
  window_->DisableEmployeeEdits();
  window_->DisableSalaryEdits();
  window_->sendDateEdit()->setEnabled(sendDate == SendDate::Enabled);
}

void BasicDataPage::FirstBitBtn1Click() {
  navigate([](store::Table& t) { t.First(); }, SendDate::Enabled);
}

void BasicDataPage::PriorBitBtn1Click() {
  navigate([](store::Table& t) { t.Prior(); }, SendDate::Disabled);
}

void BasicDataPage::NextBitBtn1Click() {
  navigate([](store::Table& t) { t.Next(); }, SendDate::Disabled);
}

void BasicDataPage::LastBitBtn1Click() {
  navigate([](store::Table& t) { t.Last(); }, SendDate::Disabled);
}

void BasicDataPage::InsertBitBtn1Click() {
  window_->EditingExisting = false;
  window_->EnableEmployeeEdits();
  window_->employeeTable().Insert();
  // The pay-entry row begun here gets no values and is never posted; the table drops it as
  // soon as the employee row changes.
  window_->salaryTable().Insert();
  EmployeeNumberDBEdit->setFocus();
  window_->SetEditButtons();
}

void BasicDataPage::EditBitBtn1Click() {
  store::Table& employees = window_->employeeTable();
  window_->EnableEmployeeEdits();
  window_->SalaryEntryCount = static_cast<int>(window_->salaryTable().RecordCount());
  employees.Edit();
  window_->OldNumber = QString::fromStdString(employees.FieldByName("NUMBER").text());
  // On an empty table Edit begins a new row: that is no existing employee to renumber.
  window_->EditingExisting = employees.State() == store::TableState::Edit;
  EmployeeNumberDBEdit->setFocus();
  window_->SetEditButtons();
}

void BasicDataPage::PostBitBtn1Click() {
  try {
    store::Table& employees = window_->employeeTable();
    if (!window_->EditingExisting || window_->SalaryEntryCount == 0) {
      employees.Post();
    } else {
      window_->NewNumber = QString::fromStdString(employees.FieldByName("NUMBER").text());
      if (window_->NewNumber == window_->OldNumber) {
        employees.Post();
      } else {
        ::employees::renumberEmployee(employees, window_->salaryTable(),
                                      window_->OldNumber.toStdString(),
                                      window_->NewNumber.toStdString());
      }
    }
    window_->DisableEmployeeEdits();
    window_->SetBrowseButtons();
    window_->EditingExisting = false;
  } catch (...) {
    toolkit::ShowMessage(kPostFailed);
  }
}

void BasicDataPage::CancelBitBtn1Click() {
  window_->employeeTable().Cancel();
  window_->DisableEmployeeEdits();
  window_->DisableSalaryEdits();
  window_->SetBrowseButtons();
}

void BasicDataPage::DeleteBitBtn1Click() {
  if (toolkit::MessageDlg(kConfirmDelete, toolkit::MsgDlgType::Confirmation,
                          toolkit::mbYes | toolkit::mbNo) != toolkit::mrYes) {
    return;
  }
  ::employees::deleteEmployee(window_->employeeTable(), window_->salaryTable());
  Panel2->setFocus();
}
