#include "TPrintSimpleForm.h"

TPrintSimpleForm* PrintSimpleForm = nullptr;

TPrintSimpleForm::TPrintSimpleForm(store::Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), reports::ListReport(session), SimpleQuickRep2(*this, this) {
  setupUi(this);
}
