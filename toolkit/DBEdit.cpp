#include "DBEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QScopedValueRollback>
#include <algorithm>

#include "FieldValidator.h"
#include "FontsAndFormats.h"
#include "Guard.h"
#include "store/EngineError.h"

namespace toolkit {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  connect(this, &QLineEdit::textEdited, this,
          [this](const QString& text) { runGuarded([&] { write(text); }); });
}

void DBEdit::setDataField(DataSource* source, const std::string& fieldName) {
  if (source_) disconnect(source_, nullptr, this, nullptr);
  source_ = source;
  field_ = fieldName;
  if (source_) {
    connect(source_, &DataSource::changed, this, &DBEdit::follow);
    // The field's structure is known once the table has a name; a field the table lacks is
    // a fault of the form and shows at once.
    if (source_->table().schema().fieldIndex(field_) < 0) {
      throw store::EngineError::of(store::EngineError::Code::UnknownField,
                                   source_->table().TableName(), field_);
    }
    if (typingLength_ < 0) typingLength_ = maxLength();
    limitInput();
  }
  showField();
}

void DBEdit::setMaxBytes(int bytes) {
  maxBytes_ = bytes;
  if (source_) limitInput();
}

void DBEdit::limitInput() {
  const store::TableSchema& schema = source_->table().schema();
  limitToField(this, schema.fields[schema.fieldIndex(field_)], maxBytes_);
}

void DBEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      selectAll();
      break;
    default:
      break;
  }
}

void DBEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) showField();
}

// Qt hands committed input-method text to a line edit even when it is read-only or disabled;
// such text must not reach the row.
void DBEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (isReadOnly() || !isEnabled()) {
    event->ignore();
    return;
  }
  QLineEdit::inputMethodEvent(event);
}

void DBEdit::follow(store::TableEvent event) {
  if (event == store::TableEvent::FieldChanged && writing_) return;
  showField();
}

void DBEdit::showField() {
  bool editing = source_ && source_->editing();
  setReadOnly(!editing);
  QString text = source_ ? source_->fieldText(field_) : QString();
  const bool amount = !editing && !text.isEmpty() &&
                      source_->table().FieldByName(field_).type() == store::FieldType::Currency;
  if (amount) text = currencyText(source_->table().FieldByName(field_).number());
  if (text != this->text()) {
    // Lifted while the text is replaced: a limit must cut neither the text going nor the one
    // coming (a cut also reads as a refused key).
    if (typingLength_ >= 0) setMaxLength(32767);
    setText(text);
  }
  fitTypingLength(text);
}

// The form's character limit is for typing. A value the program shows (a formatted amount, an
// amount copied forward from an entry stored by other means) is shown whole: the clerk must see
// what the field holds and 寫入 judges, not its first characters. The limit follows the text
// down again as the clerk shortens it.
void DBEdit::fitTypingLength(const QString& shown) {
  if (typingLength_ >= 0) setMaxLength(std::max(typingLength_, static_cast<int>(shown.size())));
}

void DBEdit::write(const QString& typed) {
  if (!source_ || !source_->editing() || !isEnabled()) return;
  QString text = typed;
  if (upperCase_ && text != text.toUpper()) {
    int pos = cursorPosition();
    text = text.toUpper();
    setText(text);
    setCursorPosition(pos);
  }
  fitTypingLength(text);
  auto field = source_->table().FieldByName(field_);
  const QScopedValueRollback<bool> writing(writing_, true);
  if (field.type() == store::FieldType::Currency) {
    double value = 0;
    if (store::parseNumber(text.trimmed().toStdString(), value)) {
      field.setNumber(value);
    } else {
      field.clear();  // "", "-" or "." while the number is being typed
    }
  } else {
    field.setText(text.toStdString());
  }
}

}  // namespace toolkit
