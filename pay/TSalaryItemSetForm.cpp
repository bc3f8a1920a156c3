#include "TSalaryItemSetForm.h"

TSalaryItemSetForm* SalaryItemSetForm = nullptr;

TSalaryItemSetForm::TSalaryItemSetForm(store::Session&, QWidget* parent) : QDialog(parent) {
  setupUi(this);
}
