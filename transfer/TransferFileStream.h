#pragma once
// A transfer file written piece by piece: the pieces go to a new file beside the target, which
// takes the target's name only when commit() is called after the last piece, so that nothing
// under the name is ever partial and a failure leaves an earlier file of that name as it was.
// A stream destroyed without commit() removes its new file.
//
// The target is checked when the stream is made (TransferSave.h: not a folder, not a device,
// not write-protected). Pieces are written in blocks of kBlock bytes; each block's hash is
// kept, so that verify() can read the file back and compare it block by block without the text
// being held in memory.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

class TransferFileStream {
 public:
  static constexpr std::size_t kBlock = 1 << 20;

  // Throws store::EngineError naming the file (TransferSave.h).
  explicit TransferFileStream(std::filesystem::path fileName);
  ~TransferFileStream();
  TransferFileStream(const TransferFileStream&) = delete;
  TransferFileStream& operator=(const TransferFileStream&) = delete;

  // Throws store::EngineError naming the file: a full disk, a medium that cannot be written.
  void write(std::string_view bytes);
  // Flushes the file to the medium and renames it over the target. Returns the warning of
  // saveTransferFile (empty when none). Throws store::EngineError; the target is then as it was.
  std::string commit();
  // Reads the committed file back; throws store::EngineError naming the file unless it holds
  // exactly the bytes written.
  void verify() const;

 private:
  void writeBlock(std::string_view block);

  std::filesystem::path fileName_;
  std::string pending_;  // the new file's path until it is renamed
  int fd_ = -1;
  std::string block_;
  std::vector<std::size_t> hashes_;
  std::size_t size_ = 0;
};

}  // namespace transfer
