#pragma once
// Transaction: makes every change to the named table files, through any Table or Query of the
// session, happen entirely or not at all.
//
//   store::Transaction tx(session, {"basic.DB", "salary.DB"});
//   ... Post, Delete, ExecSQL ...
//   tx.commit();
//
// The files are attached and write-locked when the transaction starts; a Table may not open a
// file that is not named. Destroying an uncommitted transaction rolls every file back. After a
// rollback, tables whose rows changed should be refreshed (Table::Refresh). Transactions do not
// nest; BatchMove refuses to run inside one.
//
// A failure that ends the transaction (an I/O error, a full disk, a medium that cannot be
// written; SQLite may roll back by itself after these) aborts it: every later statement of the
// session throws EngineError Aborted at once, until this object commits (which then throws) or
// goes. Nothing ever runs in autocommit mode while a Transaction object believes it is open. A
// refused row (key violation) fails alone; the transaction goes on.

#include <initializer_list>
#include <string>
#include <vector>

namespace store {

class Session;

class Transaction {
 public:
  Transaction(Session& session, std::vector<std::string> fileNames);
  ~Transaction() noexcept;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // REQUIRES: not yet committed. Throws EngineError (and rolls back) when the commit fails or
  // the transaction has been aborted.
  void commit();

 private:
  Session& session_;
  std::vector<std::string> files_;
  bool done_ = false;
};

}  // namespace store
