#include "CsvReader.h"

namespace admin {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

}  // namespace

CsvReader::CsvReader(std::istream& in) : in_(in) {
  static const std::string kBom = "\xEF\xBB\xBF";
  for (char b : kBom) {
    if (in_.peek() != static_cast<unsigned char>(b)) break;
    in_.get();
  }
}

bool CsvReader::next(std::vector<std::string>& cells) {
  cells.clear();
  // Empty lines carry no record.
  for (;;) {
    const int c = in_.peek();
    if (c == kEnd) return false;
    if (c == '\n') {
      in_.get();
      ++line_;
    } else if (c == '\r') {
      in_.get();
      if (in_.get() != '\n') throw CsvError(line_, "a carriage return without a line feed");
      ++line_;
    } else {
      break;
    }
  }
  recordLine_ = line_;
  for (;;) {
    cells.emplace_back();
    const int end = readCell(cells.back());
    if (end == '\n') ++line_;
    if (end != ',') return true;
  }
}

int CsvReader::readCell(std::string& cell) {
  if (in_.peek() != '"') {
    for (;;) {
      const int c = in_.get();
      if (c == '"') throw CsvError(line_, "a quote inside a cell that does not begin with one");
      if (c == ',' || c == '\n' || c == '\r' || c == kEnd) return afterCell(c);
      cell.push_back(static_cast<char>(c));
    }
  }
  const int opened = line_;
  in_.get();
  for (;;) {
    const int c = in_.get();
    if (c == kEnd) throw CsvError(opened, "a quote that is never closed");
    if (c == '"') {
      if (in_.peek() != '"') return afterCell(in_.get());
      in_.get();
    } else if (c == '\n') {
      ++line_;
    }
    cell.push_back(static_cast<char>(c));
  }
}

int CsvReader::afterCell(int c) {
  if (c == '\r') {
    if (in_.get() != '\n') throw CsvError(line_, "a carriage return without a line feed");
    return '\n';
  }
  if (c != ',' && c != '\n' && c != kEnd) {
    throw CsvError(line_, "text after the closing quote of a cell");
  }
  return c;
}

}  // namespace admin
