#pragma once
// The commands of salary-admin. Each takes the arguments after its name and returns the exit
// status; errors are printed to stderr by the command itself.

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/FolderLock.h"

namespace admin {

using Args = std::vector<std::string>;

int initCommand(const Args& args);
int transferCommand(const Args& args);
int importCommand(const Args& args);
int reportCommand(const Args& args);
int userCommand(const Args& args);
int backupCommand(const Args& args);
int restoreCommand(const Args& args);
int checkCommand(const Args& args);

// Locks the data folder (--data, or the alias folder) for a command that writes, or returns
// nothing when the folder does not exist yet. Throws, without waiting, while the program or
// another writing command holds it.
std::unique_ptr<store::FolderLock> holdDataFolder(const Args& args);

// Takes "--name VALUE" pairs from args; unknown options or a missing value throw UsageError.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
std::string optionValue(const Args& args, const std::string& name, bool required);
// The folder of --data, or the alias folder when none is given.
std::filesystem::path dataFolder(const Args& args);
void checkOptions(const Args& args, const std::vector<std::string>& known);

}  // namespace admin
