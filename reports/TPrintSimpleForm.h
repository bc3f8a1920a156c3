#pragma once
// TPrintSimpleForm: the form that holds the list report; never shown. Created once at start-up,
// hidden. So far it carries its caption and size only; its controls and handlers are still to come.

#include <QWidget>

#include "ui_TPrintSimpleForm.h"

namespace store {
class Session;
}

class TPrintSimpleForm : public QWidget, public Ui::TPrintSimpleForm {
  Q_OBJECT

 public:
  explicit TPrintSimpleForm(store::Session& session, QWidget* parent = nullptr);
};

extern TPrintSimpleForm* PrintSimpleForm;
