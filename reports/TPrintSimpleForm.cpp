#include "TPrintSimpleForm.h"

TPrintSimpleForm* PrintSimpleForm = nullptr;

TPrintSimpleForm::TPrintSimpleForm(store::Session&, QWidget* parent) : QWidget(parent, Qt::Window) {
  setupUi(this);
}
