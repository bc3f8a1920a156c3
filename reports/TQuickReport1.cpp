#include "TQuickReport1.h"

TQuickReport1* QuickReport1 = nullptr;

TQuickReport1::TQuickReport1(store::Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), reports::DetailedReport(session), quickRep_(*this, this) {
  setupUi(this);
}
