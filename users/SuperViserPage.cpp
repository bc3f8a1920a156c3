#include "SuperViserPage.h"

SuperViserPage::SuperViserPage(QWidget* parent) : QWidget(parent) {
  setupUi(this);
}
