#pragma once
// TCreatPinForm: the dialog that adds a user code and password. Created once at start-up, hidden.
// So far it carries its caption and size only; its controls and handlers are still to come.

#include <QDialog>

#include "ui_TCreatPinForm.h"

namespace store {
class Session;
}

class TCreatPinForm : public QDialog, public Ui::TCreatPinForm {
  Q_OBJECT

 public:
  explicit TCreatPinForm(store::Session& session, QWidget* parent = nullptr);
};

extern TCreatPinForm* CreatPinForm;
