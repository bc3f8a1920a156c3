#pragma once
// TCreatPinForm: the dialog that adds a user code and password to pass.DB. Created once at
// start-up, hidden, and shown without blocking by the password page. 確定 refuses a code that
// exists (letter case counts: "Admin" is not "admin"), two passwords that differ and an empty code
// or password, in this order, and otherwise stores the user; 取消 only closes.

#include "UserDialog.h"
#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "ui_TCreatPinForm.h"

class TCreatPinForm : public UserDialog, public Ui::TCreatPinForm {
  Q_OBJECT

 public:
  explicit TCreatPinForm(store::Session& session, QWidget* parent = nullptr);

  void CreatUserPinBitBtnOkClick();
  void CreatUserPinBitBtnCancelClick();

  store::Table PinChangeTable;
  toolkit::DataSource DataSource1;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

extern TCreatPinForm* CreatPinForm;
