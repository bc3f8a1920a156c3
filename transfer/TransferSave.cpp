#include "TransferSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "store/EngineError.h"
#include "store/FolderCleanup.h"

namespace transfer {

namespace {

[[noreturn]] void fail(const std::filesystem::path& fileName, int error) {
  throw store::EngineError::fromErrno(error, fileName.string());
}

bool syncFolder(const std::filesystem::path& folder) {
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir < 0) return false;
  int rc = ::fsync(dir);
  // Some file systems cannot sync a folder at all (EINVAL); there is nothing more to wait for.
  const bool synced = rc == 0 || errno == EINVAL;
  ::close(dir);
  return synced;
}

// Closes and removes the file being written unless it was handed over by rename.
class PendingFile {
 public:
  PendingFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  int close() {
    int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void renamed() { path_.clear(); }

 private:
  int fd_;
  std::string path_;
};

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

std::string saveTransferFile(const std::filesystem::path& fileName, std::string_view bytes) {
  if (fileName.empty() || !fileName.has_filename()) fail(fileName, EISDIR);
  mode_t mode = newFileMode();
  struct stat existing;
  if (::stat(fileName.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) fail(fileName, EISDIR);
    // Renaming over a device or a pipe would remove it instead of writing to it.
    if (!S_ISREG(existing.st_mode)) {
      throw store::EngineError::of(store::EngineError::Code::General, fileName.string(), {},
                                   "不是一般檔案,不可取代");
    }
    // A write-protected file stays protected, as it would on the diskette it was meant for,
    // also for a user whom the system would let replace it.
    if ((existing.st_mode & 0222) == 0) fail(fileName, EACCES);
    if (::access(fileName.c_str(), W_OK) != 0) fail(fileName, errno);
    mode = existing.st_mode & 07777;
  }

  const std::filesystem::path folder =
      fileName.has_parent_path() ? fileName.parent_path() : std::filesystem::path(".");
  store::FolderCleanup::removeUnfinishedSaves(fileName);  // of runs cut short before
  std::string pattern = (folder / ("." + fileName.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) fail(fileName, errno);
  PendingFile pending(fd, pattern);

  if (::fchmod(fd, mode) != 0) fail(fileName, errno);
  if (!writeAll(fd, bytes)) fail(fileName, errno);
  if (::fsync(fd) != 0) fail(fileName, errno);
  if (pending.close() != 0) fail(fileName, errno);
  if (::rename(pending.path().c_str(), fileName.c_str()) != 0) fail(fileName, errno);
  pending.renamed();

  // The rename itself reaches the medium only with the folder. The file under the name is whole
  // either way (the old one or the new one), and here it is the new one: a failure now is a
  // warning, not a failed save.
  if (syncFolder(folder) || syncFolder(folder)) return {};
  return "轉帳檔 " + fileName.string() +
         " 已完整寫入,但系統未能確認其所在資料夾已存入磁碟;請在取出磁片前確認檔案仍在";
}

}  // namespace transfer
