#include "TCreatPinForm.h"

TCreatPinForm* CreatPinForm = nullptr;

TCreatPinForm::TCreatPinForm(store::Session&, QWidget* parent) : QDialog(parent) {
  setupUi(this);
}
