#include "Query.h"

#include <sqlite3.h>

#include <cctype>
#include <set>

#include "Cp950.h"
#include "EngineError.h"
#include "Session.h"
#include "Table.h"
#include "internal/Connection.h"
#include "internal/SqlValue.h"

namespace store {

namespace {

using Code = EngineError::Code;

std::string upperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
         static_cast<unsigned char>(c) >= 0x80;
}

const std::set<std::string>& notAnAlias() {
  static const std::set<std::string> words{
      "WHERE",   "JOIN",   "INNER",     "LEFT",      "RIGHT", "FULL",   "CROSS",
      "NATURAL", "OUTER",  "ON",        "USING",     "ORDER", "GROUP",  "HAVING",
      "LIMIT",   "UNION",  "EXCEPT",    "INTERSECT", "SET",   "SELECT", "VALUES",
      "DEFAULT", "WINDOW", "RETURNING", "INDEXED",   "NOT"};
  return words;
}

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

// Rewrites the table names of the SQL to the attached files, acquiring each file, and prepares
// the statement.
StatementHandle Query::prepare() {
  Connection& connection = session_.connection();
  std::string out;
  const std::string& s = sql_;
  std::string lastWord;
  bool expectTable = false, inFromList = false;
  size_t i = 0;
  try {
    while (i < s.size()) {
      char c = s[i];
      if (c == '\'' || (c == '"' && !expectTable)) {
        size_t end = s.find(c, i + 1);
        while (end != std::string::npos && end + 1 < s.size() && s[end + 1] == c)
          end = s.find(c, end + 2);
        if (end == std::string::npos) end = s.size() - 1;
        out += s.substr(i, end - i + 1);
        i = end + 1;
        continue;
      }
      if (expectTable && (isWordChar(c) || c == '"')) {
        std::string name;
        if (c == '"') {
          size_t end = s.find('"', i + 1);
          if (end == std::string::npos)
            throw EngineError::of(Code::General, {}, {}, "查詢指令的語法錯誤");
          name = s.substr(i + 1, end - i - 1);
          i = end + 1;
        } else {
          size_t end = i;
          while (end < s.size() && isWordChar(s[end])) ++end;
          name = s.substr(i, end - i);
          i = end;
        }
        std::string base = name;
        if (base.find('.') == std::string::npos) name += ".DB";
        base = base.substr(0, base.find('.'));
        const std::string schema = connection.acquire(name);
        files_.push_back(name);
        out += "\"" + schema + "\".data";
        // Give the table its written name as alias unless the SQL names one.
        size_t j = i;
        while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
        size_t k = j;
        while (k < s.size() && isWordChar(s[k])) ++k;
        const std::string next = upperAscii(s.substr(j, k - j));
        if (next.empty() || notAnAlias().count(next)) out += " AS \"" + base + "\"";
        expectTable = false;
        continue;
      }
      if (isWordChar(c)) {
        size_t end = i;
        while (end < s.size() && isWordChar(s[end])) ++end;
        lastWord = upperAscii(s.substr(i, end - i));
        out += s.substr(i, end - i);
        i = end;
        if (lastWord == "FROM" || lastWord == "JOIN" || lastWord == "INTO" ||
            lastWord == "UPDATE") {
          expectTable = true;
          inFromList = lastWord == "FROM";
        } else if (notAnAlias().count(lastWord)) {
          inFromList = false;
        }
        continue;
      }
      if (c == ',' && inFromList) expectTable = true;
      if (c == '(' && expectTable) expectTable = false;  // a subquery
      out += c;
      ++i;
    }
  } catch (...) {
    releaseFiles();
    throw;
  }
  StatementHandle handle;
  try {
    handle = connection.prepare(out, files_);
  } catch (...) {
    releaseFiles();
    throw;
  }
  sqlite3_stmt* st = handle.get();
  // Parameters: given values first, then the data source's current row.
  for (int p = 1; p <= sqlite3_bind_parameter_count(st); ++p) {
    const char* raw = sqlite3_bind_parameter_name(st, p);
    if (!raw) continue;
    std::string name = raw + 1;
    auto it = params_.find(name);
    if (it != params_.end()) {
      bindValue(st, p, it->second);
    } else if (source_ && source_->schema().fieldIndex(name) >= 0) {
      try {
        const Field f = source_->FieldByName(name);
        Value v = f.value();
        if (v.isNull() && f.type() == FieldType::String) v = Value::bytes({});
        bindValue(st, p, v);
      } catch (...) {
        releaseFiles();
        throw;
      }
    } else {
      // A misspelt parameter would otherwise quietly select nothing.
      releaseFiles();
      throw EngineError::of(Code::General, filesText(), {}, "查詢參數 :" + name + " 沒有值");
    }
  }
  return handle;
}

std::string Query::filesText() const {
  return session_.connection().describe(files_);
}

void Query::releaseFiles() {
  for (const auto& f : files_) session_.connection().release(f);
  files_.clear();
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
  hasPending_ = session_.connection().step(stmt_.get(), files_) == SQLITE_ROW;
  if (!hasPending_) sqlite3_reset(stmt_.get());
}

void Query::Open() {
  if (Active()) return;
  stmt_ = prepare();
  defs_.clear();
  try {
    step();
  } catch (...) {
    stmt_.reset();
    releaseFiles();
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
  stmt_.reset();
  eof_ = true;
  releaseFiles();
}

long long Query::ExecSQL() {
  if (Active()) throw EngineError::of(Code::WrongState, {}, {}, "查詢開啟中");
  Connection& connection = session_.connection();
  StatementHandle st = prepare();
  struct Done {
    Query& q;
    Connection& c;
    ~Done() {
      q.releaseFiles();
      c.noteWrite();
    }
  } done{*this, connection};
  while (connection.step(st.get(), files_) == SQLITE_ROW) {
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
