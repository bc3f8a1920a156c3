#include "Query.h"

#include <sqlite3.h>

#include <cctype>

#include "Cp950.h"
#include "EngineError.h"
#include "Session.h"
#include "Table.h"
#include "internal/Acquired.h"
#include "internal/AsciiCase.h"
#include "internal/Connection.h"
#include "internal/SqlValue.h"
#include "internal/TableNames.h"

namespace store {

namespace {

using Code = EngineError::Code;

// "Sum(PAY)" -> "SUM OF PAY": the names the forms use for aggregate columns.
std::string resultName(const std::string& column) {
  size_t open = column.find('(');
  size_t close = column.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open ||
      close + 1 != column.size())
    return column;
  auto trim = [](std::string s) {
    size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
  };
  std::string fn = trim(column.substr(0, open));
  std::string arg = trim(column.substr(open + 1, close - open - 1));
  for (char c : fn)
    if (!std::isalpha(static_cast<unsigned char>(c))) return column;
  return upperAscii(fn) + " OF " + upperAscii(arg);
}

}  // namespace

Query::Query(Session& session, std::string sql) : session_(session), sql_(std::move(sql)) {}

Query::~Query() {
  try {
    Close();
  } catch (...) {
  }
  SetDataSource(nullptr);
}

void Query::SetSQL(std::string sql) {
  if (Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢開啟中不可更改 SQL");
  sql_ = std::move(sql);
  kept_.reset();
}

void Query::SetDataSource(Table* source) {
  if (source_ && sourceToken_ >= 0) source_->unsubscribe(sourceToken_);
  source_ = source;
  sourceToken_ = -1;
  if (source_) {
    sourceToken_ = source_->subscribe([this](TableEvent e) {
      if (e == TableEvent::Destroyed) {
        source_ = nullptr;
        sourceToken_ = -1;
        return;
      }
      if (Active() &&
          (e == TableEvent::RowChanged || e == TableEvent::Opened || e == TableEvent::Closed)) {
        Close();
        Open();
      }
    });
  }
}

void Query::setParam(const std::string& name, const std::string& utf8Text) {
  auto enc = cp950::encode(utf8Text);
  if (!enc.ok()) {
    throw EngineError::of(Code::InvalidValue, {}, name, "含有無法以 Big5 儲存的字元");
  }
  params_[name] = Value::bytes(std::move(enc.bytes));
}

void Query::setParam(const std::string& name, const Value& value) {
  params_[name] = value;
}

// A statement ready to run, with the files it names acquired.
struct Query::Prepared {
  StatementHandle statement;
  std::vector<Acquired> files;
  std::vector<std::string> names;
};

// Acquires the files the SQL names, prepares the statement on them (or takes the kept one, when
// they are attached as it was prepared) and binds its parameters: given values first, then the
// data source's current row.
Query::Prepared Query::prepare() {
  Connection& connection = session_.connection();
  Prepared p;
  if (kept_) {
    Kept kept = std::move(*kept_);
    kept_.reset();
    std::vector<std::string> attachedAs;
    for (const std::string& name : kept.fileNames) {
      attachedAs.push_back(p.files.emplace_back(connection, name).schemaName());
    }
    if (attachedAs == kept.schemaNames) {
      connection.checkUsable();
      p.statement = std::move(kept.statement);
      p.names = std::move(kept.fileNames);
      sqlite3_clear_bindings(p.statement.get());
    } else {
      p.files.clear();
    }
  }
  if (!p.statement) {
    TableNames rewritten = rewriteTableNames(sql_, [&](const std::string& fileName) {
      return p.files.emplace_back(connection, fileName).schemaName();
    });
    p.names = std::move(rewritten.files);
    p.statement = connection.prepare(rewritten.sql, p.names);
  }
  sqlite3_stmt* st = p.statement.get();
  for (int i = 1; i <= sqlite3_bind_parameter_count(st); ++i) {
    const char* raw = sqlite3_bind_parameter_name(st, i);
    if (!raw) continue;
    const std::string name = raw + 1;
    auto it = params_.find(name);
    if (it != params_.end()) {
      bindValue(st, i, it->second);
    } else if (source_ && source_->schema().fieldIndex(name) >= 0) {
      const Field f = source_->FieldByName(name);
      Value v = f.value();
      if (v.isNull() && f.type() == FieldType::String) v = Value::bytes({});
      bindValue(st, i, v);
    } else {
      // A misspelt parameter would otherwise quietly select nothing.
      throw EngineError::of(Code::General, connection.describe(p.names), {},
                            "查詢參數 :" + name + " 沒有值");
    }
  }
  return p;
}

std::string Query::filesText() const {
  return session_.connection().describe(fileNames_);
}

void Query::readRow() {
  sqlite3_stmt* st = stmt_.get();
  const int n = sqlite3_column_count(st);
  if (defs_.empty()) {
    for (int i = 0; i < n; ++i) {
      FieldDef d;
      d.name = resultName(sqlite3_column_name(st, i));
      const int t = sqlite3_column_type(st, i);
      d.type = (t == SQLITE_INTEGER || t == SQLITE_FLOAT) ? FieldType::Currency : FieldType::String;
      defs_.push_back(d);
    }
  }
  row_.assign(n, Value());
  for (int i = 0; i < n; ++i) row_[i] = columnValue(st, i);
}

// The statement is stepped one row ahead, so that it is reset (and lets go of the files'
// read locks) as soon as the last row has been read, not when the query is closed.
void Query::step() {
  hasPending_ = false;
  hasPending_ = session_.connection().step(stmt_.get(), fileNames_) == SQLITE_ROW;
  if (!hasPending_) sqlite3_reset(stmt_.get());
}

void Query::Open() {
  if (Active()) return;
  Prepared p = prepare();
  stmt_ = std::move(p.statement);
  files_ = std::move(p.files);
  fileNames_ = std::move(p.names);
  defs_.clear();
  try {
    step();
  } catch (...) {
    Close();
    throw;
  }
  if (hasPending_) {
    readRow();
    eof_ = false;
    step();
  } else {
    const int n = sqlite3_column_count(stmt_.get());
    for (int i = 0; i < n; ++i) defs_.push_back({resultName(sqlite3_column_name(stmt_.get(), i))});
    row_.assign(n, Value());
    eof_ = true;
  }
}

void Query::Next() {
  if (!Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢未開啟");
  if (!hasPending_) {
    eof_ = true;
    return;
  }
  readRow();
  step();
}

void Query::Close() {
  if (!stmt_) return;
  sqlite3_reset(stmt_.get());
  kept_ = Kept{std::move(stmt_), std::move(fileNames_), {}};
  for (const Acquired& file : files_) kept_->schemaNames.push_back(file.schemaName());
  eof_ = true;
  files_.clear();
  fileNames_.clear();
}

long long Query::ExecSQL() {
  if (Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢開啟中");
  const Prepared p = prepare();
  Connection& connection = session_.connection();
  // Whatever the statement changes, even when it fails half-way, is seen by the table objects
  // at their next move: rows they read before now are re-read.
  connection.noteWrite();
  while (connection.step(p.statement.get(), p.names) == SQLITE_ROW) {
  }
  return connection.changes();
}

Field Query::FieldByName(const std::string& name) {
  if (!Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢未開啟");
  for (size_t i = 0; i < defs_.size(); ++i)
    if (upperAscii(defs_[i].name) == upperAscii(name)) return Field(this, int(i));
  throw EngineError::of(Code::UnknownField, filesText(), name);
}

const FieldDef& Query::fieldDef(int index) const {
  return defs_.at(index);
}

const Value& Query::fieldValue(int index) const {
  if (!Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢未開啟");
  return row_.at(index);
}

void Query::setFieldValue(int, Value) {
  throw EngineError::of(Code::WrongState, {}, {}, "查詢結果不可修改");
}

}  // namespace store
