// salary-admin user add, run as an administrator would run it, the password on standard input.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "UserFixture.h"
#include "support/ToolRun.h"

namespace {

class AddUserCommand : public UserFixture {
 protected:
  // salary-admin user `command` (add, passwd, list), `input` on its standard input.
  ToolRun user(const std::string& command, const std::string& code, const std::string& input) {
    return runCommand("printf %s " + shellQuoted(input) + " | " + SALARY_ADMIN + " user " +
                          command + " --data " + shellQuoted(folder.path().string()) +
                          (code.empty() ? "" : " --code " + shellQuoted(code)),
                      folder.path());
  }
  ToolRun run(const std::string& code, const std::string& input) {
    return user("add", code, input);
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

// A forgotten password is set again from the command line, and the codes can be listed; the
// passwords never are.
TEST_F(AddUserCommand, PasswdSetsTheForgottenPasswordOfAnExistingCodeAndListShowsTheCodes) {
  ASSERT_EQ(run("boss", "pw\npw\n").status, 0);
  const struct {
    const char* code;
    const char* input;
    int status;
    const char* told;
  } cases[] = {
      {"nobody", "x\nx\n", 1, "沒有使用者代碼 nobody"},
      {"admin", "new\nNew\n", 1, "兩次輸入的密碼不同"},
      {"admin", "\n\n", 1, "不可空白"},
      {"admin", "new\n", 1, "兩次"},
      {"admin", "九個位元組x\n九個位元組x\n", 1, "PASSWORD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const ToolRun r = user("passwd", c.code, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.told), std::string::npos) << r.err;
    EXPECT_EQ(users(), (std::vector<std::string>{"admin admin", "boss pw"}));
  }
  const ToolRun set = user("passwd", "admin", "new\nnew\n");
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(users(), (std::vector<std::string>{"admin new", "boss pw"}));
  EXPECT_TRUE(logsIn("admin", "new"));
  EXPECT_FALSE(logsIn("admin", "admin"));

  const ToolRun list = user("list", "", "");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "admin\nboss\n");
}

// Typed at a terminal, the password is not shown; an interrupt (Ctrl-C) at the prompt ends the
// command and gives the terminal its echo back.
TEST_F(AddUserCommand, InterruptAtThePasswordPromptGivesTheTerminalItsEchoBack) {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(grantpt(terminal), 0);
  ASSERT_EQ(unlockpt(terminal), 0);
  const std::string line = ptsname(terminal);
  int prompt[2];
  ASSERT_EQ(pipe(prompt), 0);
  const pid_t child = fork();
  if (child == 0) {
    setsid();
    const int in = open(line.c_str(), O_RDWR);  // the child's controlling terminal
    dup2(in, STDIN_FILENO);
    dup2(prompt[1], STDERR_FILENO);
    execl(SALARY_ADMIN, SALARY_ADMIN, "user", "add", "--data", folder.path().c_str(), "--code",
          "boss", nullptr);
    _exit(127);
  }
  close(prompt[1]);
  std::string shown;
  for (char c; shown.find(": ") == std::string::npos && read(prompt[0], &c, 1) == 1;) shown += c;
  const int side = open(line.c_str(), O_RDWR | O_NOCTTY);
  termios settings{};
  ASSERT_EQ(tcgetattr(side, &settings), 0);
  EXPECT_FALSE(settings.c_lflag & ECHO) << shown;

  kill(child, SIGINT);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  ASSERT_EQ(tcgetattr(side, &settings), 0);
  EXPECT_TRUE(settings.c_lflag & ECHO);
  EXPECT_EQ(users(), std::vector<std::string>{"admin admin"});
  for (int fd : {side, terminal, prompt[0]}) close(fd);
}

}  // namespace
