#pragma once
// PageCopy (engine internal): a whole table file copied page by page into another file, for the
// batch copy of a closed table object (a backup, a restore, a backup set).
//
// The copy is SQLite's online backup of the source file: every page as it is, so the copy
// carries the source's structure, indexes and password verifier, and costs about as much as
// reading the file once. It writes into a file that exists and is empty (the temporary of a
// FileReplacement), which the caller checks and puts in place.

#include <filesystem>
#include <string>

namespace store {

class Session;

class PageCopy {
 public:
  // Copies the table file `sourceName` of the session's folder into the empty file `into`.
  // The source must open as a table file of the session (password and structure). Throws
  // EngineError naming the source when it cannot be read, `targetName` when the copy cannot be
  // written.
  static void copy(Session& session, const std::string& sourceName,
                   const std::filesystem::path& into, const std::string& targetName);
};

}  // namespace store
