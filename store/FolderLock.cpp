#include "FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "EngineError.h"

namespace store {

FolderLock::FolderLock(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    throw EngineError::of(EngineError::Code::MissingFile, folder.string(), {}, "資料夾不存在");
  }
  const std::filesystem::path file = folder / kFileName;
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A folder the user may read but not write can still be locked through an existing file.
  if (fd_ < 0 && (errno == EACCES || errno == EROFS))
    fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw EngineError::fromErrno(errno, file.string());
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    ::close(fd_);
    fd_ = -1;
    if (e == EWOULDBLOCK) throw EngineError(EngineError::Code::Busy, kBusyText);
    throw EngineError::fromErrno(e, file.string());
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace store
