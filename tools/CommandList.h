#pragma once
// The commands of salary-admin as the clerk reads them: each one's command lines, what it does
// and its options. One list serves `salary-admin` alone (every command), `salary-admin COMMAND
// --help` (one command) and the manual page salary-admin(1), which is made from it when the
// tool is built (ManualPage.cpp), so that the three never tell different things.

#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"

namespace admin {

struct OptionInfo {
  const char* name;   // as typed, with its value: "--data 資料夾"
  const char* about;  // what it means
};

struct CommandInfo {
  const char* name;
  int (*run)(const Args&);
  const char* synopsis;  // its command lines without "salary-admin ", '\n' between them
  const char* about;     // what it does; '\n' where a line of the usage text ends
  std::vector<OptionInfo> options;
  bool writes;  // takes the data folder for itself (refused while the program runs on it)
};

const std::vector<CommandInfo>& commands();
// The command of that name, or null.
const CommandInfo* commandNamed(std::string_view name);

// The tool's version (VERSION, and the commit when the build is not of a release).
const char* version();

// The usage text of every command, or of one with its options.
std::string usageText();
std::string helpText(const CommandInfo& command);

}  // namespace admin
