#pragma once
// BatchMove: copies a table into another file (the copy mode of the classic batch move).
//
// Execute creates the destination file anew with the source's structure (fields, primary key,
// indexes and password verifier) and copies every visible row of the source into it. A closed
// source object stands for its whole file, which is then copied page by page (PageCopy): much
// faster on a large table, with the same result.
//
// The copy replaces the destination only once it is whole, on disk and checked (FileReplacement),
// so that a failure leaves an earlier file of that name byte for byte as it was. The check reads
// the copy as the file's next reader would: a copy that is to become one of the live tables (a
// restore) must pass everything salary-admin check asks of that table, strings included; any
// other copy (a backup) SQLite's integrity check, the structure of the table it copies and the
// password verifier. A copy that fails is refused with EngineError NotATable naming the source,
// its fault and the file left as it was. The destination object is left open or closed as it
// was; when open, it is re-read. Refused inside a Transaction.

#include <filesystem>
#include <string>

namespace store {

class Table;

class BatchMove {
 public:
  enum class Mode { Append = 0, Update = 1, AppendUpdate = 2, Delete = 3, Copy = 4 };

  void SetSource(Table* source) { source_ = source; }
  void SetDestination(Table* destination) { destination_ = destination; }
  void SetMode(Mode mode) { mode_ = mode; }
  Mode mode() const { return mode_; }

  // REQUIRES: source and destination set (destination with a table name), mode Copy.
  void Execute();

  // After a successful Execute: empty, or the warning that the destination is in place but its
  // folder could not be synced (FileReplacement::unconfirmedWarning).
  const std::string& warning() const { return warning_; }
  // After a successful Execute: the rows of the copy, as its check counted them.
  long long copiedRows() const { return rows_; }

 private:
  void copyVisibleRows(const std::filesystem::path& into, const std::string& destinationName);

  Table* source_ = nullptr;
  Table* destination_ = nullptr;
  Mode mode_ = Mode::Append;
  std::string warning_;
  long long rows_ = 0;
};

}  // namespace store
