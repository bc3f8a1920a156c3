#pragma once
// DataFolder: where the database alias keeps its table files.
//
// The alias is fixed when the program is built (MIRUDUZERA4, or MIRUVIRUDI3 in the second
// build). Its folder is <user data dir>/salary/<alias>, the user data dir being
// $XDG_DATA_HOME, or ~/.local/share when that is unset (the same place as Qt's
// QStandardPaths::GenericDataLocation).

#include <filesystem>
#include <string_view>

namespace store {

std::string_view databaseAlias();
std::filesystem::path aliasFolder(std::string_view alias = databaseAlias());

// The folder of the dated backup sets of a data folder ("backups" inside it).
std::filesystem::path backupSetsFolder(const std::filesystem::path& dataFolder);

}  // namespace store
