#include "FileReplacement.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>

#include "EngineError.h"
#include "FolderCleanup.h"

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMark = ".part-";
constexpr std::string_view kJournal = "-journal";
constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void fail(int error, const fs::path& target) {
  throw EngineError::fromErrno(error, target.string());
}

fs::path folderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

bool allDigits(std::string_view s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

struct Temporary {
  std::string_view base;  // the target's name
  pid_t writer;
};

// ".NAME.part-PID-N", or the same with "-journal" (SQLite's journal of a temporary table file).
std::optional<Temporary> parseTemporary(std::string_view name) {
  if (name.ends_with(kJournal)) name.remove_suffix(kJournal.size());
  const std::size_t at = name.rfind(kMark);
  if (name.size() < 2 || name[0] != '.' || at == std::string_view::npos || at < 2) return {};
  const std::string_view rest = name.substr(at + kMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !allDigits(rest.substr(0, dash)) ||
      !allDigits(rest.substr(dash + 1)))
    return {};
  return Temporary{name.substr(1, at - 1), static_cast<pid_t>(std::stol(std::string(rest)))};
}

bool processRuns(pid_t pid) {
  return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

bool writtenBeforeThisRun(const fs::path& path) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(path, ec);
  if (ec || !(fs::is_regular_file(st) || fs::is_directory(st))) return false;
  const fs::file_time_type written = fs::last_write_time(path, ec);
  return !ec && written < FolderCleanup::staleBefore();
}

// A new name beside `target` that nothing else uses; `make` creates it and returns errno.
template <class Make>
fs::path newTemporary(const fs::path& target, Make make) {
  static std::atomic<int> counter{0};
  for (;;) {
    std::string base = ".";
    base += target.filename().string();
    base += kMark;
    base += std::to_string(::getpid());
    base += '-';
    base += std::to_string(++counter);
    const fs::path name = folderOf(target) / base;
    const int error = make(name);
    if (error == 0) return name;
    if (error != EEXIST) fail(error, target);
  }
}

// Some file systems cannot sync a folder at all (EINVAL): there is then nothing to wait for.
bool syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return synced;
}

void syncFile(const fs::path& file, const fs::path& target) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno, target);
  const int rc = ::fsync(fd);
  const int e = errno;
  ::close(fd);
  if (rc != 0) fail(e, target);
}

std::size_t hashOf(std::string_view block) {
  return std::hash<std::string_view>{}(block);
}

}  // namespace

FileReplacement::FileReplacement(fs::path target, Kind kind)
    : target_(std::move(target)), kind_(kind) {
  checkTarget();
  removeLeftovers(folderOf(target_), target_.filename().string());
  if (kind_ == Kind::Folder) {
    temporary_ = newTemporary(
        target_, [](const fs::path& name) { return ::mkdir(name.c_str(), 0700) == 0 ? 0 : errno; });
    return;
  }
  int fd = -1;
  temporary_ = newTemporary(target_, [&](const fs::path& name) {
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    return fd >= 0 ? 0 : errno;
  });
  // SQLite writes a table file through descriptors of its own.
  if (kind_ == Kind::File) {
    fd_ = fd;
    block_.reserve(kBlock);
  } else {
    ::close(fd);
  }
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (committed_) return;
  std::error_code ignored;
  fs::remove_all(temporary_, ignored);
  fs::remove(temporary_.string() + std::string(kJournal), ignored);
}

void FileReplacement::checkTarget() {
  if (target_.empty() || !target_.has_filename()) fail(EISDIR, target_);
  struct stat existing;
  if (::stat(target_.c_str(), &existing) != 0) return;
  if (S_ISDIR(existing.st_mode)) {
    if (kind_ == Kind::Folder) {
      throw EngineError::of(EngineError::Code::General, target_.string(), {}, "已存在,不可取代");
    }
    fail(EISDIR, target_);
  }
  // Renaming over a device or a pipe would remove it instead of writing to it.
  if (!S_ISREG(existing.st_mode)) {
    throw EngineError::of(EngineError::Code::General, target_.string(), {},
                          "不是一般檔案,不可取代");
  }
  // A write-protected file stays protected, as it would on a diskette, also for a user whom the
  // system would let replace it.
  if ((existing.st_mode & 0222) == 0) fail(EACCES, target_);
  if (::access(target_.c_str(), W_OK) != 0) fail(errno, target_);
  keptMode_ = static_cast<int>(existing.st_mode & 07777);
}

void FileReplacement::write(std::string_view bytes) {
  if (fd_ < 0 || committed_) {
    throw EngineError::of(EngineError::Code::WrongState, target_.string());
  }
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), kBlock - block_.size());
    block_.append(bytes.substr(0, n));
    bytes.remove_prefix(n);
    if (block_.size() == kBlock) {
      writeBlock(block_);
      block_.clear();
    }
  }
}

void FileReplacement::writeBlock(std::string_view block) {
  blockHashes_.push_back(hashOf(block));
  written_ += block.size();
  while (!block.empty()) {
    const ssize_t n = ::write(fd_, block.data(), block.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, target_);
    }
    block.remove_prefix(static_cast<std::size_t>(n));
  }
}

FileReplacement::Synced FileReplacement::commit(const Check& check, Existing existing) {
  if (committed_) throw EngineError::of(EngineError::Code::WrongState, target_.string());
  syncContent();
  if (kind_ == Kind::File) compareWritten();
  if (check) check(temporary_);
  if (kind_ == Kind::TableFile) clearTableSideFiles();
  // A medium without permissions (a FAT diskette) refuses to set them; the content is what
  // matters there.
  if (keptMode_ >= 0 && keptMode_ != 0600)
    ::chmod(temporary_.c_str(), static_cast<mode_t>(keptMode_));
  putInPlace(existing);
  const fs::path folder = folderOf(target_);
  return syncFolder(folder) || syncFolder(folder) ? Synced::Yes : Synced::Unconfirmed;
}

void FileReplacement::syncContent() {
  if (kind_ == Kind::File) {
    if (!block_.empty()) writeBlock(block_);
    block_.clear();
    if (::fsync(fd_) != 0) fail(errno, target_);
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) fail(errno, target_);
    return;
  }
  if (kind_ == Kind::Folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(temporary_, ec)) {
      if (entry.is_regular_file()) syncFile(entry.path(), target_);
    }
    if (ec) fail(ec.value(), target_);
    if (!syncFolder(temporary_)) fail(errno, target_);
    return;
  }
  syncFile(temporary_, target_);
}

// Read back in blocks, so that a file of a whole table is never held twice.
void FileReplacement::compareWritten() const {
  const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno, target_);
  std::string block(kBlock, '\0');
  std::size_t at = 0, index = 0;
  bool same = true;
  while (same) {
    std::size_t n = 0;
    while (n < kBlock) {
      const ssize_t got = ::read(fd, block.data() + n, kBlock - n);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        same = got == 0;
        break;
      }
      n += static_cast<std::size_t>(got);
    }
    if (n == 0) break;
    same = same && index < blockHashes_.size() &&
           blockHashes_[index] == hashOf(std::string_view(block.data(), n));
    at += n;
    ++index;
  }
  ::close(fd);
  if (!same || at != written_) {
    throw EngineError::of(EngineError::Code::IoError, target_.string(), {},
                          "寫入後讀回的內容與寫入的內容不符,原有的檔案維持原狀");
  }
}

void FileReplacement::clearTableSideFiles() const {
  const std::string base = target_.string();
  std::error_code ec;
  if (fs::exists(base + std::string(kJournal), ec) && fs::exists(target_, ec)) {
    // Nothing is reported: a file that cannot be read is being replaced anyway.
    FolderCleanup::recoverJournal(target_);
  }
  bool removed = false;
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    const fs::path side = base + suffix;
    if (::unlink(side.c_str()) == 0) {
      removed = true;
    } else if (errno != ENOENT) {
      fail(errno, side);
    }
  }
  // The side files must be gone from the medium before the new file takes the name.
  if (removed && !syncFolder(folderOf(target_))) fail(EIO, target_);
}

void FileReplacement::putInPlace(Existing existing) {
  if (existing == Existing::Replace) {
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno, target_);
    committed_ = true;
    return;
  }
  if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    return;
  }
  if (errno != EINVAL || kind_ == Kind::Folder) {
    if (errno == EEXIST || errno == ENOTEMPTY) {
      throw EngineError::of(EngineError::Code::General, target_.string(), {}, "檔案已存在");
    }
    fail(errno, target_);
  }
  // A file system without that kind of rename: a link is never made over an existing name.
  if (::link(temporary_.c_str(), target_.c_str()) != 0) {
    if (errno == EEXIST) {
      throw EngineError::of(EngineError::Code::General, target_.string(), {}, "檔案已存在");
    }
    fail(errno, target_);
  }
  committed_ = true;
  ::unlink(temporary_.c_str());
}

void FileReplacement::remove(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return;
  const fs::path aside = newTemporary(path, [&](const fs::path& name) {
    // Taken only when nothing has that name; the rename itself cannot be told to check.
    if (fs::exists(fs::symlink_status(name, ec))) return EEXIST;
    return ::rename(path.c_str(), name.c_str()) == 0 ? 0 : errno;
  });
  fs::remove_all(aside, ec);  // what stays is a leftover for removeLeftovers
}

void FileReplacement::removeLeftovers(const fs::path& folder, const std::string& onlyFor) noexcept {
  try {
    std::error_code ec;
    std::vector<fs::path> ended;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      const std::string name = entry.path().filename().string();
      const auto temporary = parseTemporary(name);
      if (!temporary || (!onlyFor.empty() && temporary->base != onlyFor)) continue;
      if (!processRuns(temporary->writer)) ended.push_back(entry.path());
    }
    for (const fs::path& path : ended) {
      if (writtenBeforeThisRun(path)) fs::remove_all(path, ec);
    }
  } catch (...) {
    // A leftover that cannot be removed is harmless; the work goes on.
  }
}

std::string FileReplacement::unconfirmedWarning(const fs::path& target) {
  return target.string() +
         " 已完整寫入,但系統未能確認其所在資料夾已存入磁碟;取出磁片或關機前請確認檔案仍在";
}

}  // namespace store
