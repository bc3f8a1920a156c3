#include "DBComboBox.h"

#include <QKeyEvent>

#include "Guard.h"

namespace toolkit {

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this,
          [this](int index) { runGuarded([&] { write(index); }); });
}

void DBComboBox::setDataField(DataSource* source, const std::string& fieldName) {
  if (source_) disconnect(source_, nullptr, this, nullptr);
  source_ = source;
  field_ = fieldName;
  if (source_) connect(source_, &DataSource::changed, this, [this] { showField(); });
  showField();
}

void DBComboBox::showField() {
  QString text = source_ ? source_->fieldText(field_) : QString();
  setCurrentIndex(text.isEmpty() ? -1 : findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void DBComboBox::write(int index) {
  if (!editing()) {
    showField();
    return;
  }
  source_->table().FieldByName(field_).setText(itemText(index).toStdString());
}

void DBComboBox::mousePressEvent(QMouseEvent* event) {
  if (editing()) QComboBox::mousePressEvent(event);
}

void DBComboBox::keyPressEvent(QKeyEvent* event) {
  if (editing()) {
    QComboBox::keyPressEvent(event);
  } else {
    event->ignore();  // Enter and Esc still reach the form
  }
}

void DBComboBox::wheelEvent(QWheelEvent* event) {
  if (editing()) QComboBox::wheelEvent(event);
}

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : DBComboBox(parent) {}

void DBLookupComboBox::setListSource(DataSource* list, const std::string& listField) {
  if (list_) disconnect(list_, nullptr, this, nullptr);
  list_ = list;
  listField_ = listField;
  if (list_) {
    connect(list_, &DataSource::changed, this, [this](store::TableEvent event) {
      if (event != store::TableEvent::RowChanged && event != store::TableEvent::FieldChanged) {
        runGuarded([this] { reload(); });
      }
    });
  }
  reload();
}

void DBLookupComboBox::reload() {
  clear();
  if (list_ && list_->hasTable()) addItems(readColumn(list_->table(), listField_));
  showField();
}

QStringList readColumn(store::Table& table, const std::string& fieldName) {
  QStringList values;
  if (!table.Active()) return values;
  store::Table cursor(table.session(), table.TableName());
  cursor.SetIndexFieldNames(table.IndexFieldNames());
  cursor.Open();
  auto field = cursor.FieldByName(fieldName);
  for (cursor.First(); !cursor.Eof(); cursor.Next()) {
    values << QString::fromStdString(field.text());
  }
  return values;
}

}  // namespace toolkit
