#pragma once
// A command line run as the clerk or a script would run it, its output captured.

#include <filesystem>
#include <string>

struct ToolRun {
  int status = -1;  // the exit status; -1 when the command did not exit normally
  std::string out, err;
};

// Runs `commandLine` through the shell; its standard output and error pass through files in
// `scratch`, removed afterwards.
ToolRun runCommand(const std::string& commandLine, const std::filesystem::path& scratch);

// '<text>' for the shell.
std::string shellQuoted(const std::string& text);
