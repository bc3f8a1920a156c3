#pragma once
// TDelPinForm: the dialog that deletes a user code from pass.DB. Created once at start-up, hidden,
// and shown without blocking by the password page. 確定刪除 refuses an unknown code, and a
// password that is not exactly the user's own (without it, anyone at the keyboard could remove
// every user); otherwise it deletes the row, asking nothing. The last user may be deleted: the
// open main window can still add one, and `salary-admin user add` brings one back. 取  消 only
// closes.

#include "UserDialog.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "ui_TDelPinForm.h"

class TDelPinForm : public UserDialog, public Ui::TDelPinForm {
  Q_OBJECT

 public:
  explicit TDelPinForm(store::Session& session, QWidget* parent = nullptr);

  void DelPinBitBtnOkClick();
  void DelPinBitBtnCancelClick();

  store::Table DelPinTable;
  toolkit::DataSource DataSource1;
};

extern TDelPinForm* DelPinForm;
