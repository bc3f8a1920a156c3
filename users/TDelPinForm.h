#pragma once
// TDelPinForm: the dialog that deletes a user code and password. Created once at start-up, hidden.
// So far it carries its caption and size only; its controls and handlers are still to come.

#include <QDialog>

#include "ui_TDelPinForm.h"

namespace store {
class Session;
}

class TDelPinForm : public QDialog, public Ui::TDelPinForm {
  Q_OBJECT

 public:
  explicit TDelPinForm(store::Session& session, QWidget* parent = nullptr);
};

extern TDelPinForm* DelPinForm;
