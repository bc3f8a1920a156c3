// salary-admin: the companion tool of salary. It creates the table files of a new
// installation and does, from the command line, work the program does from its screens. It
// speaks to the clerk in Traditional Chinese, as the program does; option and file names stay
// as they are typed.

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>

#include "CommandList.h"
#include "Commands.h"
#include "store/EngineError.h"

namespace {

int usage() {
  std::cerr << admin::usageText();
  return 2;
}

bool has(const admin::Args& args, const char* option) {
  return std::find(args.begin(), args.end(), option) != args.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string name = argv[1];
  if (name == "--version") {
    std::cout << "salary-admin " << admin::version() << "\n";
    return 0;
  }
  if (name == "--help") {
    std::cout << admin::usageText();
    return 0;
  }
  const admin::CommandInfo* command = admin::commandNamed(name);
  if (!command) {
    std::cerr << "salary-admin: 沒有 " << name << " 這個指令\n";
    return usage();
  }
  const admin::Args args(argv + 2, argv + argc);
  if (has(args, "--help")) {
    std::cout << admin::helpText(*command);
    return 0;
  }
  try {
    // Listing the backup sets only reads.
    std::unique_ptr<store::FolderLock> hold;
    if (command->writes && !(name == "backup" && has(args, "--list"))) {
      hold = admin::holdDataFolder(args);
    }
    return command->run(args);
  } catch (const admin::UsageError& e) {
    std::cerr << "salary-admin " << name << ": " << e.what() << "\n\n" << admin::helpText(*command);
    return 2;
  } catch (...) {
    const store::EngineError error = store::EngineError::from(std::current_exception());
    std::cerr << "salary-admin " << name << ": " << error.what() << "\n";
    return 1;
  }
}
