#include "TransferSave.h"

#include "TransferFileStream.h"

namespace transfer {

std::string saveTransferFile(const std::filesystem::path& fileName, std::string_view bytes) {
  TransferFileStream file(fileName);
  file.write(bytes);
  return file.commit();
}

}  // namespace transfer
