#include "FileTansferPage.h"

FileTansferPage::FileTansferPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
}
