#include "TableImpl.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>

#include "Connection.h"
#include "AsciiCase.h"
#include "EngineError.h"
#include "Session.h"
#include "SqlValue.h"
#include "TableFile.h"

namespace store {

namespace tablerows {

std::vector<std::string> splitNames(const std::string& names) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string part = names.substr(start, end - start);
    size_t b = part.find_first_not_of(' ');
    size_t e = part.find_last_not_of(' ');
    if (b != std::string::npos) out.push_back(part.substr(b, e - b + 1));
    start = end + 1;
  }
  return out;
}

// The value a field takes in keys and comparisons: never NULL (see TableFile::keyColumnName).
Value keyValue(const FieldDef& def, const Value& v) {
  if (def.type == FieldType::Currency)
    return v.isNull() ? Value::number(-std::numeric_limits<double>::infinity()) : v;
  return v.isNull() ? Value::bytes({}) : v;
}

// Compares two key values the way the indexes order them: bytes as unsigned, a prefix first.
int compareKey(const Value& a, const Value& b) {
  if (a.isNumber() || b.isNumber()) {
    double x = a.asNumber(), y = b.asNumber();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  int c = a.asBytes().compare(b.asBytes());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace tablerows

using Code = EngineError::Code;
using namespace tablerows;

Connection& Table::Impl::connection() const {
  return self.session_.connection();
}

sqlite3_stmt* Table::Impl::statement(const std::string& sql) {
  auto it = statements.find(sql);
  if (it != statements.end()) {
    connection().checkUsable();
    sqlite3_reset(it->second.get());
    sqlite3_clear_bindings(it->second.get());
    return it->second.get();
  }
  return statements.emplace(sql, connection().prepare(sql, files, true)).first->second.get();
}

int Table::Impl::step(sqlite3_stmt* st) {
  return connection().step(st, files);
}

void Table::Impl::dropStatements() {
  statements.clear();
  statementsSchema.clear();
}

void Table::Impl::useSchema(const std::string& name) {
  if (name != statementsSchema) dropStatements();
  schemaName = statementsSchema = name;
}

std::vector<Value> Table::Impl::orderValues(const Row& r) const {
  std::vector<Value> vals;
  for (int i : order) vals.push_back(keyValue(def(i), r.values[i]));
  if (orderByRowid) vals.push_back(Value::number(static_cast<double>(r.rowid)));
  return vals;
}

bool Table::Impl::moveToFirstEqual(const std::vector<Value>& key, size_t n) {
  const auto& cols = orderColumns();
  std::vector<Value> binds;
  std::string cond = where(binds);
  for (size_t i = 0; i < n; ++i) {
    cond += " AND " + cols[i] + " = ?";
    binds.push_back(key[i]);
  }
  auto r = fetchOne(cond, binds, false);
  if (!r) return false;
  moveTo(std::move(*r));
  return true;
}

std::string Table::Impl::sameRowCondition(std::vector<Value>& binds) const {
  std::string cond = " WHERE rowid = ?";
  binds.push_back(Value::number(static_cast<double>(row.rowid)));
  const std::vector<std::string>& cols = orderColumns();
  std::vector<Value> vals = orderValues(row);
  for (std::size_t i = 0; i < cols.size(); ++i) {
    cond += " AND " + cols[i] + " = ?";
    binds.push_back(std::move(vals[i]));
  }
  return cond;
}

Row Table::Impl::readRow(sqlite3_stmt* st) const {
  Row r;
  const int n = static_cast<int>(sch().fields.size());
  r.values.reserve(n);
  for (int i = 0; i < n; ++i) r.values.push_back(columnValue(st, i));
  r.rowid = sqlite3_column_int64(st, n);
  return r;
}

std::vector<Value> Table::Impl::currentLinkValues() const {
  std::vector<Value> vals;
  for (int mi : masterFields) vals.push_back(master->fieldValue(mi));
  return vals;
}

size_t Table::Impl::assignedPrefix(const KeyBuffer& k) const {
  size_t n = 0;
  while (n < order.size() && k.assigned[order[n]]) ++n;
  return n;
}

std::vector<Value> Table::Impl::keyValues(const KeyBuffer& k) const {
  std::vector<Value> vals;
  for (int i : order) vals.push_back(keyValue(def(i), k.values[i]));
  return vals;
}

void Table::Impl::resolveOrder() {
  std::vector<std::string> names = splitNames(self.indexFieldNames_);
  std::vector<std::vector<std::string>> candidates;
  if (!sch().primaryKey.empty()) candidates.push_back(sch().primaryKey);
  for (const auto& ix : sch().indexes) candidates.push_back(ix.fields);
  auto same = [&](const std::string& a, const std::string& b) {
    return upperAscii(a) == upperAscii(b);
  };
  auto startsWith = [&](const std::vector<std::string>& fields, bool exact) {
    if (fields.size() < names.size() || (exact && fields.size() != names.size())) return false;
    for (size_t i = 0; i < names.size(); ++i)
      if (!same(fields[i], names[i])) return false;
    return true;
  };
  const std::vector<std::string>* chosen = nullptr;
  if (names.empty()) {
    chosen = candidates.empty() ? nullptr : &candidates.front();
  } else {
    for (const auto& c : candidates)
      if (!chosen && startsWith(c, true)) chosen = &c;
    for (const auto& c : candidates)
      if (!chosen && startsWith(c, false)) chosen = &c;
    if (!chosen) {
      throw EngineError::of(Code::UnknownField, self.tableName_, self.indexFieldNames_,
                            "沒有這些欄位的索引");
    }
  }
  order.clear();
  if (chosen)
    for (const auto& n : *chosen) order.push_back(sch().fieldIndex(n));
  for (const auto& k : sch().primaryKey) {
    int i = sch().fieldIndex(k);
    if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
  }
  orderByRowid = sch().primaryKey.empty();

  orderSql = OrderSql();
  for (const auto& f : sch().fields) orderSql.selectList += TableFile::columnName(f) + ", ";
  orderSql.selectList += "rowid";
  for (int i : order) orderSql.columns.push_back(TableFile::keyColumnName(def(i)));
  if (orderByRowid) orderSql.columns.push_back("rowid");
  for (const std::string& c : orderSql.columns) {
    const char* comma = orderSql.ascending.empty() ? " ORDER BY " : ", ";
    orderSql.ascending += comma + c;
    orderSql.descending += comma + c + " DESC";
  }
}

void Table::Impl::dropAhead() {
  ahead.clear();
  aheadEnds = false;
  aheadBatch = kFirstAheadBatch;
}

void Table::Impl::setRow(std::optional<Row> r) {
  self.hasRow_ = r.has_value();
  if (r) row = std::move(*r);
}

void Table::Impl::moveTo(Row r) {
  dropAhead();
  setRow(std::move(r));
  self.bof_ = self.eof_ = false;
  emit(TableEvent::RowChanged);
}

KeyBuffer& Table::Impl::keyBuffer(KeyTarget target) {
  return target == KeyTarget::Search       ? searchKey
         : target == KeyTarget::RangeStart ? startKey
                                           : endKey;
}

void Table::Impl::sizeKeys() {
  const size_t n = sch().fields.size();
  for (KeyBuffer* k : {&searchKey, &startKey, &endKey})
    if (k->values.size() != n) k->reset(n);
}

void Table::Impl::beginKey(KeyTarget target) {
  requireOpen();
  dropPending();
  sizeKeys();
  keyTarget = target;
  keyBuffer(target).reset(sch().fields.size());
  self.state_ = TableState::SetKey;
  emit(TableEvent::StateChanged);
}

void Table::Impl::requireOpen() const {
  if (self.state_ == TableState::Inactive) {
    throw EngineError::of(Code::WrongState, self.tableName_, {}, "資料表未開啟");
  }
}

void Table::Impl::dropPending() {
  if (self.state_ == TableState::Insert || self.state_ == TableState::Edit ||
      self.state_ == TableState::SetKey) {
    self.state_ = TableState::Browse;
    buffer = Row();
    emit(TableEvent::StateChanged);
  }
}

void Table::Impl::first() {
  dropAhead();
  linkGeneration = connection().writeGeneration();
  if (master && !linkValid) {
    setRow(std::nullopt);  // nothing is visible without the master's row
  } else {
    std::vector<Value> binds;
    const std::string cond = where(binds);
    setRow(fetchOne(cond, binds, false));
  }
  self.bof_ = true;
  self.eof_ = !self.hasRow_;
  emit(TableEvent::RowChanged);
}

void Table::Impl::refreshLink() {
  if (!master) return;
  linkValid = master->Active() && (master->hasRow_ || master->state_ == TableState::Insert);
  linkValues = linkValid ? currentLinkValues() : std::vector<Value>();
}

void Table::Impl::emit(TableEvent e) {
  std::vector<std::function<void(TableEvent)>> copy;
  for (auto& [token, fn] : listeners) copy.push_back(fn);
  for (auto& fn : copy) fn(e);
  if (e != TableEvent::Destroyed) {
    for (Table* d : std::vector<Table*>(details)) d->d_->masterChanged(e);
  }
}

void Table::Impl::masterChanged(TableEvent e) {
  if (self.state_ == TableState::Inactive) return;
  const bool wasValid = linkValid;
  const std::vector<Value> before = linkValues;
  refreshLink();
  // The view is read again only when it can differ: other link values, or rows written since.
  // A master that re-read or reopened its same row leaves the detail where it stands.
  if (wasValid == linkValid && before == linkValues &&
      (linkGeneration == connection().writeGeneration() || e == TableEvent::StateChanged ||
       e == TableEvent::FieldChanged))
    return;
  dropPending();
  first();
}

void Table::Impl::unlinkMaster() {
  if (!master) return;
  auto& ds = master->d_->details;
  ds.erase(std::remove(ds.begin(), ds.end(), &self), ds.end());
  master = nullptr;
  masterFields.clear();
  linkValues.clear();
}

void Table::Impl::tupleCondition(std::string& sql, std::vector<Value>& binds,
                                 const std::vector<std::string>& cols,
                                 const std::vector<Value>& vals, size_t from, size_t n,
                                 const char* op) {
  if (n == 0) return;
  sql += " AND (";
  for (size_t i = 0; i < n; ++i) sql += (i ? ", " : "") + cols[from + i];
  sql += ") ";
  sql += op;
  sql += " (";
  for (size_t i = 0; i < n; ++i) {
    sql += i ? ", ?" : "?";
    binds.push_back(vals[from + i]);
  }
  sql += ")";
}

std::string Table::Impl::where(std::vector<Value>& binds, Dir dir,
                               const std::vector<Value>* cursor) const {
  std::string sql = "1";
  if (master && !linkValid) return "0";
  const auto& cols = orderColumns();
  const size_t links = linkCount();
  for (size_t i = 0; i < links; ++i) {
    sql += " AND " + cols[i] + " = ?";
    binds.push_back(keyValue(def(order[i]), linkValues[i]));
  }
  if (rangeActive) {
    const auto start = keyValues(rangeStart), end = keyValues(rangeEnd);
    const size_t ns = assignedPrefix(rangeStart), ne = assignedPrefix(rangeEnd);
    bool skipStart = false, skipEnd = false;
    if (cursor && ns > 0) {
      bool cursorPastStart = true;  // the cursor's key is >= the range start
      for (size_t i = 0; i < ns; ++i) {
        int c = compareKey((*cursor)[i], start[i]);
        if (c != 0) {
          cursorPastStart = c > 0;
          break;
        }
      }
      skipStart = (dir == Dir::After || dir == Dir::AtOrAfter) && cursorPastStart;
    }
    if (cursor && ne > 0) {
      bool cursorBeforeEnd = true;
      for (size_t i = 0; i < ne; ++i) {
        int c = compareKey((*cursor)[i], end[i]);
        if (c != 0) {
          cursorBeforeEnd = c < 0;
          break;
        }
      }
      skipEnd = dir == Dir::Before && cursorBeforeEnd;
    }
    if (!skipStart) tupleCondition(sql, binds, cols, start, 0, ns, ">=");
    if (!skipEnd) tupleCondition(sql, binds, cols, end, 0, ne, "<=");
  }
  if (cursor) {
    const char* op = dir == Dir::After ? ">" : dir == Dir::Before ? "<" : ">=";
    // The link fields are equal on every visible row; comparing the rest is the same and
    // lets the index seek directly.
    bool sameLink = true;
    for (size_t i = 0; i < links; ++i)
      sameLink = sameLink && compareKey((*cursor)[i], keyValue(def(order[i]), linkValues[i])) == 0;
    const size_t from = sameLink ? links : 0;
    tupleCondition(sql, binds, cols, *cursor, from, cols.size() - from, op);
  }
  return sql;
}

std::vector<Table::Impl::Row> Table::Impl::fetch(const std::string& cond,
                                                 const std::vector<Value>& binds, bool descending,
                                                 int limit) {
  // The row count is bound, so that every batch size shares one statement.
  const std::string sql = "SELECT " + selectList() + " FROM " + table() + " WHERE " + cond +
                          orderBy(descending) + " LIMIT ?";
  sqlite3_stmt* st = statement(sql);
  for (size_t i = 0; i < binds.size(); ++i) bindValue(st, static_cast<int>(i + 1), binds[i]);
  sqlite3_bind_int(st, static_cast<int>(binds.size() + 1), limit);
  std::vector<Row> rows;
  while (step(st) == SQLITE_ROW) rows.push_back(readRow(st));
  sqlite3_reset(st);
  return rows;
}

std::optional<Table::Impl::Row> Table::Impl::fetchOne(const std::string& cond,
                                                      const std::vector<Value>& binds,
                                                      bool descending) {
  auto rows = fetch(cond, binds, descending, 1);
  if (rows.empty()) return std::nullopt;
  return std::move(rows.front());
}

void Table::Impl::visibleFilter(std::string& sql, std::vector<Value>& binds) const {
  requireOpen();
  sql = where(binds);
}

}  // namespace store
