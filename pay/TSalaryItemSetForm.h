#pragma once
// TSalaryItemSetForm: the salary item catalogue dialog. Created once at start-up, hidden. So far it
// carries its caption and size only; its controls and handlers are still to come.

#include <QDialog>

#include "ui_TSalaryItemSetForm.h"

namespace store {
class Session;
}

class TSalaryItemSetForm : public QDialog, public Ui::TSalaryItemSetForm {
  Q_OBJECT

 public:
  explicit TSalaryItemSetForm(store::Session& session, QWidget* parent = nullptr);
};

extern TSalaryItemSetForm* SalaryItemSetForm;
