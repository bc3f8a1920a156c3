#pragma once
// TChangePinForm: the dialog that gives a user code a new code and a new password. Created once
// at start-up, hidden, and shown without blocking by the password page. 確定 looks both codes up
// first, then refuses an unknown existing code, a new code that exists (the existing code itself
// included: a password changes only together with the code), two passwords that differ and an
// empty new code or password, in this order; otherwise the old row is replaced by the new one in
// one transaction. No old password is asked for. 取消 only closes.

#include "UserDialog.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "ui_TChangePinForm.h"

class TChangePinForm : public UserDialog, public Ui::TChangePinForm {
  Q_OBJECT

 public:
  explicit TChangePinForm(store::Session& session, QWidget* parent = nullptr);

  void ChangePinBitBtnOkClick();
  void ChangePinBitBtnCancelClick();

  store::Table OldPinChangeTable;
  store::Table NewPinChangeTable;
  toolkit::DataSource DataSource1;
  toolkit::DataSource DataSource2;
};

extern TChangePinForm* ChangePinForm;
