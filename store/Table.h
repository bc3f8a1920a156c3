#pragma once
// Table: a cursor over one table file of the session's folder, with the behaviour of the
// classic table object that the forms are written against.
//
// States: Inactive (closed), Browse, Insert, Edit, SetKey. The current row is held by its full
// order key (the fields of the current index, then the remaining primary key fields); every
// move is one indexed statement, so nothing ever loads a whole table and a move costs the same
// on ten rows or a million. Rows changed through other table objects of the same session are
// seen at the next move.
//
// Rows visible: all rows of the file, narrowed by an applied range and, for a detail table, to
// the rows whose link fields equal the master's current row.
//
// End flags: First (and Open) sets Bof, Last sets Eof; Next on the last visible row sets Eof
// and stays; Prior on the first sets Bof and stays; any successful move clears both. On an
// empty view both are set and there is no current row (fields read empty).
//
// Pending rows: a move, a search, a range, a Refresh, a Close or a change of the master's row
// while a row is being inserted or edited drops that row without writing it (as Cancel does).
// Only Post ever writes a row.
//
// Every failure throws EngineError. Post failing leaves the row, its values and the state as
// they were.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Field.h"
#include "Schema.h"
#include "Value.h"

namespace store {

class Session;

enum class TableState { Inactive, Browse, Insert, Edit, SetKey };

enum LocateOption : unsigned {
  NoLocateOptions = 0,
  PartialKey = 1,       // the field matches when its value begins with the text
  CaseInsensitive = 2,  // ASCII letters match in either case
};

enum class TableEvent {
  Opened,
  Closed,
  RowChanged,    // another row became current, or the current row was re-read
  StateChanged,  // Insert, Edit, Post, Cancel, SetKey, ...
  FieldChanged,  // a field of the row buffer was assigned
  Destroyed,     // the table object is going away: drop every reference to it
};

class Table : public FieldOwner {
 public:
  explicit Table(Session& session, std::string tableName = {});
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  Session& session() const { return session_; }

  // REQUIRES: closed.
  void SetTableName(const std::string& fileName);
  const std::string& TableName() const { return tableName_; }

  // Chooses the row order by an index on the named fields (";"-separated, any letter case):
  // the primary key or a secondary index with exactly those fields, else the first index that
  // begins with them. Empty names choose the primary key. On an open table the current row
  // stays current. Throws UnknownField when no index fits.
  void SetIndexFieldNames(const std::string& names);
  const std::string& IndexFieldNames() const { return indexFieldNames_; }

  // Makes this table the detail of `master`: only rows whose leading fields of the current
  // index equal the master's `masterFields` (";"-separated) are visible, and the view follows
  // the master's moves and the assignment of its link fields. New rows take the master's
  // values. Pass nullptr to unlink.
  void SetMasterSource(Table* master, const std::string& masterFields);

  void Open();
  void Close();
  void SetActive(bool active);
  bool Active() const { return state_ != TableState::Inactive; }
  TableState State() const { return state_; }

  void First();
  void Prior();
  void Next();
  void Last();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return !hasRow_ && state_ != TableState::Insert; }

  // REQUIRES: open. Starts a new, empty row (link fields of a detail already set).
  void Insert();
  void Append();
  // REQUIRES: a current row.
  void Edit();
  // Writes the pending row. Throws KeyViolation, RequiredField, WrongState (nothing pending).
  void Post();
  void Cancel();
  // Deletes the current row; the next row becomes current (the previous when it was the last).
  // Throws EmptyTable when no row is visible.
  void Delete();
  // Re-reads the current row (or its successor when it is gone) and the view from the file.
  void Refresh();
  // Deletes every row of the file. Works on a closed table object.
  void EmptyTable();

  // Exact search on the current index: SetKey, assign key fields, GotoKey. Fields not
  // assigned are not compared. Returns true and moves, or returns false and stays.
  void SetKey();
  bool GotoKey();

  // Moves to the first visible row, in the current order, whose field matches; or returns
  // false and stays.
  bool Locate(const std::string& fieldName, const std::string& value, unsigned options);

  // The current row's full order key: the fields of the current index, then the remaining
  // primary key fields (then the row id when the file has no primary key), as the index
  // compares them. Empty when closed or without a current row. Another table object over the
  // same file and index gives the same key for the same row, so a list of rows can keep each
  // line's key and later return to exactly that row.
  std::vector<Value> orderKey() const;
  // Makes the visible row whose order key is exactly `key` current and returns true; returns
  // false and stays when no visible row has it (the row was deleted, or its key changed). A
  // pending row is dropped, as on every move.
  bool gotoOrderKey(const std::vector<Value>& key);

  // Ranges on the current index: SetRangeStart, assign fields, SetRangeEnd, assign fields,
  // ApplyRange. Both ends included; string keys compare byte by byte, a prefix before its
  // extensions. Fields not assigned at an end leave that end open from that field on.
  void SetRangeStart();
  void SetRangeEnd();
  void ApplyRange();
  void CancelRange();

  // Number of visible rows.
  long long RecordCount();
  // The current row's position among the visible rows, from 1; 0 without a current row. One
  // count over the index, so a list can show a window of lines without reading those before.
  long long RecNo();
  // Makes the visible row at position n (from 1) current and returns true; false, and no move,
  // when there are fewer rows. A pending row is dropped, as on every move.
  bool SetRecNo(long long n);
  // REQUIRES: open. Lets SQLite keep up to `kib` KiB of this file's pages in memory while it
  // stays attached (its default is 2 MiB a file), for bulk work on a large file.
  void SetCacheSize(long kib);
  // Changes with every write through this session: rows read at another value may be stale.
  unsigned long long WriteGeneration() const;

  // Throws UnknownField.
  Field FieldByName(const std::string& name);
  Field fieldAt(int index) { return Field(this, index); }
  // REQUIRES: a table name set (reads the file's structure on first use when closed).
  const TableSchema& schema();

  int subscribe(std::function<void(TableEvent)> listener);
  void unsubscribe(int token);

  // FieldOwner
  const FieldDef& fieldDef(int index) const override;
  const Value& fieldValue(int index) const override;
  void setFieldValue(int index, Value value) override;
  bool takesKey() const override { return state_ == TableState::SetKey; }

  // The engine's inside of this table object, for the engine's own units that work on a table
  // (BatchMove copies the rows it shows). Opaque elsewhere: it is defined in an internal header
  // of the engine.
  struct Impl;
  Impl& impl() const { return *d_; }

 private:
  Session& session_;
  std::string tableName_;
  std::string indexFieldNames_;
  TableState state_ = TableState::Inactive;
  bool bof_ = true;
  bool eof_ = true;
  bool hasRow_ = false;
  std::unique_ptr<Impl> d_;
};

}  // namespace store
