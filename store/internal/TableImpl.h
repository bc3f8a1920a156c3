#pragma once
// The inside of a Table (engine internal): its current row, the keys being typed, the
// master link, and the SQL that selects the visible rows in order and moves through them.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Acquired.h"
#include "SqliteHandles.h"
#include "Table.h"

namespace store {

namespace tablerows {

struct Row {
  std::vector<Value> values;
  long long rowid = 0;
};

// A key being typed in set-key state: the search key or one end of a range.
struct KeyBuffer {
  std::vector<Value> values;
  std::vector<bool> assigned;
  void reset(size_t n) {
    values.assign(n, Value());
    assigned.assign(n, false);
  }
};

std::vector<std::string> splitNames(const std::string& names);

// The value a field takes in keys and comparisons: never NULL (see TableFile::keyColumnName).
Value keyValue(const FieldDef& def, const Value& v);

// Compares two key values the way the indexes order them: bytes as unsigned, a prefix first.
int compareKey(const Value& a, const Value& b);

}  // namespace tablerows

struct Table::Impl {
  using Row = tablerows::Row;
  using KeyBuffer = tablerows::KeyBuffer;

  explicit Impl(Table& t) : self(t) {}

  Table& self;
  std::optional<Acquired> file;  // the table's file, acquired while open
  std::string schemaName;        // its attachment
  std::optional<TableSchema> schema;
  std::vector<int> order;  // field positions of the order key
  bool orderByRowid = false;
  // The SQL of the order and of the columns read, made when the order is chosen: every move
  // builds its statement's text from them.
  struct OrderSql {
    std::string selectList;
    std::vector<std::string> columns;
    std::string ascending, descending;  // " ORDER BY ..."
  } orderSql;

  Row row;     // the current row (valid when hasRow)
  Row buffer;  // the row being inserted or edited
  enum class KeyTarget { Search, RangeStart, RangeEnd } keyTarget = KeyTarget::Search;
  KeyBuffer searchKey, startKey, endKey;
  bool rangeActive = false;
  KeyBuffer rangeStart, rangeEnd;

  Table* master = nullptr;
  std::vector<int> masterFields;  // positions in the master's fields
  std::vector<Value> linkValues;  // the master's values the view was built for
  bool linkValid = false;         // false: the master has no current row, nothing is visible
  unsigned long long linkGeneration = 0;  // the write generation when the view was last read
  std::vector<Table*> details;

  std::map<int, std::function<void(TableEvent)>> listeners;
  int nextToken = 1;

  // Prepared statements by their SQL, kept for the life of the table object: the SQL names the
  // file's attachment, so they are dropped only when the file comes back under another one.
  std::unordered_map<std::string, StatementHandle> statements;
  std::string statementsSchema;  // the attachment the statements were prepared for
  std::deque<Row> ahead;         // rows read ahead of the current one by Next
  unsigned long long aheadGeneration = 0;
  bool aheadEnds = false;  // the rows read ahead end with the last visible row
  // Rows the first Next after a move reads ahead; the batch doubles while the caller keeps going.
  // A statement costs far more than a few rows it returns.
  static constexpr int kFirstAheadBatch = 16;
  int aheadBatch = kFirstAheadBatch;

  Connection& connection() const;
  // The table's file, for messages.
  std::vector<std::string> files;
  const TableSchema& sch() const { return *schema; }
  const FieldDef& def(int i) const { return schema->fields[i]; }

  // A statement of this table, prepared once and kept for the life of the table object.
  sqlite3_stmt* statement(const std::string& sql);
  // Steps it; throws EngineError naming the file.
  int step(sqlite3_stmt* st);

  void dropStatements();
  // Keeps the statements when the file is attached under the same schema name as before.
  void useSchema(const std::string& name);

  std::string table() const { return "\"" + schemaName + "\".data"; }

  const std::string& selectList() const { return orderSql.selectList; }

  // Order key columns, and the values of a row in them.
  const std::vector<std::string>& orderColumns() const { return orderSql.columns; }
  std::vector<Value> orderValues(const Row& r) const;
  // " WHERE" clause naming the current row as it was read: its rowid and its order key, so that a
  // rowid another program freed and SQLite gave to a new row never stands for it. Appends the
  // values to bind.
  std::string sameRowCondition(std::vector<Value>& binds) const;

  Row readRow(sqlite3_stmt* st) const;

  // ---- the view ----

  // Number of leading order fields fixed by the master link.
  size_t linkCount() const { return master ? masterFields.size() : 0; }

  std::vector<Value> currentLinkValues() const;

  // Appends "(c1, c2, ...) op (?, ?, ...)" for the first n columns from `from`.
  static void tupleCondition(std::string& sql, std::vector<Value>& binds,
                             const std::vector<std::string>& cols, const std::vector<Value>& vals,
                             size_t from, size_t n, const char* op);

  size_t assignedPrefix(const KeyBuffer& k) const;

  std::vector<Value> keyValues(const KeyBuffer& k) const;

  // The condition selecting the visible rows. `cursor` narrows it to rows after (or before)
  // the given order key; the range end that such a move cannot cross is then left out, which
  // lets the index seek from the cursor instead of from the range's start.
  enum class Dir { None, After, Before, AtOrAfter };
  std::string where(std::vector<Value>& binds, Dir dir = Dir::None,
                    const std::vector<Value>* cursor = nullptr) const;

  const std::string& orderBy(bool descending) const {
    return descending ? orderSql.descending : orderSql.ascending;
  }

  // Reads up to `limit` visible rows satisfying the extra condition, in order.
  std::vector<Row> fetch(const std::string& cond, const std::vector<Value>& binds, bool descending,
                         int limit);

  std::optional<Row> fetchOne(const std::string& cond, const std::vector<Value>& binds,
                              bool descending);

  void resolveOrder();

  // ---- moving ----

  void dropAhead();

  void setRow(std::optional<Row> r);

  // Makes a found row current.
  void moveTo(Row r);
  // Moves to the first visible row whose first `n` order columns equal those of `key`; false,
  // and no move, when there is none.
  bool moveToFirstEqual(const std::vector<Value>& key, size_t n);

  KeyBuffer& keyBuffer(KeyTarget target);

  void sizeKeys();

  // Set-key state: field assignments now go to the search key or to one end of a range.
  void beginKey(KeyTarget target);

  void requireOpen() const;

  // Leaves insert, edit or set-key state without writing anything.
  void dropPending();

  void first();

  void refreshLink();

  void emit(TableEvent e);

  // The master moved, changed state, or had a field assigned: the view follows.
  void masterChanged(TableEvent e);

  void unlinkMaster();

  // The SQL condition (over the columns of table()) and the bound values that select the
  // visible rows: "1" when all are visible. REQUIRES: open.
  void visibleFilter(std::string& sql, std::vector<Value>& binds) const;
};

}  // namespace store
