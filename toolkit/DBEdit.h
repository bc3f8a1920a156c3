#pragma once
// DBEdit: an edit box showing one field of a data source's current row.
//
// Typing is possible only while the table is in insert or edit state (and the edit is
// enabled); each change is written into the row buffer at once. A string field limits input by
// its width in code page 950 bytes (or by maxBytes, where the form keeps it narrower) and refuses
// characters that code page 950 cannot hold; a currency field accepts a signed decimal number.
// The character limit of the form (maxLength) applies to typing as well, never to a value the
// program shows: that is shown whole.
//
// A currency field shows in the program's currency format while the row is browsed, and as
// plain digits while it is being typed.

#include <QLineEdit>
#include <QPointer>
#include <string>

#include "DataSource.h"

namespace toolkit {

class DBEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(bool upperCase READ upperCase WRITE setUpperCase)
  Q_PROPERTY(int maxBytes READ maxBytes WRITE setMaxBytes)

 public:
  explicit DBEdit(QWidget* parent = nullptr);

  void setDataField(DataSource* source, const std::string& fieldName);
  DataSource* dataSource() const { return source_; }
  const std::string& dataField() const { return field_; }

  // Typed letters become upper case (the form's character case setting).
  bool upperCase() const { return upperCase_; }
  void setUpperCase(bool on) { upperCase_ = on; }

  // The most code page 950 bytes typing may put into a string field, where the form allows
  // fewer than the field holds; 0: the field's width.
  int maxBytes() const { return maxBytes_; }
  void setMaxBytes(int bytes);

  // The most characters typing may leave in the edit (the form's maxLength; -1: no field bound
  // yet). maxLength() itself may be longer while a longer value is shown.
  int typingLength() const { return typingLength_; }

 protected:
  void changeEvent(QEvent* event) override;
  // Focus given by the program or the keyboard selects the whole text, so that what the clerk
  // types replaces a value put there (an amount copied forward) instead of adding to it; a click
  // places the cursor, and a window coming back to the front keeps it where it was.
  void focusInEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void follow(store::TableEvent event);
  void showField();
  void write(const QString& text);
  void limitInput();
  void fitTypingLength(const QString& shown);

  QPointer<DataSource> source_;
  std::string field_;
  bool upperCase_ = false;
  int maxBytes_ = 0;
  int typingLength_ = -1;  // the form's maxLength, lifted while a longer value is shown
  bool writing_ = false;
};

}  // namespace toolkit
