#include "SuperViserPage.h"

#include "TChangePinForm.h"
#include "TCreatPinForm.h"
#include "TDelPinForm.h"
#include "toolkit/Guard.h"

namespace {

void showInFront(QWidget* form) {
  form->show();
  form->raise();
  form->activateWindow();
}

}  // namespace

SuperViserPage::SuperViserPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  toolkit::connectGuarded(PinCreatButton, &toolkit::BitBtn::activated, this,
                          &SuperViserPage::PinCreatButtonClick);
  toolkit::connectGuarded(PinChangeButton, &toolkit::BitBtn::activated, this,
                          &SuperViserPage::PinChangeButtonClick);
  toolkit::connectGuarded(DelUserPinButton, &toolkit::BitBtn::activated, this,
                          &SuperViserPage::DelUserPinButtonClick);
}

void SuperViserPage::PinCreatButtonClick() {
  showInFront(CreatPinForm);
}

void SuperViserPage::PinChangeButtonClick() {
  showInFront(ChangePinForm);
}

void SuperViserPage::DelUserPinButtonClick() {
  showInFront(DelPinForm);
}
