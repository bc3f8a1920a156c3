#include "DataFolder.h"

#include <cstdlib>

#include "EngineError.h"

#ifndef SALARY_ALIAS
#define SALARY_ALIAS "MIRUDUZERA4"
#endif

namespace store {

std::string_view databaseAlias() {
  return SALARY_ALIAS;
}

std::filesystem::path aliasFolder(std::string_view alias) {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    throw EngineError(EngineError::Code::General,
                      "無法決定資料夾位置: HOME 與 XDG_DATA_HOME 皆未設定");
  }
  return base / "salary" / std::string(alias);
}

std::filesystem::path backupSetsFolder(const std::filesystem::path& dataFolder) {
  return dataFolder / "backups";
}

}  // namespace store
