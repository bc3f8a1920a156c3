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

std::string missingTableAdvice(std::string_view fileName) {
  const std::string remake = "salary-admin init --missing";
  const std::string table(fileName.substr(0, fileName.find('.')));
  if (table == "basic" || table == "salary" || table == "pass") {
    return "若有備份,請用 salary-admin restore --table " + table + " 由備份回復;否則請用 " +
           remake + " 建立空的資料表" +
           (table == "pass" ? " (內含預設使用者 admin,密碼 admin)" : "");
  }
  return "請用 " + remake + " 重新建立" + (table == "item" ? " (內含預設的十六個薪資項目)" : "");
}

std::filesystem::path backupSetsFolder(const std::filesystem::path& dataFolder) {
  return dataFolder / "backups";
}

}  // namespace store
