#pragma once
// FolderCleanup: removes what a run cut short (killed, or stopped by a power failure) left
// beside the files it was writing, and never anything that is still needed.
//
// What such a run may leave, and what is removed:
// - A super-journal of SQLite, ".session.db-mj" followed by random digits: the list of the
//   rollback journals of one commit that spanned several table files. SQLite needs it while a
//   journal that it lists still exists, because that journal is hot (its commit may have to be
//   rolled back) and the super-journal tells that its commit was never completed. It is
//   removed only when none of its journals may still be hot, after each journal's table file
//   has been given the chance to roll back (SQLite does so whenever the file is read), and
//   when no other process is writing those files. A journal that SQLite never takes for hot
//   (a commit cut before its journals were complete) stays beside its file, which SQLite
//   reuses at the next change; it needs no super-journal.
// - The temporaries of file replacements whose writer has ended (FileReplacement: a table file
//   being made, a backup or a restore being written, a backup set), in the folder and in its
//   folder of backup sets.
//
// Only files that existed before this process started are touched (with a margin of a few
// seconds for coarse file times), so that a commit or a save of another process that is
// running right now is never disturbed. Nothing here throws: a leftover that cannot be removed
// is harmless and stays.

#include <filesystem>

namespace store {

class FolderCleanup {
 public:
  // Removes stale super-journals and the temporaries of ended replacements from a data folder.
  static void removeLeftovers(const std::filesystem::path& folder) noexcept;

  // Has SQLite roll back the hot journal of a table file, if it has one that may be rolled back
  // now (SQLite does so whenever it reads the file). Returns whether no other process is
  // writing the file (it could take the write lock), so that a journal left beside it belongs
  // to no commit still running.
  static bool recoverJournal(const std::filesystem::path& tableFile) noexcept;

  // Files last written before this time count as left by an earlier run.
  static std::filesystem::file_time_type staleBefore();
};

}  // namespace store
