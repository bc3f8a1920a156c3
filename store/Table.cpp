#include "Table.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "Cp950.h"
#include "EngineError.h"
#include "Session.h"
#include "internal/Acquired.h"
#include "internal/Connection.h"
#include "internal/SqlValue.h"
#include "internal/TableFile.h"
#include "internal/TableImpl.h"

namespace store {

using Code = EngineError::Code;
using namespace tablerows;

Table::Table(Session& session, std::string tableName)
    : session_(session), tableName_(std::move(tableName)), d_(std::make_unique<Impl>(*this)) {}

Table::~Table() {
  try {
    Close();
  } catch (...) {
  }
  try {
    d_->emit(TableEvent::Destroyed);
  } catch (...) {
  }
  d_->unlinkMaster();
  for (Table* detail : d_->details) {
    detail->d_->master = nullptr;
    detail->d_->masterFields.clear();
  }
}

void Table::SetTableName(const std::string& fileName) {
  if (Active()) {
    throw EngineError::of(Code::WrongState, tableName_, {}, "資料表開啟中不可更換檔案");
  }
  tableName_ = fileName;
  d_->schema.reset();
  d_->dropStatements();
}

const TableSchema& Table::schema() {
  if (!d_->schema) {
    if (tableName_.empty())
      throw EngineError::of(Code::WrongState, {}, {}, "資料表沒有指定檔案名稱");
    d_->schema = session_.schemaOf(tableName_);
  }
  return *d_->schema;
}

void Table::SetIndexFieldNames(const std::string& names) {
  const std::string previous = indexFieldNames_;
  indexFieldNames_ = names;
  if (!Active()) return;
  try {
    d_->resolveOrder();
  } catch (...) {
    indexFieldNames_ = previous;
    d_->resolveOrder();
    throw;
  }
  d_->dropPending();
  d_->dropAhead();
  d_->rangeActive = false;
  // The current row stays current in the new order.
  if (hasRow_) {
    auto r = d_->fetchOne("rowid = ?", {Value::number(double(d_->row.rowid))}, false);
    if (r) d_->row = std::move(*r);
  }
}

void Table::SetMasterSource(Table* master, const std::string& masterFields) {
  d_->unlinkMaster();
  if (master) {
    std::vector<int> fields;
    for (const auto& n : splitNames(masterFields)) {
      int i = master->schema().fieldIndex(n);
      if (i < 0) {
        throw EngineError::of(Code::UnknownField, master->tableName_, n);
      }
      fields.push_back(i);
    }
    d_->master = master;
    d_->masterFields = fields;
    master->d_->details.push_back(this);
  }
  if (Active()) {
    d_->refreshLink();
    d_->dropPending();
    d_->first();
  }
}

void Table::Open() {
  if (Active()) return;
  if (tableName_.empty()) throw EngineError::of(Code::WrongState, {}, {}, "資料表沒有指定檔案名稱");
  Acquired file(d_->connection(), tableName_);
  d_->useSchema(file.schemaName());
  d_->files = {tableName_};
  d_->schema = file.schema();
  d_->resolveOrder();
  if (d_->master && d_->masterFields.size() > d_->order.size()) {
    throw EngineError::of(Code::UnknownField, tableName_, {}, "索引不足以連結主表");
  }
  d_->file.emplace(std::move(file));
  d_->rangeActive = false;
  state_ = TableState::Browse;
  d_->refreshLink();
  d_->emit(TableEvent::Opened);
  d_->first();
}

void Table::Close() {
  if (!Active()) return;
  d_->dropPending();
  d_->dropAhead();
  d_->file.reset();
  state_ = TableState::Inactive;
  hasRow_ = false;
  bof_ = eof_ = true;
  d_->rangeActive = false;
  d_->emit(TableEvent::Closed);
}

void Table::SetActive(bool active) {
  active ? Open() : Close();
}

void Table::First() {
  d_->requireOpen();
  d_->dropPending();
  d_->first();
}

void Table::Last() {
  d_->requireOpen();
  d_->dropPending();
  d_->dropAhead();
  std::vector<Value> binds;
  const std::string cond = d_->where(binds);
  d_->setRow(d_->fetchOne(cond, binds, true));
  eof_ = true;
  bof_ = !hasRow_;
  d_->emit(TableEvent::RowChanged);
}

void Table::Next() {
  d_->requireOpen();
  d_->dropPending();
  if (!hasRow_) {
    bof_ = eof_ = true;
    return;
  }
  const bool fresh = d_->aheadGeneration == d_->connection().writeGeneration();
  // The rows read ahead reached the last visible row: nothing was written since, so there is
  // no next row to ask for.
  const bool atEnd = fresh && d_->ahead.empty() && d_->aheadEnds;
  if (!atEnd && (d_->ahead.empty() || !fresh)) {
    // Read a batch ahead; it grows while the caller keeps stepping forward.
    d_->ahead.clear();
    const auto cursor = d_->orderValues(d_->row);
    std::vector<Value> binds;
    const std::string cond = d_->where(binds, Impl::Dir::After, &cursor);
    for (auto& r : d_->fetch(cond, binds, false, d_->aheadBatch)) d_->ahead.push_back(std::move(r));
    d_->aheadEnds = static_cast<int>(d_->ahead.size()) < d_->aheadBatch;
    d_->aheadGeneration = d_->connection().writeGeneration();
    d_->aheadBatch = std::min(d_->aheadBatch * 2, 256);
  }
  if (d_->ahead.empty()) {
    eof_ = true;
    d_->aheadBatch = Impl::kFirstAheadBatch;
    return;
  }
  d_->row = std::move(d_->ahead.front());
  d_->ahead.pop_front();
  bof_ = eof_ = false;
  d_->emit(TableEvent::RowChanged);
}

void Table::Prior() {
  d_->requireOpen();
  d_->dropPending();
  d_->dropAhead();
  if (!hasRow_) {
    bof_ = eof_ = true;
    return;
  }
  const auto cursor = d_->orderValues(d_->row);
  std::vector<Value> binds;
  const std::string cond = d_->where(binds, Impl::Dir::Before, &cursor);
  auto r = d_->fetchOne(cond, binds, true);
  if (!r) {
    bof_ = true;
    return;
  }
  d_->row = std::move(*r);
  bof_ = eof_ = false;
  d_->emit(TableEvent::RowChanged);
}

void Table::Insert() {
  d_->requireOpen();
  d_->dropPending();
  d_->dropAhead();
  const auto& fields = d_->sch().fields;
  d_->buffer = Row();
  d_->buffer.values.assign(fields.size(), Value());
  if (d_->master && d_->linkValid) {
    for (size_t i = 0; i < d_->masterFields.size(); ++i)
      d_->buffer.values[d_->order[i]] = d_->linkValues[i];
  }
  state_ = TableState::Insert;
  d_->emit(TableEvent::StateChanged);
}

void Table::Append() {
  Insert();
}

void Table::Edit() {
  d_->requireOpen();
  if (state_ == TableState::Edit || state_ == TableState::Insert) return;
  d_->dropPending();
  if (!hasRow_) {
    Insert();
    return;
  }
  d_->buffer = d_->row;
  state_ = TableState::Edit;
  d_->emit(TableEvent::StateChanged);
}

void Table::Post() {
  d_->requireOpen();
  if (state_ != TableState::Insert && state_ != TableState::Edit) {
    throw EngineError::of(Code::WrongState, tableName_, {}, "沒有正在新增或修改的資料");
  }
  const auto& fields = d_->sch().fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].required && d_->buffer.values[i].isNull()) {
      throw EngineError::of(Code::RequiredField, tableName_, fields[i].name);
    }
  }
  std::string sql;
  std::vector<Value> rowBinds;
  if (state_ == TableState::Insert) {
    std::string cols, marks;
    for (size_t i = 0; i < fields.size(); ++i) {
      cols += (i ? ", " : "") + TableFile::columnName(fields[i]);
      marks += i ? ", ?" : "?";
    }
    sql = "INSERT INTO " + d_->table() + "(" + cols + ") VALUES(" + marks + ")";
  } else {
    std::string sets;
    for (size_t i = 0; i < fields.size(); ++i)
      sets += (i ? ", " : "") + TableFile::columnName(fields[i]) + " = ?";
    sql = "UPDATE " + d_->table() + " SET " + sets + d_->sameRowCondition(rowBinds);
  }
  sqlite3_stmt* st = d_->statement(sql);
  for (size_t i = 0; i < fields.size(); ++i) {
    const Value& v = d_->buffer.values[i];
    // Empty strings are stored as empty bytes, empty amounts as NULL.
    bindValue(st, static_cast<int>(i + 1),
              fields[i].type == FieldType::String ? keyValue(fields[i], v) : v);
  }
  for (std::size_t i = 0; i < rowBinds.size(); ++i) {
    bindValue(st, static_cast<int>(fields.size() + 1 + i), rowBinds[i]);
  }
  Connection& connection = d_->connection();
  d_->step(st);
  sqlite3_reset(st);
  if (state_ == TableState::Edit && connection.changes() == 0) {
    throw EngineError::of(Code::General, tableName_, {}, "此筆資料已被其他作業刪除");
  }
  if (state_ == TableState::Insert) d_->buffer.rowid = connection.lastInsertRowid();
  connection.noteWrite();
  d_->row = std::move(d_->buffer);
  d_->buffer = Row();
  hasRow_ = true;
  bof_ = eof_ = false;
  state_ = TableState::Browse;
  d_->dropAhead();
  d_->emit(TableEvent::StateChanged);
  d_->emit(TableEvent::RowChanged);
}

void Table::Cancel() {
  if (state_ == TableState::Insert || state_ == TableState::Edit) {
    d_->dropPending();
    d_->emit(TableEvent::RowChanged);
  } else if (state_ == TableState::SetKey) {
    d_->dropPending();
  }
}

void Table::Delete() {
  d_->requireOpen();
  if (state_ == TableState::Insert) {
    Cancel();
    return;
  }
  d_->dropPending();
  d_->dropAhead();
  if (!hasRow_) {
    throw EngineError::of(Code::EmptyTable, tableName_);
  }
  std::vector<Value> rowBinds;
  sqlite3_stmt* st = d_->statement("DELETE FROM " + d_->table() + d_->sameRowCondition(rowBinds));
  for (std::size_t i = 0; i < rowBinds.size(); ++i) {
    bindValue(st, static_cast<int>(i + 1), rowBinds[i]);
  }
  d_->step(st);
  sqlite3_reset(st);
  if (d_->connection().changes() == 0) {
    // Never another row in its place: the clerk is told, and the table re-reads.
    throw EngineError::of(Code::General, tableName_, {}, "此筆資料已被其他作業刪除");
  }
  d_->connection().noteWrite();
  const auto cursor = d_->orderValues(d_->row);
  std::vector<Value> binds;
  std::string cond = d_->where(binds, Impl::Dir::After, &cursor);
  auto next = d_->fetchOne(cond, binds, false);
  if (!next) {
    binds.clear();
    cond = d_->where(binds, Impl::Dir::Before, &cursor);
    next = d_->fetchOne(cond, binds, true);
  }
  d_->setRow(std::move(next));
  bof_ = eof_ = !hasRow_;
  d_->emit(TableEvent::RowChanged);
}

void Table::Refresh() {
  d_->requireOpen();
  d_->dropPending();
  d_->dropAhead();
  d_->refreshLink();
  d_->linkGeneration = d_->connection().writeGeneration();
  std::optional<Row> r;
  if (hasRow_) {
    const auto cursor = d_->orderValues(d_->row);
    std::vector<Value> binds;
    std::string cond = d_->where(binds, Impl::Dir::AtOrAfter, &cursor);
    r = d_->fetchOne(cond, binds, false);
    if (!r) {
      binds.clear();
      cond = d_->where(binds);
      r = d_->fetchOne(cond, binds, true);
    }
  } else {
    std::vector<Value> binds;
    const std::string cond = d_->where(binds);
    r = d_->fetchOne(cond, binds, false);
  }
  d_->setRow(std::move(r));
  if (!hasRow_) bof_ = eof_ = true;
  d_->emit(TableEvent::RowChanged);
}

void Table::EmptyTable() {
  if (tableName_.empty()) throw EngineError::of(Code::WrongState, {}, {}, "資料表沒有指定檔案名稱");
  if (Active()) d_->dropPending();
  Connection& connection = d_->connection();
  {
    const Acquired file(connection, tableName_);
    connection.exec("DELETE FROM " + TableFile::quote(file.schemaName()) + ".data", {tableName_});
  }
  connection.noteWrite();
  if (Active()) d_->first();
}

void Table::SetKey() {
  d_->beginKey(Impl::KeyTarget::Search);
}

bool Table::GotoKey() {
  if (state_ != TableState::SetKey || d_->keyTarget != Impl::KeyTarget::Search) {
    throw EngineError::of(Code::WrongState, tableName_, {}, "GotoKey 之前必須先 SetKey");
  }
  state_ = TableState::Browse;
  d_->emit(TableEvent::StateChanged);
  const size_t n = d_->assignedPrefix(d_->searchKey);
  return d_->moveToFirstEqual(d_->keyValues(d_->searchKey), n);
}

bool Table::Locate(const std::string& fieldName, const std::string& value, unsigned options) {
  d_->requireOpen();
  const int fi = schema().fieldIndex(fieldName);
  if (fi < 0) throw EngineError::of(Code::UnknownField, tableName_, fieldName);
  d_->dropPending();
  const FieldDef& def = d_->def(fi);
  std::vector<Value> binds;
  std::string cond = d_->where(binds);
  const std::string col = TableFile::keyColumnName(def);
  if (def.type == FieldType::Currency) {
    double d = 0;
    if (value.empty()) {
      cond += " AND " + TableFile::columnName(def) + " IS NULL";
    } else {
      if (!parseNumber(value, d)) return false;
      cond += " AND " + col + " = ?";
      binds.push_back(Value::number(d));
    }
  } else {
    auto enc = cp950::encode(value);
    if (!enc.ok()) return false;  // text the table cannot hold matches no row
    std::string& text = enc.bytes;
    const bool partial = options & PartialKey;
    bool letters = false;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (cp950::isLeadByte(c))
        ++i;
      else
        letters = letters || std::isalpha(c);
    }
    // Without ASCII letters both kinds of match are the same, and the byte range below can
    // use the field's index.
    if ((options & CaseInsensitive) && letters) {
      if (partial) {
        cond += " AND substr(salary_fold(" + col + "), 1, ?) = salary_fold(?)";
        binds.push_back(Value::number(double(text.size())));
      } else {
        cond += " AND salary_fold(" + col + ") = salary_fold(?)";
      }
      binds.push_back(Value::bytes(text));
    } else if (partial && !text.empty()) {
      // A byte range: every value that begins with the text, and no other.
      cond += " AND " + col + " >= ?";
      binds.push_back(Value::bytes(text));
      std::string upper = text;
      while (!upper.empty() && static_cast<unsigned char>(upper.back()) == 0xFF) upper.pop_back();
      if (!upper.empty()) {
        upper.back() = char(static_cast<unsigned char>(upper.back()) + 1);
        cond += " AND " + col + " < ?";
        binds.push_back(Value::bytes(upper));
      }
    } else if (!partial) {
      cond += " AND " + col + " = ?";
      binds.push_back(Value::bytes(text));
    }
  }
  // The first match is chosen among the matches' index entries alone (every index holds the
  // order key), and only that row is read: many matches then cost no more than a few.
  const std::string first = "rowid = (SELECT rowid FROM " + d_->table() + " WHERE " + cond +
                            d_->orderBy(false) + " LIMIT 1)";
  auto r = d_->fetchOne(first, binds, false);
  if (!r) return false;
  d_->moveTo(std::move(*r));
  return true;
}

std::vector<Value> Table::orderKey() const {
  if (!Active() || !hasRow_) return {};
  return d_->orderValues(d_->row);
}

bool Table::gotoOrderKey(const std::vector<Value>& key) {
  d_->requireOpen();
  d_->dropPending();
  // A key of another order names no row here.
  if (key.size() != d_->orderColumns().size()) return false;
  return d_->moveToFirstEqual(key, key.size());
}

void Table::SetRangeStart() {
  d_->beginKey(Impl::KeyTarget::RangeStart);
}

void Table::SetRangeEnd() {
  d_->beginKey(Impl::KeyTarget::RangeEnd);
}

void Table::ApplyRange() {
  d_->requireOpen();
  if (state_ == TableState::SetKey) {
    state_ = TableState::Browse;
    d_->emit(TableEvent::StateChanged);
  }
  d_->dropPending();
  d_->sizeKeys();
  d_->rangeStart = d_->startKey;
  d_->rangeEnd = d_->endKey;
  d_->rangeActive = true;
  d_->first();
}

void Table::CancelRange() {
  d_->requireOpen();
  d_->dropPending();
  d_->rangeActive = false;
  d_->first();
}

long long Table::RecordCount() {
  d_->requireOpen();
  std::vector<Value> binds;
  const std::string cond = d_->where(binds);
  sqlite3_stmt* st = d_->statement("SELECT count(*) FROM " + d_->table() + " WHERE " + cond);
  for (size_t i = 0; i < binds.size(); ++i) bindValue(st, static_cast<int>(i + 1), binds[i]);
  d_->step(st);
  const long long n = sqlite3_column_int64(st, 0);
  sqlite3_reset(st);
  return n;
}

long long Table::RecNo() {
  d_->requireOpen();
  if (!hasRow_ || state_ != TableState::Browse) return 0;
  const auto cursor = d_->orderValues(d_->row);
  std::vector<Value> binds;
  const std::string cond = d_->where(binds, Impl::Dir::Before, &cursor);
  sqlite3_stmt* st = d_->statement("SELECT count(*) FROM " + d_->table() + " WHERE " + cond);
  for (size_t i = 0; i < binds.size(); ++i) bindValue(st, static_cast<int>(i + 1), binds[i]);
  d_->step(st);
  const long long before = sqlite3_column_int64(st, 0);
  sqlite3_reset(st);
  return before + 1;
}

bool Table::SetRecNo(long long n) {
  d_->requireOpen();
  d_->dropPending();
  if (n < 1) return false;
  std::vector<Value> binds;
  const std::string cond = d_->where(binds);
  sqlite3_stmt* st = d_->statement("SELECT " + d_->selectList() + " FROM " + d_->table() +
                                   " WHERE " + cond + d_->orderBy(false) + " LIMIT 1 OFFSET ?");
  for (size_t i = 0; i < binds.size(); ++i) bindValue(st, static_cast<int>(i + 1), binds[i]);
  sqlite3_bind_int64(st, static_cast<int>(binds.size() + 1), n - 1);
  std::optional<Row> r;
  if (d_->step(st) == SQLITE_ROW) r = d_->readRow(st);
  sqlite3_reset(st);
  if (!r) return false;
  d_->moveTo(std::move(*r));
  return true;
}

void Table::SetCacheSize(long kib) {
  d_->requireOpen();
  d_->connection().exec(
      "PRAGMA \"" + d_->schemaName + "\".cache_size = " + std::to_string(-std::max(kib, 1L)),
      d_->files);
}

unsigned long long Table::WriteGeneration() const {
  return session_.connection().writeGeneration();
}

Field Table::FieldByName(const std::string& name) {
  const int i = schema().fieldIndex(name);
  if (i < 0) throw EngineError::of(Code::UnknownField, tableName_, name);
  return Field(this, i);
}

int Table::subscribe(std::function<void(TableEvent)> listener) {
  const int token = d_->nextToken++;
  d_->listeners.emplace(token, std::move(listener));
  return token;
}

void Table::unsubscribe(int token) {
  d_->listeners.erase(token);
}

const FieldDef& Table::fieldDef(int index) const {
  return d_->schema->fields.at(index);
}

const Value& Table::fieldValue(int index) const {
  static const Value empty;
  switch (state_) {
    case TableState::Inactive:
      throw EngineError::of(Code::WrongState, tableName_, {}, "資料表未開啟");
    case TableState::Insert:
    case TableState::Edit:
      return d_->buffer.values.at(index);
    case TableState::SetKey:
      return d_->keyBuffer(d_->keyTarget).values.at(index);
    case TableState::Browse:
      break;
  }
  return hasRow_ ? d_->row.values.at(index) : empty;
}

void Table::setFieldValue(int index, Value value) {
  switch (state_) {
    case TableState::Insert:
    case TableState::Edit:
      d_->buffer.values.at(index) = std::move(value);
      d_->emit(TableEvent::FieldChanged);
      return;
    case TableState::SetKey: {
      KeyBuffer& k = d_->keyBuffer(d_->keyTarget);
      k.values.at(index) = std::move(value);
      k.assigned.at(index) = true;
      return;
    }
    default:
      throw EngineError::of(Code::WrongState, tableName_, {}, "資料表不在新增或修改狀態");
  }
}

}  // namespace store
