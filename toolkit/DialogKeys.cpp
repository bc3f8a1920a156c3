#include "DialogKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "BitBtn.h"

namespace toolkit {

namespace {

template <class Pred>
BitBtn* firstButton(QWidget* form, Pred pred) {
  for (auto* b : form->findChildren<BitBtn*>()) {
    if (b->isVisible() && b->isEnabled() && pred(b)) return b;
  }
  return nullptr;
}

}  // namespace

DialogKeys* DialogKeys::install(QWidget* form) {
  return new DialogKeys(form);
}

DialogKeys::DialogKeys(QWidget* form) : QObject(form), form_(form) {
  qApp->installEventFilter(this);
}

BitBtn* DialogKeys::cancelButton() const {
  return firstButton(form_, [](BitBtn* b) { return b->cancel(); });
}

BitBtn* DialogKeys::defaultButton() const {
  return firstButton(form_, [](BitBtn* b) { return b->defaultButton(); });
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != form_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;

  if (key->key() == Qt::Key_Escape) {
    if (BitBtn* b = cancelButton()) {
      b->press();
      return true;
    }
  } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    auto* focused = qobject_cast<QAbstractButton*>(form_->focusWidget());
    if (focused && focused->isVisible() && focused->isEnabled()) {
      focused->click();
      return true;
    }
    if (BitBtn* b = defaultButton()) {
      b->press();
      return true;
    }
  }
  return false;
}

}  // namespace toolkit
