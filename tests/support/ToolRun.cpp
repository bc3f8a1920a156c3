#include "ToolRun.h"

#include <sys/wait.h>

#include <cstdlib>

#include "TestFolder.h"

ToolRun runCommand(const std::string& commandLine, const std::filesystem::path& scratch) {
  const std::filesystem::path out = scratch / "stdout", err = scratch / "stderr";
  const int rc = std::system(
      (commandLine + " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string())).c_str());
  ToolRun r{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, TestFolder::readFile(out),
            TestFolder::readFile(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return r;
}

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}
