#pragma once
// TChangePinForm: the dialog that changes a user code and password. Created once at start-up,
// hidden. So far it carries its caption and size only; its controls and handlers are still to come.

#include <QDialog>

#include "ui_TChangePinForm.h"

namespace store {
class Session;
}

class TChangePinForm : public QDialog, public Ui::TChangePinForm {
  Q_OBJECT

 public:
  explicit TChangePinForm(store::Session& session, QWidget* parent = nullptr);
};

extern TChangePinForm* ChangePinForm;
