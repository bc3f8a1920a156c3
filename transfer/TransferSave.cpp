#include "TransferSave.h"

#include "store/FileReplacement.h"

namespace transfer {

std::string saveTransferFile(const std::filesystem::path& fileName, std::string_view bytes) {
  store::FileReplacement file(fileName);
  file.write(bytes);
  if (file.commit() == store::FileReplacement::Synced::Yes) return {};
  return store::FileReplacement::unconfirmedWarning(fileName);
}

}  // namespace transfer
