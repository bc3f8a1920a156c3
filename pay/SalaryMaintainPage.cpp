#include "SalaryMaintainPage.h"

#include "SalaryEntryRules.h"
#include "SalaryWindow.h"
#include "employees/EmployeeRules.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Guard.h"

namespace {

const QString kIncomplete = QStringLiteral("請檢查入帳日期,入帳金額及薪資項目是否確實輸入");
const QString kConfirmDelete = QStringLiteral("確定刪除 ?");
const QString kDuplicate =
    QStringLiteral("本員工在此入帳日期已有一筆相同入帳金額及薪資項目的入帳資料,請修改後再寫入");
const QString kAmountTyping =
    QStringLiteral("入帳金額只能輸入數字,可有一個負號及一個小數點,最多 %1 個字");
const QString kAmountTooLong = QStringLiteral("入帳金額超過轉帳檔可容納的 %1 位,請重新輸入");
const QString kUnknownItem =
    QStringLiteral("薪資項目「%1」不是轉帳檔可用的項目,請從薪資項目清單中選擇");
const QString kNothingToPost = QStringLiteral("目前沒有新增的入帳資料可寫入,請先按「新增」");
const QString kNoEntryToDelete = QStringLiteral("本員工沒有入帳資料可刪除");
const QString kNoEmployee = QStringLiteral("目前沒有員工資料,請先新增員工再輸入入帳資料");

bool pending(const store::Table& entries) {
  return entries.State() == store::TableState::Insert || entries.State() == store::TableState::Edit;
}

}  // namespace

SalaryMaintainPage::SalaryMaintainPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  // The pick list: exactly the sixteen items that the transfer file knows.
  for (const auto& item : store::defaultSalaryItems()) {
    SalaryItemDBComboBox->addItem(QString::fromStdString(item));
  }
  SalaryItemDBComboBox->setCurrentIndex(-1);
  // The batch send date goes into SENDDATE as typed: it holds what that field can hold.
  const store::TableSchema& salary = store::salarySchema();
  toolkit::limitToField(SendDateEdit, salary.fields[salary.fieldIndex("SENDDATE")]);
}

void SalaryMaintainPage::bind(SalaryWindow* window, toolkit::DataSource* employees,
                              toolkit::DataSource* entries, toolkit::DataSource* items,
                              const std::string& linkFields) {
  window_ = window;
  DBEdit1->setDataField(employees, "NUMBER");
  DBEdit2->setDataField(employees, "ACCOUNT");
  DBEdit3->setDataField(employees, "NAME");
  DBEdit4->setDataField(employees, "ID");
  DBEdit5->setDataField(employees, "MEMO");
  DBEdit5->setMaxBytes(::employees::kMemoBytes);
  EmployeeDateDBEdit->setDataField(entries, "SENDDATE");
  EmployeePayDBEdit->setDataField(entries, "PAY");
  SalaryItemDBComboBox->setDataField(entries, "SALARYITEM");
  EmployeeSalaryItemDBLookupComboBox->setDataField(entries, "SALARYITEM");
  EmployeeSalaryItemDBLookupComboBox->setListSource(items, "SALARYITEM");
  DBGrid1->setMasterLink(&window->employeeTable(), linkFields);
  DBGrid1->setDataSource(entries, {{"NUMBER", QStringLiteral("員工編號")},
                                   {"SENDDATE", QStringLiteral("入帳日")},
                                   {"PAY", QStringLiteral("入帳金額")},
                                   {"SALARYITEM", QStringLiteral("薪資項目")}});
  // A key the amount cannot take (a letter, a separator, a second sign, a 14th character) is
  // refused with a message rather than dropped without a word.
  connect(EmployeePayDBEdit, &QLineEdit::inputRejected, this,
          &SalaryMaintainPage::refuseAmountTyping);

  using toolkit::BitBtn;
  using toolkit::connectGuarded;
  using P = SalaryMaintainPage;
  connectGuarded(SalaryCreatBitBtn, &BitBtn::activated, this, &P::SalaryCreatBitBtnClick);
  connectGuarded(SalaryPostBitBtn, &BitBtn::activated, this, &P::SalaryPostBitBtnClick);
  connectGuarded(SalaryDeleteBitBtn, &BitBtn::activated, this, &P::SalaryDeleteBitBtnClick);
  connectGuarded(SalaryCancelBitBtn, &BitBtn::activated, this, &P::SalaryCancelBitBtnClick);
  connectGuarded(SalaryFirstBitBtn, &BitBtn::activated, this, &P::SalaryFirstBitBtnClick);
  connectGuarded(SalaryPriorBitBtn, &BitBtn::activated, this, &P::SalaryPriorBitBtnClick);
  connectGuarded(SalaryNextBitBtn, &BitBtn::activated, this, &P::SalaryNextBitBtnClick);
  connectGuarded(SalaryLastBitBtn, &BitBtn::activated, this, &P::SalaryLastBitBtnClick);
}

void SalaryMaintainPage::SalaryCreatBitBtnClick() {
  store::Table& employees = window_->employeeTable();
  // Without an employee a new entry would belong to no one.
  if (employees.IsEmpty() || employees.State() != store::TableState::Browse) {
    toolkit::ShowMessage(kNoEmployee);
    return;
  }
  window_->EnableSalaryEdits();
  SalaryItemDBComboBox->setEnabled(true);
  SalaryPostBitBtn->setEnabled(true);
  pay::startEntry(window_->salaryTable(), employees, SendDateEdit->text().toStdString());
  EmployeePayDBEdit->setFocus();
  window_->SetEditButtons();
}

void SalaryMaintainPage::SalaryPostBitBtnClick() {
  store::Table& entries = window_->salaryTable();
  switch (pay::checkEntry(entries)) {
    case pay::EntryCheck::NothingPending:
      toolkit::ShowMessage(kNothingToPost);
      return;
    case pay::EntryCheck::Incomplete:
      toolkit::ShowMessage(kIncomplete);
      return;
    case pay::EntryCheck::AmountTooLong:
      toolkit::ShowMessage(kAmountTooLong.arg(pay::kTransferAmountWidth));
      return;
    case pay::EntryCheck::UnknownItem:
      toolkit::ShowMessage(
          kUnknownItem.arg(QString::fromStdString(entries.FieldByName("SALARYITEM").text())));
      return;
    case pay::EntryCheck::Accepted:
      break;
  }
  if (pay::postEntry(entries) == pay::EntryPosted::Duplicate) {
    toolkit::ShowMessage(kDuplicate);
    return;
  }
  SalaryItemDBComboBox->setEnabled(false);
  EmployeeDateDBEdit->setEnabled(false);
  EmployeePayDBEdit->setEnabled(false);
  SalaryPostBitBtn->setEnabled(false);
}

void SalaryMaintainPage::SalaryDeleteBitBtnClick() {
  store::Table& entries = window_->salaryTable();
  if (!pending(entries) && entries.IsEmpty()) {
    toolkit::ShowMessage(kNoEntryToDelete);
    return;
  }
  if (toolkit::MessageDlg(kConfirmDelete, toolkit::MsgDlgType::Confirmation,
                          toolkit::mbYes | toolkit::mbNo) == toolkit::mrYes) {
    // The entry shown while a new one is open is that new entry: deleting it drops it and
    // leaves every stored entry alone.
    if (pending(entries)) {
      entries.Cancel();
    } else {
      entries.Delete();
    }
  }
  Panel3->setFocus();
  SalaryItemDBComboBox->setEnabled(false);
}

void SalaryMaintainPage::SalaryCancelBitBtnClick() {
  window_->salaryTable().Cancel();
  SalaryItemDBComboBox->setEnabled(false);
  SalaryPostBitBtn->setEnabled(false);
}

template <class Move>
void SalaryMaintainPage::moveEntry(Move move) {
  move(window_->salaryTable());
  SalaryItemDBComboBox->setEnabled(false);
}

void SalaryMaintainPage::SalaryFirstBitBtnClick() {
  moveEntry([](store::Table& t) { t.First(); });
}

void SalaryMaintainPage::SalaryPriorBitBtnClick() {
  moveEntry([](store::Table& t) { t.Prior(); });
}

void SalaryMaintainPage::SalaryNextBitBtnClick() {
  moveEntry([](store::Table& t) { t.Next(); });
}

void SalaryMaintainPage::SalaryLastBitBtnClick() {
  moveEntry([](store::Table& t) { t.Last(); });
}

void SalaryMaintainPage::dropPendingEntry() {
  store::Table& entries = window_->salaryTable();
  if (entries.Active() && pending(entries)) entries.Cancel();
}

void SalaryMaintainPage::refuseAmountTyping() {
  if (EmployeePayDBEdit->isReadOnly()) return;
  toolkit::ShowMessage(kAmountTyping.arg(EmployeePayDBEdit->typingLength()));
}
