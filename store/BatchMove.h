#pragma once
// BatchMove: copies a table into another file (the copy mode of the classic batch move).
//
// Execute creates the destination file anew with the source's structure (fields, primary key,
// indexes and password verifier) and copies every visible row of the source into it. The copy
// is written beside the destination and renamed over it only when complete and on disk, so a
// failed copy leaves an earlier file of that name as it was. The destination object is left open
// or closed as it was; when open, it is re-read. Refused inside a Transaction.
//
// A closed source object stands for its whole file: the file is then copied page by page
// (PageCopy), much faster on a large table and with the same result.

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

 private:
  Table* source_ = nullptr;
  Table* destination_ = nullptr;
  Mode mode_ = Mode::Append;
};

}  // namespace store
