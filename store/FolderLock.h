#pragma once
// FolderLock: one program at a time on a folder of table files.
//
// The lock is an exclusive flock on the file ".salary.lock" in the folder, taken without
// waiting and held until the object goes; the system releases it when the process ends, however
// it ends, so a killed program never leaves the folder locked. The program holds it for its whole
// run, and salary-admin's writing commands for theirs: a second holder is refused at once with
// EngineError Busy, before it has touched any table file.
//
// The lock file itself holds nothing and may be left in place; it is created (mode 0600) when
// missing. The descriptor is not inherited by programs this process starts.

#include <filesystem>

namespace store {

class FolderLock {
 public:
  // Throws EngineError: Busy ("本系統已在執行中") when another holder has the folder,
  // MissingFile when the folder does not exist, ReadOnly when the lock file cannot be made.
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // The lock file's name in the folder.
  static constexpr const char* kFileName = ".salary.lock";
  // The text of the refusal.
  static constexpr const char* kBusyText = "本系統已在執行中";

 private:
  int fd_ = -1;
};

}  // namespace store
