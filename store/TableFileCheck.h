#pragma once
// TableFileCheck: whether a table file is sound, as far as can be told from outside the program
// (salary-admin check).
//
// A file is sound when it exists; SQLite's integrity check finds nothing; it opens through the
// session (the table password's verifier matches, its recorded structure is the one expected);
// its rows table and indexes are exactly those the engine makes for that structure (fields,
// types, keys, indexes); and every stored string is valid code page 950 no wider than its field.
// The file is only read.

#include <string>
#include <vector>

#include "Schema.h"

namespace store {

class Session;

class TableFileCheck {
 public:
  struct Report {
    std::string file;                   // the path checked
    long long rows = 0;                 // rows of the table, when they could be read
    std::vector<std::string> problems;  // empty when sound; each names what is wrong
    bool sound() const { return problems.empty(); }
  };

  // Checks the file `fileName` of the session's folder against `expected`.
  static Report check(Session& session, const std::string& fileName, const TableSchema& expected);
};

}  // namespace store
