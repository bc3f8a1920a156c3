#include "DBGrid.h"

#include <QHeaderView>
#include <QLocale>

#include "Guard.h"

namespace toolkit {

namespace {

QString cellText(store::Field field) {
  if (field.type() == store::FieldType::Currency && !field.isNull()) {
    return QLocale().toCurrencyString(field.number());
  }
  return QString::fromStdString(field.text());
}

}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableWidget(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  connect(this, &QTableWidget::cellClicked, this,
          [this](int line, int) { runGuarded([&] { choose(line); }); });
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
  store::Table cursor(table.session(), table.TableName());
  cursor.SetIndexFieldNames(table.IndexFieldNames());
  if (master_) cursor.SetMasterSource(master_, masterFields_);
  cursor.Open();
  const auto& key = cursor.schema().primaryKey;
  for (cursor.First(); !cursor.Eof() && rowCount() < kMaxLines; cursor.Next()) {
    int line = rowCount();
    insertRow(line);
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
      setItem(line, c, new QTableWidgetItem(cellText(cursor.FieldByName(columns_[c].field))));
    }
    std::vector<store::Value> values;
    for (const auto& k : key) values.push_back(cursor.FieldByName(k).value());
    keys_.push_back(std::move(values));
  }
  markCurrent();
}

std::vector<store::Value> DBGrid::currentKey() {
  std::vector<store::Value> values;
  store::Table& table = source_->table();
  if (table.State() != store::TableState::Browse || table.IsEmpty()) return values;
  for (const auto& k : table.schema().primaryKey) values.push_back(table.FieldByName(k).value());
  return values;
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
  if (!source_ || !source_->hasTable() || line < 0) return;
  store::Table& table = source_->table();
  moving_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{moving_};
  table.First();
  for (int i = 0; i < line && !table.Eof(); ++i) table.Next();
  moving_ = false;
  markCurrent();
}

}  // namespace toolkit
