#pragma once
// DBEdit: an edit box showing one field of a data source's current row.
//
// Typing is possible only while the table is in insert or edit state (and the edit is
// enabled); each change is written into the row buffer at once. A string field limits input by
// its width in code page 950 bytes and refuses characters that code page 950 cannot hold; a
// currency field accepts a signed decimal number. The character limit of the form (maxLength)
// applies as well.

#include <QLineEdit>
#include <QPointer>
#include <string>

#include "DataSource.h"

namespace toolkit {

class DBEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(bool upperCase READ upperCase WRITE setUpperCase)

 public:
  explicit DBEdit(QWidget* parent = nullptr);

  void setDataField(DataSource* source, const std::string& fieldName);
  DataSource* dataSource() const { return source_; }
  const std::string& dataField() const { return field_; }

  // Typed letters become upper case (the form's character case setting).
  bool upperCase() const { return upperCase_; }
  void setUpperCase(bool on) { upperCase_ = on; }

 protected:
  void changeEvent(QEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void follow(store::TableEvent event);
  void showField();
  void write(const QString& text);

  QPointer<DataSource> source_;
  std::string field_;
  bool upperCase_ = false;
  bool writing_ = false;
};

}  // namespace toolkit
