#pragma once
// Owners of SQLite handles: a connection or a statement is closed or finalised when its owner
// goes, on every path. The engine holds every handle by one of them. (A public header only
// because a Query holds its statement by one; it declares nothing of SQLite itself.)

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

struct ConnectionCloser {
  void operator()(sqlite3* db) const noexcept;
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* st) const noexcept;
};

using ConnectionHandle = std::unique_ptr<sqlite3, ConnectionCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace store
