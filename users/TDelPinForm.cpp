#include "TDelPinForm.h"

#include "toolkit/Guard.h"

TDelPinForm* DelPinForm = nullptr;

TDelPinForm::TDelPinForm(store::Session& session, QWidget* parent)
    : UserDialog(parent), DelPinTable(session, "pass.DB"), DataSource1(DelPinTable) {
  setupUi(this);
  DelPinTable.SetIndexFieldNames("USERID");
  // Placed where its design puts it, not centred.
  move(210, 168);
  prepare({{DelUserEdit, "USERID"}, {DelPinEdit, "PASSWORD"}});
  toolkit::connectGuarded(DelPinBitBtnOk, &toolkit::BitBtn::activated, this,
                          &TDelPinForm::DelPinBitBtnOkClick);
  toolkit::connectGuarded(DelPinBitBtnCancel, &toolkit::BitBtn::activated, this,
                          &TDelPinForm::DelPinBitBtnCancelClick);
}

void TDelPinForm::DelPinBitBtnOkClick() {
  report(users::deleteUser(DelPinTable, DelUserEdit->text().toStdString(),
                           DelPinEdit->text().toStdString()),
         QStringLiteral("使用者代碼及密碼刪除成功"));
}

void TDelPinForm::DelPinBitBtnCancelClick() {
  closeAndClear();
}
