#include "SqliteHandles.h"

#include <sqlite3.h>

namespace store {

void ConnectionCloser::operator()(sqlite3* db) const noexcept {
  sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt* st) const noexcept {
  sqlite3_finalize(st);
}

}  // namespace store
