#pragma once
// Query: a fixed SQL text over the table files of the session's folder.
//
// Tables are named in the SQL by file name, with or without ".DB" and in any letter case
// ("From Temp" reads temp.DB): every name after FROM, JOIN, INTO or UPDATE, or after a comma of
// a FROM list, is taken as one; nothing inside a literal, a quoted column name or a comment is
// (internal/TableNames.h).
// A parameter written ":NAME" takes, in this order, the value given with setParam, or the
// value of the field of that name in the current row of the data source table. String values
// are bound as the code page 950 bytes they are stored as, so comparisons stay byte by byte;
// literal strings in the SQL would not compare equal to stored strings and must be parameters.
//
// Open runs a SELECT and stands on its first result row; Next steps forward (rows stream, they
// are not loaded at once). A query linked to a data source runs again whenever the source's
// current row changes, while it is open. An aggregate result column "Sum(PAY)" is named
// "SUM OF PAY"; other columns keep their names. ExecSQL runs a statement that returns no rows
// and returns the number of rows it changed.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Field.h"
#include "SqliteHandles.h"
#include "Value.h"

namespace store {

class Acquired;
class Session;
class Table;

class Query : public FieldOwner {
 public:
  explicit Query(Session& session, std::string sql = {});
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // REQUIRES: closed.
  void SetSQL(std::string sql);
  void SetDataSource(Table* source);
  // Text values are encoded to code page 950 (EngineError when they cannot be).
  void setParam(const std::string& name, const std::string& utf8Text);
  void setParam(const std::string& name, const Value& value);

  void Open();
  void Close();
  bool Active() const { return stmt_ != nullptr; }
  void Next();
  bool Eof() const { return eof_; }
  long long ExecSQL();

  // Fields of the current result row (read only).
  Field FieldByName(const std::string& name);
  int fieldCount() const { return static_cast<int>(defs_.size()); }
  Field fieldAt(int index) { return Field(this, index); }

  const FieldDef& fieldDef(int index) const override;
  const Value& fieldValue(int index) const override;
  void setFieldValue(int index, Value value) override;

 private:
  struct Prepared;
  Prepared prepare();
  void readRow();
  void step();
  std::string filesText() const;

  Session& session_;
  std::string sql_;
  Table* source_ = nullptr;
  int sourceToken_ = -1;
  std::map<std::string, Value> params_;
  std::vector<Acquired> files_;  // the files the SQL names, acquired while open
  std::vector<std::string> fileNames_;
  StatementHandle stmt_;
  // A closed query keeps its statement (reset) and the attachments it names: opened again while
  // its files are attached under the same names, it runs the statement anew instead of
  // compiling the SQL again (a report opens its total query once for every employee). SQLite
  // compiles a kept statement again by itself when a file is detached meanwhile, from its text,
  // which names the attachments, so the names being the same is all that matters.
  struct Kept {
    StatementHandle statement;
    std::vector<std::string> fileNames;
    std::vector<std::string> schemaNames;  // the attachment of each file, as prepared
  };
  std::optional<Kept> kept_;
  bool eof_ = true;
  bool hasPending_ = false;  // the statement stands on the row after the current one
  std::vector<FieldDef> defs_;
  std::vector<Value> row_;
};

}  // namespace store
