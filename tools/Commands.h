#pragma once
// The commands of salary-admin. Each takes the arguments after its name and returns the exit
// status; errors are printed to stderr by the command itself.

#include <stdexcept>
#include <string>
#include <vector>

namespace admin {

using Args = std::vector<std::string>;

int initCommand(const Args& args);
int transferCommand(const Args& args);
int importCommand(const Args& args);
int reportCommand(const Args& args);
int userCommand(const Args& args);

// Takes "--name VALUE" pairs from args; unknown options or a missing value throw UsageError.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
std::string optionValue(const Args& args, const std::string& name, bool required);
void checkOptions(const Args& args, const std::vector<std::string>& known);

}  // namespace admin
