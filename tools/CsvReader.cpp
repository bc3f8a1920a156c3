#include "CsvReader.h"

namespace admin {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

}  // namespace

// Only the whole mark is dropped: the first bytes of one (EF BB) followed by anything else are
// text of the file, and are refused by the rules for its cells rather than silently lost. They
// are read ahead into pending_, since a stream (a pipe) cannot be rewound.
CsvReader::CsvReader(std::istream& in) : in_(in) {
  static const std::string kBom = "\xEF\xBB\xBF";
  for (char b : kBom) {
    if (in_.peek() != static_cast<unsigned char>(b)) return;
    pending_.push_back(static_cast<char>(in_.get()));
  }
  pending_.clear();
}

int CsvReader::get() {
  if (pending_.empty()) return in_.get();
  const int c = static_cast<unsigned char>(pending_.front());
  pending_.erase(0, 1);
  return c;
}

int CsvReader::peek() {
  return pending_.empty() ? in_.peek() : static_cast<unsigned char>(pending_.front());
}

bool CsvReader::next(std::vector<std::string>& cells) {
  cells.clear();
  // Empty lines carry no record.
  for (;;) {
    const int c = peek();
    if (c == kEnd) return false;
    if (c == '\n') {
      get();
      ++line_;
    } else if (c == '\r') {
      get();
      if (get() != '\n') throw CsvError(line_, "有歸位字元 (CR) 後面沒有換行字元 (LF)");
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
  if (peek() != '"') {
    for (;;) {
      const int c = get();
      if (c == '"') throw CsvError(line_, "不以引號開頭的欄位中有引號");
      if (c == ',' || c == '\n' || c == '\r' || c == kEnd) return afterCell(c);
      cell.push_back(static_cast<char>(c));
    }
  }
  const int opened = line_;
  get();
  for (;;) {
    const int c = get();
    if (c == kEnd) throw CsvError(opened, "引號沒有結束");
    if (c == '"') {
      if (peek() != '"') return afterCell(get());
      get();
    } else if (c == '\n') {
      ++line_;
    }
    cell.push_back(static_cast<char>(c));
  }
}

int CsvReader::afterCell(int c) {
  if (c == '\r') {
    if (get() != '\n') throw CsvError(line_, "有歸位字元 (CR) 後面沒有換行字元 (LF)");
    return '\n';
  }
  if (c != ',' && c != '\n' && c != kEnd) {
    throw CsvError(line_, "欄位的結束引號之後還有文字");
  }
  return c;
}

}  // namespace admin
