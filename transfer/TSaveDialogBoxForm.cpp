#include "TSaveDialogBoxForm.h"

TSaveDialogBoxForm* SaveDialogBoxForm = nullptr;

TSaveDialogBoxForm::TSaveDialogBoxForm(store::Session&, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setupUi(this);
  // Placed where its design puts it, not centred.
  move(197, 139);
}
