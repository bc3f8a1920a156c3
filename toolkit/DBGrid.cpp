#include "DBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

#include "Dialogs.h"
#include "Guard.h"

namespace toolkit {

namespace {

QString cellText(store::Field field) {
  if (field.type() == store::FieldType::Currency && !field.isNull()) {
    return QLocale().toCurrencyString(field.number());
  }
  return QString::fromStdString(field.text());
}

const QString kRowGone = QStringLiteral("此筆資料已被刪除或修改,表格已重新讀取");

}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableWidget(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

DBGrid::~DBGrid() = default;

void DBGrid::setDataSource(DataSource* source, std::vector<Column> columns) {
  if (source_) disconnect(source_, nullptr, this, nullptr);
  source_ = source;
  columns_ = std::move(columns);
  setColumnCount(static_cast<int>(columns_.size()));
  QStringList titles;
  for (const auto& c : columns_) titles << c.title;
  setHorizontalHeaderLabels(titles);
  if (source_) connect(source_, &DataSource::changed, this, &DBGrid::follow);
  reload();
}

void DBGrid::setMasterLink(store::Table* master, const std::string& masterFields) {
  master_ = master;
  masterFields_ = masterFields;
  reload();
}

void DBGrid::follow(store::TableEvent event) {
  if (moving_ || event == store::TableEvent::FieldChanged) return;
  runGuarded([this] { reload(); });
}

void DBGrid::reload() {
  setRowCount(0);
  keys_.clear();
  if (!source_ || !source_->hasTable() || !source_->table().Active()) return;
  store::Table& table = source_->table();
  keysIndex_ = table.IndexFieldNames();
  store::Table cursor(table.session(), table.TableName());
  cursor.SetIndexFieldNames(table.IndexFieldNames());
  if (master_) cursor.SetMasterSource(master_, masterFields_);
  cursor.Open();
  for (cursor.First(); !cursor.Eof() && rowCount() < kMaxLines; cursor.Next()) {
    int line = rowCount();
    insertRow(line);
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
      setItem(line, c, new QTableWidgetItem(cellText(cursor.FieldByName(columns_[c].field))));
    }
    keys_.push_back(cursor.orderKey());
  }
  markCurrent();
}

std::vector<store::Value> DBGrid::currentKey() {
  store::Table& table = source_->table();
  if (table.State() != store::TableState::Browse || table.IndexFieldNames() != keysIndex_)
    return {};
  return table.orderKey();
}

void DBGrid::markCurrent() {
  auto key = currentKey();
  for (int line = 0; line < static_cast<int>(keys_.size()); ++line) {
    if (!key.empty() && keys_[line] == key) {
      selectRow(line);
      return;
    }
  }
  clearSelection();
}

void DBGrid::choose(int line) {
  if (!source_ || !source_->hasTable() || line < 0 || line >= static_cast<int>(keys_.size()))
    return;
  store::Table& table = source_->table();
  if (!table.Active()) return;
  // The lines' keys are keys of the order they were read in; in another order they name no row.
  const bool sameOrder = table.IndexFieldNames() == keysIndex_;
  bool found = false;
  if (sameOrder) {
    moving_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{moving_};
    found = table.gotoOrderKey(keys_[line]);
  }
  if (found) {
    markCurrent();
    return;
  }
  reload();
  if (sameOrder) ShowMessage(kRowGone);
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
  QTableWidget::mousePressEvent(event);
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid()) runGuarded([&] { choose(at.row()); });
}

void DBGrid::mouseMoveEvent(QMouseEvent* event) {
  const int before = currentRow();
  QTableWidget::mouseMoveEvent(event);
  if (currentRow() != before) runGuarded([&] { choose(currentRow()); });
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
  const int before = currentRow();
  QTableWidget::keyPressEvent(event);
  if (currentRow() != before) runGuarded([&] { choose(currentRow()); });
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
  return QTableWidget::moveCursor(action, modifiers);
}

}  // namespace toolkit
