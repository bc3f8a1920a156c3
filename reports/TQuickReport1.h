#pragma once
// TQuickReport1: the detailed report ("詳細列印"): every employee of basic.DB in number order
// with the batch rows of temp.DB under him and his total, then the batch's count and total.
// Created once at start-up, after the login dialog, opening its tables then; never shown
// itself: Preview opens the report's preview window, Print sends it to the default printer.

#include <QWidget>

#include "reports/QuickRep.h"
#include "reports/SalaryReport.h"
#include "ui_TQuickReport1.h"

class TQuickReport1 : public QWidget, public Ui::TQuickReport1, public reports::DetailedReport {
  Q_OBJECT

 public:
  explicit TQuickReport1(store::Session& session, QWidget* parent = nullptr);

  void Preview() { quickRep_.Preview(); }
  void Print() { quickRep_.Print(); }
  reports::QuickRep& quickRep() { return quickRep_; }

 private:
  reports::QuickRep quickRep_;
};

extern TQuickReport1* QuickReport1;
