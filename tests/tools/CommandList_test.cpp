// What salary-admin tells of itself: every command with its options, one command's help, the
// version; a command line it does not understand is told so.

#include "tools/CommandList.h"

#include <gtest/gtest.h>

#include "support/TestFolder.h"
#include "support/ToolRun.h"

namespace {

class CommandListTest : public ::testing::Test {
 protected:
  ToolRun admin(const std::string& arguments) {
    return runCommand(std::string(SALARY_ADMIN) + " " + arguments, scratch.path());
  }
  TestFolder scratch{TestFolder::Tables::None};
};

TEST_F(CommandListTest, EachCommandsHelpNamesEveryOptionItTakes) {
  const ToolRun all = admin("");
  EXPECT_EQ(all.status, 2);
  for (const auto& command : admin::commands()) {
    SCOPED_TRACE(command.name);
    EXPECT_NE(all.err.find(std::string("salary-admin ") + command.name), std::string::npos);
    const ToolRun help = admin(std::string(command.name) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, admin::helpText(command));
    for (const auto& option : command.options) {
      const std::string name =
          std::string(option.name).substr(0, std::string(option.name).find(' '));
      EXPECT_NE(std::string(command.synopsis).find(name), std::string::npos) << name;
      EXPECT_NE(help.out.find(option.name), std::string::npos) << option.name;
    }
  }
}

TEST_F(CommandListTest, VersionAndCommandLinesNotUnderstood) {
  const ToolRun version = admin("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("salary-admin ") + admin::version() + "\n");
  EXPECT_NE(std::string(admin::version()), "0");

  const ToolRun unknown = admin("frobnicate");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("沒有 frobnicate 這個指令"), std::string::npos) << unknown.err;
  const ToolRun badOption = admin("check --color red");
  EXPECT_EQ(badOption.status, 2);
  EXPECT_NE(badOption.err.find("不認得的選項: --color"), std::string::npos) << badOption.err;
  EXPECT_NE(badOption.err.find("用法: salary-admin check"), std::string::npos) << badOption.err;
}

}  // namespace
