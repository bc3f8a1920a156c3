#pragma once
// FileReplacement: the one way a file of this program takes the place of another, or a new name.
//
// Every file put under a name that a reader relies on goes through here: a table file when it
// is made, a backup and a restored table, a dated backup set (a folder), the transfer file and a
// report saved as PDF. The new content is written beside the target under a temporary name,
// ".NAME.part-PID-N" (PID the writing process, N a count), made with mode 0600 (a folder 0700),
// so that nothing under NAME is ever partial. A file that replaces another takes that file's
// permissions, so that what its owner set stays set. commit() then
//   1. puts the content on the medium: the file, or each file of the folder and the folder;
//   2. reads back what write() wrote and compares it, then lets the caller's check read the
//      temporary: a check that throws refuses the replacement;
//   3. for a table file, makes sure that nothing SQLite keeps beside the target (a rollback
//      journal, a -wal or -shm file) is ever applied to the new file: a hot journal is first
//      rolled back into the old file, so that the old file is whole should the run be cut here,
//      and then every such file is removed;
//   4. renames the temporary over the target, or with Existing::Keep links it under a name that
//      must not exist yet;
//   5. syncs the target's folder, so that the new name is on the medium.
// A failure in steps 1 to 4 throws EngineError naming the target, leaves the target byte for byte
// as it was and removes the temporary. After step 4 the replacement has happened: when step 5
// fails even at a second try, commit() returns Synced::Unconfirmed instead of throwing.
//
// An existing target that is a folder (for a file), a device or a pipe, or that is
// write-protected, is refused when the replacement begins, before anything is written.
//
// A run killed before step 4 leaves only its temporary. removeLeftovers() removes those whose
// writer has ended; FolderCleanup calls it for the data folder at every start, and every new
// replacement calls it for its own target's name, whatever the folder.
//
// The temporary is written through write(), or by the caller at temporary() (SQLite, for a
// table file; files inside, for a folder). Whatever wrote there must have closed it before
// commit(): closing another descriptor of a file would drop SQLite's locks on it.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class FileReplacement {
 public:
  enum class Kind {
    File,       // bytes
    TableFile,  // an SQLite file: step 3 applies
    Folder,     // a folder of files
  };
  enum class Existing { Replace, Keep };
  enum class Synced { Yes, Unconfirmed };
  using Check = std::function<void(const std::filesystem::path& temporary)>;

  // Makes the temporary beside `target`. Throws EngineError naming the target: a missing
  // folder, a folder that cannot be written, a full disk, or a target that must not be replaced.
  explicit FileReplacement(std::filesystem::path target, Kind kind = Kind::File);
  // Removes the temporary unless it was committed.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporary() const { return temporary_; }

  // Appends bytes to the temporary file. REQUIRES: Kind::File, not committed. Throws EngineError
  // naming the target (a full disk, a medium that cannot be written).
  void write(std::string_view bytes);

  // Steps 1 to 5 above. REQUIRES: not committed. Throws EngineError naming the target.
  Synced commit(const Check& check = {}, Existing existing = Existing::Replace);

  // Removes a file or a folder whole: it is first renamed to a temporary name, so that a removal
  // cut short leaves a leftover for removeLeftovers(), never a part under its name. Throws
  // EngineError naming it.
  static void remove(const std::filesystem::path& path);

  // Removes the temporaries (and their journals) in `folder` whose writer has ended and that
  // were last written before this process started, those of `onlyFor` alone when it is given.
  // Never throws: a leftover that cannot be removed stays, harmless.
  static void removeLeftovers(const std::filesystem::path& folder,
                              const std::string& onlyFor = {}) noexcept;

  // The one warning of a replacement that happened but whose folder could not be synced.
  static std::string unconfirmedWarning(const std::filesystem::path& target);

 private:
  void checkTarget();
  void syncContent();
  void compareWritten() const;
  void clearTableSideFiles() const;
  void putInPlace(Existing existing);
  void writeBlock(std::string_view block);

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Kind kind_;
  bool committed_ = false;
  int keptMode_ = -1;  // the permissions of the file replaced, when there is one
  int fd_ = -1;        // the temporary, while write() is used
  std::string block_;
  std::vector<std::size_t> blockHashes_;
  std::size_t written_ = 0;
};

}  // namespace store
