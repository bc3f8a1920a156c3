#pragma once
// TPrintSimpleForm: the form that holds the list report ("條列式") SimpleQuickRep2: one line per
// batch row of temp.DB in key order, then the batch's count and total. Created once at
// start-up, after the login dialog, opening its table then; never shown.

#include <QWidget>

#include "reports/QuickRep.h"
#include "reports/SalaryReport.h"
#include "ui_TPrintSimpleForm.h"

class TPrintSimpleForm : public QWidget, public Ui::TPrintSimpleForm, public reports::ListReport {
  Q_OBJECT

 public:
  explicit TPrintSimpleForm(store::Session& session, QWidget* parent = nullptr);

  reports::QuickRep SimpleQuickRep2;
};

extern TPrintSimpleForm* PrintSimpleForm;
