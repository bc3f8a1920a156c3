#include "SqlValue.h"

#include <sqlite3.h>

namespace store {

void bindValue(sqlite3_stmt* st, int index, const Value& v) {
  static const char empty = 0;
  if (v.isNumber()) {
    sqlite3_bind_double(st, index, v.asNumber());
  } else if (v.isBytes()) {
    const std::string& b = v.asBytes();
    sqlite3_bind_blob(st, index, b.empty() ? &empty : b.data(), static_cast<int>(b.size()),
                      SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(st, index);
  }
}

Value columnValue(sqlite3_stmt* st, int index) {
  switch (sqlite3_column_type(st, index)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return Value::number(sqlite3_column_double(st, index));
    case SQLITE_NULL:
      return Value();
    default: {
      const char* p = static_cast<const char*>(sqlite3_column_blob(st, index));
      const int n = sqlite3_column_bytes(st, index);
      return n == 0 ? Value() : Value::bytes(std::string(p, n));
    }
  }
}

}  // namespace store
