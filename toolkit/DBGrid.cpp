#include "DBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "Dialogs.h"
#include "FontsAndFormats.h"
#include "Guard.h"

namespace toolkit {

namespace {

QString cellText(store::Field field) {
  if (field.type() == store::FieldType::Currency && !field.isNull()) {
    return currencyText(field.number());
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
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this] { runGuarded([this] { fillVisible(); }); });
}

DBGrid::~DBGrid() = default;

void DBGrid::setDataSource(DataSource* source, std::vector<Column> columns) {
  if (source_) disconnect(source_, nullptr, this, nullptr);
  source_ = source;
  columns_ = std::move(columns);
  cursor_.reset();
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
  cursor_.reset();
  reload();
}

void DBGrid::follow(store::TableEvent event) {
  if (moving_) return;
  runGuarded([this, event] {
    if (event == store::TableEvent::FieldChanged) {
      showPendingValues();
    } else if (event == store::TableEvent::Destroyed) {
      clearLines();
      cursor_.reset();
    } else if (event == store::TableEvent::Closed) {
      // A table closed and opened again in one handler (a change of page) keeps its lines when
      // nothing was written meanwhile; one left closed shows none once the handler is over.
      QTimer::singleShot(0, this, [this] {
        if (source_ && source_->hasTable() && !source_->table().Active()) clearLines();
      });
    } else if (!linesCurrent()) {
      reload();
    } else {
      showCurrent();
    }
  });
}

void DBGrid::clearLines() {
  setRowCount(0);
  keys_.clear();
  pendingLine_ = -1;
  loaded_ = false;
}

int DBGrid::lineOf(int row) const {
  return pendingLine_ >= 0 && row >= pendingLine_ ? row + 1 : row;
}

int DBGrid::rowOf(int line) const {
  if (pendingLine_ < 0 || line < pendingLine_) return line;
  return line == pendingLine_ ? -1 : line - 1;
}

void DBGrid::followPending() {
  const bool inserting = source_->table().State() == store::TableState::Insert;
  if (inserting == (pendingLine_ >= 0)) return;
  if (!inserting) {
    removeRow(pendingLine_);
    pendingLine_ = -1;
    return;
  }
  pendingLine_ = insertionLine();
  insertRow(pendingLine_);
  showPendingValues();
}

// The new row takes the place of the row that was current when it was begun, which moves one
// line down; without a current row it is the first line.
int DBGrid::insertionLine() {
  store::Table& table = source_->table();
  const std::vector<store::Value> key =
      table.IndexFieldNames() == keysIndex_ ? table.orderKey() : std::vector<store::Value>{};
  if (key.empty() || keys_.empty()) return 0;
  const auto read = std::find(keys_.begin(), keys_.end(), key);
  if (read != keys_.end()) return static_cast<int>(read - keys_.begin());
  if (cursor_ && cursor_->gotoOrderKey(key)) {
    return std::clamp(static_cast<int>(cursor_->RecNo()) - 1, 0, static_cast<int>(keys_.size()));
  }
  return static_cast<int>(keys_.size());
}

void DBGrid::showPendingValues() {
  if (pendingLine_ < 0 || !source_ || !source_->hasTable()) return;
  store::Table& table = source_->table();
  for (int c = 0; c < static_cast<int>(columns_.size()); ++c)
    setItem(pendingLine_, c, new QTableWidgetItem(cellText(table.FieldByName(columns_[c].field))));
}

std::vector<store::Value> DBGrid::linkValues() const {
  std::vector<store::Value> values;
  if (!master_ || !master_->Active() || master_->IsEmpty()) return values;
  std::string names = masterFields_ + ";";
  for (size_t start = 0, end; (end = names.find(';', start)) != std::string::npos;
       start = end + 1) {
    const std::string name = names.substr(start, end - start);
    if (!name.empty()) values.push_back(master_->FieldByName(name).value());
  }
  values.push_back(store::Value::number(1));  // a master with a row, even with empty fields
  return values;
}

// The lines read show the table's rows as they are: same order, same master row, and nothing
// written through the session since.
bool DBGrid::linesCurrent() {
  if (!loaded_ || !source_ || !source_->hasTable()) return false;
  store::Table& table = source_->table();
  return table.Active() && table.TableName() == tableShown_ &&
         table.IndexFieldNames() == keysIndex_ && table.WriteGeneration() == generation_ &&
         linkValues() == linkShown_;
}

store::Table& DBGrid::cursor() {
  store::Table& table = source_->table();
  if (!cursor_ || cursor_->TableName() != table.TableName() ||
      cursor_->IndexFieldNames() != table.IndexFieldNames()) {
    cursor_ = std::make_unique<store::Table>(table.session(), table.TableName());
    cursor_->SetIndexFieldNames(table.IndexFieldNames());
    if (master_) cursor_->SetMasterSource(master_, masterFields_);
  }
  // The table may hear of its master's move before this cursor does: the cursor takes the
  // master's row now.
  if (cursor_->Active())
    cursor_->Refresh();
  else
    cursor_->Open();
  return *cursor_;
}

void DBGrid::reload() {
  clearLines();
  if (!source_ || !source_->hasTable() || !source_->table().Active()) return;
  store::Table& table = source_->table();
  tableShown_ = table.TableName();
  keysIndex_ = table.IndexFieldNames();
  generation_ = table.WriteGeneration();
  linkShown_ = linkValues();
  loaded_ = true;
  // A detail whose master has no row shows none; nothing to read.
  if (master_ && linkShown_.empty()) return;
  store::Table& rows = cursor();
  const long long count = std::min<long long>(rows.RecordCount(), kMaxLines);
  keys_.assign(static_cast<size_t>(count), {});
  setRowCount(static_cast<int>(count));
  showCurrent();
}

void DBGrid::showCurrent() {
  const auto key = currentKey();
  const auto isRead = [&] {
    return key.empty() || std::find(keys_.begin(), keys_.end(), key) != keys_.end();
  };
  bool read = isRead();
  // The table on its first row (as after every move of its master) is on the first line, unless
  // rows came before it since: then it is looked up.
  if (!read && source_->table().Bof()) {
    scrollToTop();
    fillVisible();
    read = isRead();
  }
  if (!read && cursor_ && cursor_->gotoOrderKey(key)) {
    const int line = lineOf(static_cast<int>(cursor_->RecNo()) - 1);
    if (line >= 0 && line < rowCount()) scrollTo(model()->index(line, 0));
  }
  followPending();
  if (pendingLine_ >= 0) scrollTo(model()->index(pendingLine_, 0));
  fillVisible();
  markCurrent();
}

void DBGrid::fillVisible() {
  if (!loaded_ || filling_ || keys_.empty()) return;
  const int section = std::max(1, verticalHeader()->defaultSectionSize());
  // Before the grid is laid out its viewport has no height yet: its own height stands for it.
  const int pixels = isVisible() ? viewport()->height() : std::max(height(), 16 * section);
  const int topLine = std::max(0, rowAt(0));
  const int top = pendingLine_ >= 0 && topLine > pendingLine_ ? topLine - 1 : topLine;
  const int shown = pixels / section + 1;
  const int last = static_cast<int>(keys_.size()) - 1;
  fillLines(std::max(0, top - kMarginLines), std::min(last, top + shown + kMarginLines));
}

void DBGrid::fillLines(int from, int to) {
  const QScopedValueRollback<bool> filling(filling_, true);
  store::Table* rows = cursor_.get();
  if (!rows || !rows->Active()) return;
  int line = from;
  while (line <= to) {
    if (!keys_[line].empty()) {
      ++line;
      continue;
    }
    // A run of lines not read yet: from the line above when it is known, else by position.
    bool placed = false;
    if (line > 0 && !keys_[line - 1].empty()) {
      placed = rows->gotoOrderKey(keys_[line - 1]);
      if (placed) rows->Next();
      placed = placed && !rows->Eof();
    } else {
      placed = rows->SetRecNo(line + 1);
    }
    if (!placed) return;
    for (;;) {
      for (int c = 0; c < static_cast<int>(columns_.size()); ++c)
        setItem(lineOf(line), c,
                new QTableWidgetItem(cellText(rows->FieldByName(columns_[c].field))));
      keys_[line] = rows->orderKey();
      if (++line > to || !keys_[line].empty()) break;
      rows->Next();
      if (rows->Eof()) return;  // rows deleted since the count: the rest stay empty
    }
  }
}

std::vector<store::Value> DBGrid::currentKey() {
  store::Table& table = source_->table();
  if (table.State() != store::TableState::Browse || table.IndexFieldNames() != keysIndex_)
    return {};
  return table.orderKey();
}

void DBGrid::markCurrent() {
  if (pendingLine_ >= 0) {
    selectRow(pendingLine_);
    return;
  }
  auto key = currentKey();
  for (int line = 0; line < static_cast<int>(keys_.size()); ++line) {
    if (!key.empty() && keys_[line] == key) {
      selectRow(line);
      return;
    }
  }
  clearSelection();
}

void DBGrid::choose(int viewLine) {
  if (!source_ || !source_->hasTable()) return;
  if (viewLine == pendingLine_) return;  // the new row is the current row already
  const int line = rowOf(viewLine);
  if (line < 0 || line >= static_cast<int>(keys_.size())) return;
  store::Table& table = source_->table();
  if (!table.Active()) return;
  if (keys_[line].empty()) fillLines(line, line);
  // The lines' keys are keys of the order they were read in; in another order they name no row.
  const bool sameOrder = table.IndexFieldNames() == keysIndex_;
  bool found = false;
  if (sameOrder && !keys_[line].empty()) {
    const QScopedValueRollback<bool> moving(moving_, true);
    found = table.gotoOrderKey(keys_[line]);
  }
  if (found) {
    followPending();  // the move dropped a new row still open
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

void DBGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  runGuarded([this] { fillVisible(); });
}

void DBGrid::showEvent(QShowEvent* event) {
  QTableWidget::showEvent(event);
  fitColumns();
  runGuarded([this] { fillVisible(); });
}

// A column holds its field's widest value whole, in the font the grid is shown with: an amount
// of tens of millions, negative, in the currency format ("($12,345,678.00)"); a text as many
// Chinese characters as its width in bytes holds. No column gets narrower than it is.
void DBGrid::fitColumns() {
  if (!source_ || !source_->hasTable()) return;
  const store::TableSchema& schema = source_->table().schema();
  const QFontMetrics fm = fontMetrics();
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const int index = schema.fieldIndex(columns_[i].field);
    if (index < 0) continue;
    const store::FieldDef& field = schema.fields[index];
    const QString widest = field.type == store::FieldType::Currency
                               ? currencyText(-99999999.99)
                               : QString(field.width / 2, QChar(0x4E2D));
    const int column = static_cast<int>(i);
    setColumnWidth(column, std::max(columnWidth(column), fm.horizontalAdvance(widest) + 12));
  }
}

}  // namespace toolkit
