#pragma once
// ReadScope: the reads of one piece of work (a change of page re-reading its tables) share one
// read transaction, so SQLite checks the files for changes once instead of at every statement.
//
//   store::ReadScope reads(session);
//   table.Close(); table.Open(); table.Refresh(); ...
//
// It only ever holds reads: a statement that writes, a Transaction, attaching or detaching a
// file ends it first, and what follows runs as it would without it. Scopes nest; the outermost
// one ends the read transaction. A failure inside it is the failing statement's own.

namespace store {

class Session;

class ReadScope {
 public:
  explicit ReadScope(Session& session);
  ~ReadScope() noexcept;
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  Session& session_;
};

}  // namespace store
