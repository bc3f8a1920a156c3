#include "TSalaryItemSetForm.h"

#include "SalaryItemRules.h"
#include "store/DataFolder.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Forms.h"
#include "toolkit/Guard.h"

TSalaryItemSetForm* SalaryItemSetForm = nullptr;

namespace {

const QString kAlreadyThere = QStringLiteral("本薪資項目已存在,請重新輸入");
const QString kAdded = QStringLiteral("設定成功");
const QString kTooWide =
    QStringLiteral("薪資項目最多 %1 個位元組(%2 個中文字或 %1 個英數字),請重新輸入");
const QString kNotCp950 = QStringLiteral("薪資項目含有無法儲存的字元,請重新輸入");
const QString kNothingToDelete = QStringLiteral("目前沒有薪資項目可刪除");

}  // namespace

TSalaryItemSetForm::TSalaryItemSetForm(store::Session& session, QWidget* parent)
    : QDialog(parent), SalaryItemSetTable1(session, "item.DB"), DataSource1(SalaryItemSetTable1) {
  setupUi(this);
  setStyleSheet(QStringLiteral("TSalaryItemSetForm { background-color: %1; }")
                    .arg(palette().color(QPalette::Dark).name()));
  setWindowState(Qt::WindowMaximized);
  SalaryItemSetTable1.SetIndexFieldNames("SalaryItem");
  if (store::databaseAlias() != "MIRUVIRUDI3") SalaryItemSetTable1.Open();
  DBLookupListBox1->setListSource(&DataSource1, "SALARYITEM");
  SalaryItemSetEdit->setFocus();

  toolkit::prepareForm(this);
  using toolkit::BitBtn;
  using toolkit::connectGuarded;
  using F = TSalaryItemSetForm;
  connectGuarded(BitBtn1, &BitBtn::activated, this, &F::BitBtn1Click);
  connectGuarded(DeleteSalaryItemSetBitBtn, &BitBtn::activated, this,
                 &F::DeleteSalaryItemSetBitBtnClick);
  connectGuarded(BitBtn2, &BitBtn::activated, this, &F::BitBtn2Click);
  connectGuarded(BitBtn3, &BitBtn::activated, this, &F::BitBtn2Click);
}

void TSalaryItemSetForm::BitBtn1Click() {
  const std::string text = SalaryItemSetEdit->text().toStdString();
  // Refused texts stay in the edit so that the clerk can correct them.
  switch (pay::checkItemText(text)) {
    case pay::ItemText::NotCp950:
      toolkit::ShowMessage(kNotCp950);
      return;
    case pay::ItemText::TooWide:
      toolkit::ShowMessage(kTooWide.arg(pay::itemTextWidth()).arg(pay::itemTextWidth() / 2));
      return;
    case pay::ItemText::Fits:
      break;
  }
  if (pay::addSalaryItem(SalaryItemSetTable1, text) == pay::ItemAdded::AlreadyThere) {
    toolkit::ShowMessage(kAlreadyThere);
    close();
    SalaryItemSetEdit->clear();
    return;
  }
  SalaryItemSetEdit->clear();
  toolkit::ShowMessage(kAdded);
}

void TSalaryItemSetForm::DeleteSalaryItemSetBitBtnClick() {
  if (!pay::deleteSalaryItem(SalaryItemSetTable1)) toolkit::ShowMessage(kNothingToDelete);
}

void TSalaryItemSetForm::BitBtn2Click() {
  close();
  SalaryItemSetEdit->clear();
}
