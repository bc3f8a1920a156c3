#include "Busy.h"

#include <QApplication>
#include <QWidget>

namespace toolkit {

Busy::Busy(QWidget* button) : button_(button) {
  button_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

Busy::~Busy() {
  QApplication::restoreOverrideCursor();
  button_->setEnabled(true);
}

}  // namespace toolkit
