#include "FileTansferPage.h"

#include "TSaveDialogBoxForm.h"
#include "toolkit/Guard.h"

FileTansferPage::FileTansferPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  toolkit::connectGuarded(SaveFileBitBtn, &toolkit::BitBtn::activated, this,
                          &FileTansferPage::SaveFileBitBtnClick);
  connect(PrintRadioGroup, &toolkit::RadioGroup::clicked, this,
          &FileTansferPage::PrintRadioGroupClick);
}

void FileTansferPage::SaveFileBitBtnClick() {
  SaveDialogBoxForm->show();
  SaveDialogBoxForm->raise();
  SaveDialogBoxForm->activateWindow();
}

// The choice is read only when a report is asked for.
void FileTansferPage::PrintRadioGroupClick() {}
