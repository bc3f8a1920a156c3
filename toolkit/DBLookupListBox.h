#pragma once
// DBLookupListBox: a list of the values of one field of every row of a table (the list
// source), in the table's order, with the table's current row marked. Clicking an item moves
// the list table to the row of that value (the box is bound to no field of its own).

#include <QListWidget>
#include <QPointer>
#include <string>

#include "DataSource.h"

namespace toolkit {

class DBLookupListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit DBLookupListBox(QWidget* parent = nullptr);
  void setListSource(DataSource* list, const std::string& listField);

 private:
  void reload();
  void markCurrent();
  void choose(QListWidgetItem* item);

  QPointer<DataSource> list_;
  std::string listField_;
};

}  // namespace toolkit
