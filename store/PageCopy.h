#pragma once
// PageCopy (engine internal): a whole table file copied page by page into another file, for the
// batch copy of a closed table object (a backup, a restore).
//
// The copy is SQLite's online backup of the source file: every page as it is, so the copy
// carries the source's structure, indexes and password verifier, and costs about as much as
// reading the file once. It is written into a temporary file beside the target (mode 0600),
// put on disk, and only then renamed over the target, so that a failure (a full disk, a folder
// that cannot be written) leaves an earlier target file byte for byte as it was and no temporary
// file behind. A table object of the session that holds the target open reads the new file
// from then on.

#include <filesystem>
#include <string>

namespace store {

class Session;

class PageCopy {
 public:
  // Copies the table file `sourceName` of the session's folder over `target`. The source must
  // open as a table file of the session (password and structure). Throws EngineError.
  static void copy(Session& session, const std::string& sourceName,
                   const std::filesystem::path& target);
};

}  // namespace store
