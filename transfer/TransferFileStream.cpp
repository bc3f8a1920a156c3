#include "TransferFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>

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

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::filesystem::path folderOf(const std::filesystem::path& fileName) {
  return fileName.has_parent_path() ? fileName.parent_path() : std::filesystem::path(".");
}

std::size_t hashOf(std::string_view block) {
  return std::hash<std::string_view>{}(block);
}

}  // namespace

TransferFileStream::TransferFileStream(std::filesystem::path fileName)
    : fileName_(std::move(fileName)) {
  if (fileName_.empty() || !fileName_.has_filename()) fail(fileName_, EISDIR);
  mode_t mode = newFileMode();
  struct stat existing;
  if (::stat(fileName_.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) fail(fileName_, EISDIR);
    // Renaming over a device or a pipe would remove it instead of writing to it.
    if (!S_ISREG(existing.st_mode)) {
      throw store::EngineError::of(store::EngineError::Code::General, fileName_.string(), {},
                                   "不是一般檔案,不可取代");
    }
    // A write-protected file stays protected, as it would on the diskette it was meant for,
    // also for a user whom the system would let replace it.
    if ((existing.st_mode & 0222) == 0) fail(fileName_, EACCES);
    if (::access(fileName_.c_str(), W_OK) != 0) fail(fileName_, errno);
    mode = existing.st_mode & 07777;
  }
  store::FolderCleanup::removeUnfinishedSaves(fileName_);  // of runs cut short before
  std::string pattern =
      (folderOf(fileName_) / ("." + fileName_.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0) fail(fileName_, errno);
  pending_ = pattern;
  if (::fchmod(fd_, mode) != 0) {
    const int e = errno;
    ::close(fd_);
    ::unlink(pending_.c_str());
    fail(fileName_, e);
  }
  block_.reserve(kBlock);
}

TransferFileStream::~TransferFileStream() {
  if (fd_ >= 0) ::close(fd_);
  if (!pending_.empty()) ::unlink(pending_.c_str());
}

void TransferFileStream::write(std::string_view bytes) {
  if (fd_ < 0)
    throw store::EngineError::of(store::EngineError::Code::WrongState, fileName_.string());
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

void TransferFileStream::writeBlock(std::string_view block) {
  hashes_.push_back(hashOf(block));
  size_ += block.size();
  while (!block.empty()) {
    const ssize_t n = ::write(fd_, block.data(), block.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(fileName_, errno);
    }
    block.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string TransferFileStream::commit() {
  if (fd_ < 0)
    throw store::EngineError::of(store::EngineError::Code::WrongState, fileName_.string());
  if (!block_.empty()) writeBlock(block_);
  block_.clear();
  if (::fsync(fd_) != 0) fail(fileName_, errno);
  const int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0) fail(fileName_, errno);
  if (::rename(pending_.c_str(), fileName_.c_str()) != 0) fail(fileName_, errno);
  pending_.clear();
  // The rename itself reaches the medium only with the folder. The file under the name is whole
  // either way (the old one or the new one), and here it is the new one: a failure now is a
  // warning, not a failed save.
  const std::filesystem::path folder = folderOf(fileName_);
  if (syncFolder(folder) || syncFolder(folder)) return {};
  return "轉帳檔 " + fileName_.string() +
         " 已完整寫入,但系統未能確認其所在資料夾已存入磁碟;請在取出磁片前確認檔案仍在";
}

void TransferFileStream::verify() const {
  std::ifstream in(fileName_, std::ios::binary);
  std::string block(kBlock, '\0');
  std::size_t at = 0, index = 0;
  bool same = static_cast<bool>(in);
  while (same && in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    if (n == 0) break;
    same = index < hashes_.size() && hashes_[index] == hashOf(std::string_view(block.data(), n));
    at += n;
    ++index;
  }
  if (!same || at != size_) {
    throw store::EngineError(store::EngineError::Code::IoError,
                             "轉帳檔 " + fileName_.string() +
                                 " 寫入後讀回的內容與產生的內容不符,請勿使用此檔,"
                                 "請更換磁片後重新產生");
  }
}

}  // namespace transfer
