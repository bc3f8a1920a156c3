#pragma once
// DataFolder: where the database alias keeps its table files.
//
// The alias is fixed when the program is built (MIRUDUZERA4, or MIRUVIRUDI3 in the second
// build). Its folder is <user data dir>/salary/<alias>, the user data dir being
// $XDG_DATA_HOME, or ~/.local/share when that is unset (the same place as Qt's
// QStandardPaths::GenericDataLocation).

#include <filesystem>
#include <string>
#include <string_view>

namespace store {

std::string_view databaseAlias();
std::filesystem::path aliasFolder(std::string_view alias = databaseAlias());

// What the clerk can do about a live table file that is missing (`fileName` as the forms name
// it): restore it from its backup where it has one, or make it anew, empty, with salary-admin
// init --missing.
std::string missingTableAdvice(std::string_view fileName);

// The folder of the dated backup sets of a data folder ("backups" inside it).
std::filesystem::path backupSetsFolder(const std::filesystem::path& dataFolder);

}  // namespace store
