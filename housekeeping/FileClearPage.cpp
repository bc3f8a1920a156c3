#include "FileClearPage.h"

#include "HousekeepingRules.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/Busy.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Guard.h"

FileClearPage::FileClearPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  // A month YYMM of SENDDATE: four bytes of what that field can hold.
  const store::TableSchema& salary = store::salarySchema();
  for (QLineEdit* month : {DeleteDateEdit1, DeleteDateEdit2}) {
    toolkit::limitToField(month, salary.fields[salary.fieldIndex("SENDDATE")], 4);
  }
  toolkit::connectGuarded(SelectDelecTabletBitBtn, &toolkit::BitBtn::activated, this,
                          &FileClearPage::SelectDelecTabletBitBtnClick);
  toolkit::connectGuarded(BackupBitBtn, &toolkit::BitBtn::activated, this,
                          &FileClearPage::BackupBitBtnClick);
  toolkit::connectGuarded(BitBtn1, &toolkit::BitBtn::activated, this, &FileClearPage::BitBtn1Click);
  toolkit::connectGuarded(BitBtn4, &toolkit::BitBtn::activated, this, &FileClearPage::BitBtn4Click);
}

void FileClearPage::bind(const FileClearTables& tables) {
  t_ = tables;
}

const QString& FileClearPage::clearQuestion() {
  static const QString text = QStringLiteral(
      " 若資料未作備份,當執行此功能鍵,將會刪除所選擇之資料庫,且無法回復,現在是否 確定刪除 ? ");
  return text;
}

const QString& FileClearPage::purgeQuestion() {
  static const QString text = QStringLiteral(
      " 若資料未作備份,當執行此功能鍵,將會刪除所輸入之月份資料,且無法回復,現在是否 確定刪除 ? ");
  return text;
}

namespace {

// A copy in place whose folder could not be synced is not a plain success: the clerk is told.
void tellWarning(const std::string& warning) {
  if (!warning.empty()) toolkit::ShowMessage(QString::fromStdString(warning));
}

bool confirmed(const QString& question) {
  return toolkit::MessageDlg(question, toolkit::MsgDlgType::Confirmation,
                             toolkit::mbYes | toolkit::mbNo) == toolkit::mrYes;
}

}  // namespace

void FileClearPage::SelectDelecTabletBitBtnClick() {
  using housekeeping::ClearChoice;
  const int index = SelectDeleteComboBox->currentIndex();
  if (index == static_cast<int>(ClearChoice::EmployeesAndEntries) && confirmed(clearQuestion())) {
    housekeeping::clearTables(*t_.EmployeeBasicTable, *t_.EmployeeSalaryTable,
                              ClearChoice::EmployeesAndEntries);
  }
  if (index == static_cast<int>(ClearChoice::EntriesOnly) && confirmed(clearQuestion())) {
    housekeeping::clearTables(*t_.EmployeeBasicTable, *t_.EmployeeSalaryTable,
                              ClearChoice::EntriesOnly);
  }
}

void FileClearPage::BackupBitBtnClick() {
  const int index = BackupComboBox->currentIndex();
  if (index < 0 || index >= housekeeping::kBackupPairs) return;
  toolkit::Busy busy(BackupBitBtn);
  tellWarning(housekeeping::backup(*t_.BatchMove1, *t_.SaveTables[index], *t_.DestTables[index],
                                   housekeeping::backupPair(index)));
}

void FileClearPage::BitBtn1Click() {
  store::Table& dates = *t_.DeleteSalaryDateTable;
  dates.Close();
  dates.Open();
  dates.First();
  dates.Close();
  dates.SetIndexFieldNames("SENDDATE");
  dates.Open();
  const std::string start = DeleteDateEdit1->text().toStdString();
  const std::string end = DeleteDateEdit2->text().toStdString();
  dates.SetRangeStart();
  dates.FieldByName("SENDDATE").setText(start);
  dates.SetRangeEnd();
  dates.FieldByName("SENDDATE").setText(end);
  dates.ApplyRange();
  if (confirmed(purgeQuestion())) {
    // One statement over the range instead of one Delete per row: all of it or none of it.
    housekeeping::purgeMonths(dates.session(), start, end);
    dates.Refresh();
  }
  DeleteDateEdit1->clear();
  DeleteDateEdit2->clear();
}

void FileClearPage::BitBtn4Click() {
  const int index = RecoverComboBox->currentIndex();
  if (index < 0 || index >= housekeeping::kBackupPairs) return;
  // The window's own objects on the file are closed around the replacement.
  std::vector<store::Table*> holders{t_.EmployeeBasicTable, t_.EmployeeSalaryTable,
                                     t_.DeleteSalaryDateTable};
  for (store::Table* t : t_.SaveTables) holders.push_back(t);
  toolkit::Busy busy(BitBtn4);
  tellWarning(housekeeping::restore(*t_.BatchMove1, *t_.RecoverSaveTables[index],
                                    *t_.DestTables[index], housekeeping::backupPair(index),
                                    holders));
}
