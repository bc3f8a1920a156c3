#include "FieldValidator.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "store/Cp950.h"

namespace toolkit {

bool fitsCp950(const QString& text, int widthBytes) {
  auto encoded = store::cp950::encode(text.toStdString());
  if (!encoded.ok()) return false;
  return widthBytes <= 0 || encoded.bytes.size() <= static_cast<size_t>(widthBytes);
}

void limitToField(QLineEdit* edit, store::FieldDef field, int maxBytes) {
  if (field.type == store::FieldType::String && maxBytes > 0 &&
      (field.width <= 0 || maxBytes < field.width)) {
    field.width = maxBytes;
  }
  const QValidator* old = edit->validator();
  edit->setValidator(new FieldValidator(std::move(field), edit));
  if (old && old->parent() == edit) delete old;
}

FieldValidator::FieldValidator(store::FieldDef def, QObject* parent)
    : QValidator(parent), def_(std::move(def)) {}

QValidator::State FieldValidator::validate(QString& input, int&) const {
  if (def_.type == store::FieldType::Currency) {
    static const QRegularExpression number(QStringLiteral("^\\s*-?\\d*\\.?\\d*\\s*$"));
    if (!number.match(input).hasMatch()) return Invalid;
    static const QRegularExpression complete(QStringLiteral("\\d"));
    return input.trimmed().isEmpty() || complete.match(input).hasMatch() ? Acceptable
                                                                         : Intermediate;
  }
  return fitsCp950(input, def_.width) ? Acceptable : Invalid;
}

}  // namespace toolkit
