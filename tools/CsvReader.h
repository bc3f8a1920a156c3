#pragma once
// CsvReader: reads the records of a comma-separated text file (RFC 4180) one at a time.
//
// Cells may be quoted; a quoted cell holds commas, line breaks and doubled quotes ("" for ").
// Lines end in CRLF or LF; the last line may lack its end. A UTF-8 byte order mark (the three
// bytes EF BB BF) at the very start is skipped; anywhere else, or cut short, it is text.
// Empty lines carry no record and are skipped. Line numbers count the physical lines of the
// file from 1, so a record whose quoted cell spans lines takes them all.
//
// Malformed text (an unterminated quote, a quote inside an unquoted cell, text after a closing
// quote, a carriage return without its line feed) throws CsvError with the line it is on.

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace admin {

struct CsvError : std::runtime_error {
  CsvError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

class CsvReader {
 public:
  explicit CsvReader(std::istream& in);

  // Reads the next record into cells. Returns false at the end of the file.
  bool next(std::vector<std::string>& cells);
  // The line on which the record last read begins.
  int recordLine() const { return recordLine_; }

 private:
  // Reads one cell; returns the character that ended it (',', '\n' or EOF).
  int readCell(std::string& cell);
  int afterCell(int c);
  int get();
  int peek();

  std::istream& in_;
  std::string pending_;  // bytes read ahead at the start that were not a byte order mark
  int line_ = 1;
  int recordLine_ = 0;
};

}  // namespace admin
