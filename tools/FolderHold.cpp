// The data folder held for a salary-admin command that writes: never while the program (or
// another writing command) runs on it, and never waiting for it to end.

#include <filesystem>

#include "Commands.h"
#include "store/EngineError.h"

namespace admin {

std::unique_ptr<store::FolderLock> holdDataFolder(const Args& args) {
  std::filesystem::path folder = dataFolder(args);
  std::error_code ec;
  // A folder that does not exist yet has no one on it; init makes it, the others refuse it.
  if (!std::filesystem::is_directory(folder, ec)) return nullptr;
  try {
    return std::make_unique<store::FolderLock>(folder);
  } catch (const store::EngineError& e) {
    if (e.code() != store::EngineError::Code::Busy) throw;
    throw store::EngineError(store::EngineError::Code::Busy,
                             "資料夾 " + folder.string() + " 正由執行中的薪資系統使用 (" +
                                 e.what() + "),沒有做任何變更;請先結束程式再試一次。");
  }
}

}  // namespace admin
