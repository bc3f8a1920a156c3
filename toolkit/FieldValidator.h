#pragma once
// FieldValidator: what an edit may hold for a field of a table: for a string field, text that
// code page 950 can hold in at most the field's width in bytes; for a currency field, a signed
// decimal number (typing stops at the first character that breaks these rules).

#include <QValidator>

class QLineEdit;

#include "store/Schema.h"

namespace toolkit {

class FieldValidator : public QValidator {
  Q_OBJECT

 public:
  FieldValidator(store::FieldDef def, QObject* parent);
  State validate(QString& input, int& pos) const override;

 private:
  store::FieldDef def_;
};

// Limits what `edit` takes by typing to what `field` can hold: for a string field, its width in
// code page 950 bytes, narrowed to `maxBytes` when that is given and smaller (a Chinese character
// takes two of them); for a currency field, a signed decimal number. The one way every edit of
// the program is limited, data-bound or not.
void limitToField(QLineEdit* edit, store::FieldDef field, int maxBytes = 0);

// True when code page 950 can hold `text` within `widthBytes` bytes (0: no width limit).
bool fitsCp950(const QString& text, int widthBytes);

}  // namespace toolkit
