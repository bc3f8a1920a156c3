#include "TQuickReport1.h"

TQuickReport1* QuickReport1 = nullptr;

TQuickReport1::TQuickReport1(store::Session&, QWidget* parent) : QWidget(parent, Qt::Window) {
  setupUi(this);
}
