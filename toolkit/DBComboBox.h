#pragma once
// DBComboBox: a drop-down pick list (its items set in the form) showing one field of a data
// source's current row: the item equal to the field's text, or nothing when no item is.
// Choosing an item writes it into the field; choosing is possible only while the table is in
// insert or edit state and the box is enabled.

#include <QComboBox>
#include <QPointer>
#include <string>

#include "DataSource.h"

namespace toolkit {

class DBComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit DBComboBox(QWidget* parent = nullptr);

  void setDataField(DataSource* source, const std::string& fieldName);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // Shows the field again (the items may come from elsewhere).
  void showField();
  bool editing() const { return source_ && source_->editing(); }

 private:
  void write(int index);

  QPointer<DataSource> source_;
  std::string field_;
};

// DBLookupComboBox: a DBComboBox whose items are the values of one field of every row of
// another table (the list source), in that table's order, read again whenever the list
// table is opened or changed.
class DBLookupComboBox : public DBComboBox {
  Q_OBJECT

 public:
  explicit DBLookupComboBox(QWidget* parent = nullptr);
  void setListSource(DataSource* list, const std::string& listField);

 private:
  void reload();
  QPointer<DataSource> list_;
  std::string listField_;
};

// Reads one field of every row of `table`'s file, in the order of its index, through a cursor
// of its own (the table's current row does not move). Empty when the table is closed.
QStringList readColumn(store::Table& table, const std::string& fieldName);

}  // namespace toolkit
