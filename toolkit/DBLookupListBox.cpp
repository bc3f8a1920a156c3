#include "DBLookupListBox.h"

#include "DBComboBox.h"
#include "Guard.h"

namespace toolkit {

DBLookupListBox::DBLookupListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { runGuarded([&] { choose(item); }); });
}

void DBLookupListBox::setListSource(DataSource* list, const std::string& listField) {
  if (list_) disconnect(list_, nullptr, this, nullptr);
  list_ = list;
  listField_ = listField;
  if (list_) {
    connect(list_, &DataSource::changed, this, [this](store::TableEvent event) {
      runGuarded([&] {
        if (event == store::TableEvent::RowChanged) {
          markCurrent();
        } else if (event != store::TableEvent::FieldChanged) {
          reload();
        }
      });
    });
  }
  reload();
}

void DBLookupListBox::reload() {
  clear();
  if (list_ && list_->hasTable()) addItems(readColumn(list_->table(), listField_));
  markCurrent();
}

void DBLookupListBox::markCurrent() {
  QString current = list_ ? list_->fieldText(listField_) : QString();
  const auto found = findItems(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (current.isEmpty() || found.isEmpty()) {
    setCurrentRow(-1);
  } else {
    setCurrentItem(found.front());
  }
}

void DBLookupListBox::choose(QListWidgetItem* item) {
  if (!list_ || !list_->hasTable() || !item) return;
  list_->table().Locate(listField_, item->text().toStdString(), store::NoLocateOptions);
  markCurrent();
}

}  // namespace toolkit
