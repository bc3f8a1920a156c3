// salary-admin user add, run as an administrator would run it, the password on standard input.

#include "UserFixture.h"
#include "support/ToolRun.h"

namespace {

class AddUserCommand : public UserFixture {
 protected:
  ToolRun run(const std::string& code, const std::string& input) {
    return runCommand("printf %s " + shellQuoted(input) + " | " + SALARY_ADMIN +
                          " user add --data " + shellQuoted(folder.path().string()) + " --code " +
                          shellQuoted(code),
                      folder.path());
  }
};

TEST_F(AddUserCommand, StoresANewCodeWhoseTwoPasswordsAgreeAndRefusesTheRest) {
  const std::vector<std::string> before = {"admin admin"};
  const struct {
    const char* code;
    const char* input;
    int status;
    std::vector<std::string> rows;
  } cases[] = {
      {"admin", "x\nx\n", 1, before},
      {"boss", "pw\nPw\n", 1, before},
      {"boss", "pw\n", 1, before},
      {"boss", "\n\n", 1, before},
      {"王小明五六", "pw\npw\n", 1, before},  // ten bytes for a field of eight
      {"boss", "pw\npw\n", 0, {"admin admin", "boss pw"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code + std::string(" ") + c.input);
    const ToolRun r = run(c.code, c.input);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.err.empty(), c.status == 0) << r.err;
    EXPECT_EQ(users(), c.rows);
  }
}

TEST_F(AddUserCommand, BringsBackALoginAfterTheLastUserWasDeleted) {
  remove("admin", "admin");
  ASSERT_TRUE(users().empty());
  ASSERT_EQ(run("admin", "new\r\nnew\r\n").status, 0);
  EXPECT_TRUE(logsIn("admin", "new"));
}

}  // namespace
