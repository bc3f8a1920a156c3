#include "TDelPinForm.h"

TDelPinForm* DelPinForm = nullptr;

TDelPinForm::TDelPinForm(store::Session&, QWidget* parent) : QDialog(parent) {
  setupUi(this);
  // Placed where its design puts it, not centred.
  move(210, 168);
}
