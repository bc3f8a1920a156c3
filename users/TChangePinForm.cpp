#include "TChangePinForm.h"

#include "toolkit/Guard.h"

TChangePinForm* ChangePinForm = nullptr;

TChangePinForm::TChangePinForm(store::Session& session, QWidget* parent)
    : UserDialog(parent),
      OldPinChangeTable(session, "pass.DB"),
      NewPinChangeTable(session, "pass.DB"),
      DataSource1(OldPinChangeTable),
      DataSource2(NewPinChangeTable) {
  setupUi(this);
  OldPinChangeTable.SetIndexFieldNames("USERID");
  NewPinChangeTable.SetIndexFieldNames("USERID");
  // Placed where its design puts it, not centred.
  move(-4, -4);
  prepare({{ChangeOldUserEdit, "USERID"},
           {ChangeNewUserEdit, "USERID"},
           {ChangePinEdit, "PASSWORD"},
           {ChangePinAgainEdit, "PASSWORD"}});
  toolkit::connectGuarded(ChangePinBitBtnOk, &toolkit::BitBtn::activated, this,
                          &TChangePinForm::ChangePinBitBtnOkClick);
  toolkit::connectGuarded(ChangePinBitBtnCancel, &toolkit::BitBtn::activated, this,
                          &TChangePinForm::ChangePinBitBtnCancelClick);
}

void TChangePinForm::ChangePinBitBtnOkClick() {
  report(users::changeUser(
             OldPinChangeTable, NewPinChangeTable, ChangeOldUserEdit->text().toStdString(),
             ChangeNewUserEdit->text().toStdString(), ChangePinEdit->text().toStdString(),
             ChangePinAgainEdit->text().toStdString()),
         QStringLiteral("變更使用者代碼及密碼成功"));
}

void TChangePinForm::ChangePinBitBtnCancelClick() {
  closeAndClear();
}
