#pragma once
// TableFileCheck: whether a table file is sound, as far as can be told from outside the program:
// what salary-admin check tells, and what a backup and a restored table must pass before they
// take the place of an earlier file.
//
// A file is sound when it exists; SQLite's integrity check finds nothing; its recorded structure
// is the one expected; it carries the verifier of one of the session's table passwords (when the
// session holds any); its rows table and indexes are exactly those the engine makes for that
// structure (fields, types, keys, indexes); and, at Depth::Content, every stored string is valid
// code page 950 no wider than its field. The file is only read, through a connection of its own,
// so a file that is not yet under its name (a copy beside its target) is checked the same way.

#include <filesystem>
#include <string>
#include <vector>

#include "Schema.h"

namespace store {

class Session;

class TableFileCheck {
 public:
  enum class Depth {
    Structure,  // the file, its structure and its verifier
    Content,    // and every stored string
  };
  struct Report {
    std::string file;                   // the path checked
    long long rows = 0;                 // rows of the table, when they could be read
    std::vector<std::string> problems;  // empty when sound; each names what is wrong
    bool sound() const { return problems.empty(); }
    // The problems joined into one line.
    std::string problemsText() const;
  };

  // Checks the file at `path` against `expected`.
  static Report check(Session& session, const std::filesystem::path& path,
                      const TableSchema& expected, Depth depth = Depth::Content);
};

}  // namespace store
