#include "TableNames.h"

#include <cctype>
#include <set>

#include "AsciiCase.h"
#include "EngineError.h"

namespace store {

namespace {

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Words that may follow a table name and are not its alias.
bool notAnAlias(const std::string& upperWord) {
  static const std::set<std::string> words{
      "WHERE",   "JOIN",   "INNER",     "LEFT",      "RIGHT", "FULL",   "CROSS",
      "NATURAL", "OUTER",  "ON",        "USING",     "ORDER", "GROUP",  "HAVING",
      "LIMIT",   "UNION",  "EXCEPT",    "INTERSECT", "SET",   "SELECT", "VALUES",
      "DEFAULT", "WINDOW", "RETURNING", "INDEXED",   "NOT"};
  return words.count(upperWord) > 0;
}

// Words after which a comma no longer separates tables.
bool endsFromList(const std::string& upperWord) {
  static const std::set<std::string> words{"WHERE", "GROUP",  "ORDER",     "HAVING", "LIMIT",
                                           "UNION", "EXCEPT", "INTERSECT", "WINDOW", "RETURNING",
                                           "SET",   "VALUES", "SELECT",    "DEFAULT"};
  return words.count(upperWord) > 0;
}

// The end of a comment that begins at `i` ("-- ..." to the end of the line, "/* ... */"), or
// `i` when none begins there.
size_t commentEnd(const std::string& s, size_t i) {
  if (s.compare(i, 2, "--") == 0) {
    const size_t end = s.find('\n', i);
    return end == std::string::npos ? s.size() : end + 1;
  }
  if (s.compare(i, 2, "/*") == 0) {
    const size_t end = s.find("*/", i + 2);
    return end == std::string::npos ? s.size() : end + 2;
  }
  return i;
}

// The closing character of a quote that opens with `c`, or 0 when `c` opens none.
char closingQuote(char c) {
  switch (c) {
    case '\'':
    case '"':
    case '`':
      return c;
    case '[':
      return ']';
    default:
      return 0;
  }
}

// The position of the quote closing the one opened at `i` (a doubled quote stands for itself
// inside), or npos when it is not closed.
size_t quoteEnd(const std::string& s, size_t i) {
  const char close = closingQuote(s[i]);
  size_t end = s.find(close, i + 1);
  while (close != ']' && end != std::string::npos && end + 1 < s.size() && s[end + 1] == close)
    end = s.find(close, end + 2);
  return end;
}

size_t wordEnd(const std::string& s, size_t i) {
  while (i < s.size() && isWordChar(s[i])) ++i;
  return i;
}

// The next word from `i` on, past blanks and comments, in upper case ("" when none follows).
std::string nextWord(const std::string& s, size_t i) {
  for (;;) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    const size_t end = i < s.size() ? commentEnd(s, i) : i;
    if (end == i) break;
    i = end;
  }
  return upperAscii(s.substr(i, wordEnd(s, i) - i));
}

}  // namespace

TableNames rewriteTableNames(const std::string& sql,
                             const std::function<std::string(const std::string&)>& attachmentOf) {
  TableNames out;
  std::string& to = out.sql;
  bool expectTable = false;  // the next word is a table name
  bool inFromList = false;   // a comma starts another table
  std::vector<bool> outerFromLists;
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (const size_t end = commentEnd(sql, i); end != i) {
      to.append(sql, i, end - i);
      i = end;
      continue;
    }
    const bool quote = closingQuote(c) != 0;
    if (quote && !(expectTable && c != '\'')) {
      // A literal or a quoted column name: copied as it is, to its end.
      size_t end = quoteEnd(sql, i);
      end = end == std::string::npos ? sql.size() : end + 1;
      to.append(sql, i, end - i);
      i = end;
      continue;
    }
    if (expectTable && (quote || isWordChar(c))) {
      std::string name;
      if (quote) {
        const size_t end = quoteEnd(sql, i);
        if (end == std::string::npos) {
          throw EngineError::of(EngineError::Code::General, {}, {}, "查詢指令的語法錯誤");
        }
        name = sql.substr(i + 1, end - i - 1);
        i = end + 1;
      } else {
        const size_t end = wordEnd(sql, i);
        name = sql.substr(i, end - i);
        i = end;
      }
      const std::string base = name.substr(0, name.find('.'));
      if (name.find('.') == std::string::npos) name += ".DB";
      to += '"';
      to += attachmentOf(name);
      to += "\".data";
      out.files.push_back(name);
      // The table keeps its written name as alias unless the SQL names one.
      const std::string next = nextWord(sql, i);
      if (next.empty() || notAnAlias(next)) {
        to += " AS \"";
        to += base;
        to += '"';
      }
      expectTable = false;
      continue;
    }
    if (isWordChar(c)) {
      const size_t end = wordEnd(sql, i);
      const std::string word = upperAscii(sql.substr(i, end - i));
      to.append(sql, i, end - i);
      i = end;
      if (word == "FROM" || word == "JOIN") {
        expectTable = inFromList = true;
      } else if (word == "INTO" || word == "UPDATE") {
        expectTable = true;
        inFromList = false;
      } else if (endsFromList(word)) {
        inFromList = false;
      }
      continue;
    }
    if (c == ',' && inFromList) expectTable = true;
    if (c == '(') {
      // A subquery, or a list of values: a level of its own.
      outerFromLists.push_back(inFromList);
      expectTable = inFromList = false;
    } else if (c == ')' && !outerFromLists.empty()) {
      inFromList = outerFromLists.back();
      outerFromLists.pop_back();
      expectTable = false;
    } else if (c == ';') {
      outerFromLists.clear();
      expectTable = inFromList = false;
    }
    to += c;
    ++i;
  }
  return out;
}

}  // namespace store
