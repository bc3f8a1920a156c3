// The options of salary-admin's commands: "--name VALUE" pairs.

#include "Commands.h"
#include "store/DataFolder.h"

namespace admin {

std::string optionValue(const Args& args, const std::string& name, bool required) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == name) {
      if (i + 1 >= args.size()) throw UsageError(name + " 需要一個值");
      return args[i + 1];
    }
  }
  if (required) throw UsageError("必須指定 " + name);
  return {};
}

std::filesystem::path dataFolder(const Args& args) {
  const std::filesystem::path folder = optionValue(args, "--data", false);
  return folder.empty() ? store::aliasFolder() : folder;
}

void checkOptions(const Args& args, const std::vector<std::string>& known) {
  for (size_t i = 0; i < args.size(); i += 2) {
    bool ok = false;
    for (const auto& k : known) ok = ok || args[i] == k;
    if (!ok) throw UsageError("不認得的選項: " + args[i]);
    if (i + 1 >= args.size()) throw UsageError(args[i] + " 需要一個值");
  }
}

}  // namespace admin
