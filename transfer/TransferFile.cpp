#include "TransferFile.h"

#include <fstream>
#include <vector>

#include "TransferSave.h"
#include "store/EngineError.h"

namespace transfer {

std::string saveTransferFileChecked(const std::filesystem::path& fileName, std::string_view bytes) {
  std::string warning = saveTransferFile(fileName, bytes);
  checkTransferFile(fileName, bytes);
  return warning;
}

void checkTransferFile(const std::filesystem::path& fileName, std::string_view bytes) {
  // Read in blocks, so that a file of a whole table is never held twice.
  std::ifstream in(fileName, std::ios::binary);
  std::vector<char> block(1 << 20);
  std::size_t at = 0;
  bool same = static_cast<bool>(in);
  while (same && in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    same = at + n <= bytes.size() && bytes.substr(at, n) == std::string_view(block.data(), n);
    at += n;
  }
  if (!same || at != bytes.size()) {
    throw store::EngineError(store::EngineError::Code::IoError,
                             "轉帳檔 " + fileName.string() +
                                 " 寫入後讀回的內容與產生的內容不符,請勿使用此檔,"
                                 "請更換磁片後重新產生");
  }
}

}  // namespace transfer
