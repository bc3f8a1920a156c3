#pragma once
// TSaveDialogBoxForm: the transfer diskette dialog. Created once at start-up, hidden. So far it
// carries its caption and size only; its controls and handlers are still to come.

#include <QWidget>

#include "ui_TSaveDialogBoxForm.h"

namespace store {
class Session;
}

class TSaveDialogBoxForm : public QWidget, public Ui::TSaveDialogBoxForm {
  Q_OBJECT

 public:
  explicit TSaveDialogBoxForm(store::Session& session, QWidget* parent = nullptr);
};

extern TSaveDialogBoxForm* SaveDialogBoxForm;
