#include "TChangePinForm.h"

TChangePinForm* ChangePinForm = nullptr;

TChangePinForm::TChangePinForm(store::Session&, QWidget* parent) : QDialog(parent) {
  setupUi(this);
  // Placed where its design puts it, not centred.
  move(-4, -4);
}
