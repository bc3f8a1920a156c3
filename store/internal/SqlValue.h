#pragma once
// Moving values between the engine and SQLite statements (engine internal).

#include "Value.h"

struct sqlite3_stmt;

namespace store {

// Bytes as a BLOB (empty bytes as an empty BLOB, never NULL), numbers as REAL, empty as NULL.
void bindValue(sqlite3_stmt* st, int index, const Value& v);
// A result column: numbers as numbers, NULL and empty BLOBs as empty, anything else as bytes.
Value columnValue(sqlite3_stmt* st, int index);

}  // namespace store
