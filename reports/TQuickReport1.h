#pragma once
// TQuickReport1: the detailed report (an A4 page at 96 dots per inch). Created once at start-up,
// hidden. So far it carries its caption and size only; its controls and handlers are still to come.

#include <QWidget>

#include "ui_TQuickReport1.h"

namespace store {
class Session;
}

class TQuickReport1 : public QWidget, public Ui::TQuickReport1 {
  Q_OBJECT

 public:
  explicit TQuickReport1(store::Session& session, QWidget* parent = nullptr);
};

extern TQuickReport1* QuickReport1;
