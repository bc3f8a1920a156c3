// salary-admin user add, passwd and list: the users of pass.DB from the command line. add stores
// a user code with a password, as the add dialog does, and passwd sets a user's password: the
// ways back in when no user is left that can log in (the password page lets the last user be
// deleted) or a password is forgotten. The password is read twice from standard input, without
// echo on a terminal. list prints the user codes, never the passwords.

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "users/UserRules.h"

namespace admin {

namespace {

// The terminal's settings while its echo is off, for a signal that ends the program meanwhile.
termios gEchoing{};
volatile sig_atomic_t gQuiet = 0;

void giveEchoBackAndEnd(int signal) {
  if (gQuiet) tcsetattr(STDIN_FILENO, TCSANOW, &gEchoing);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

// Turns the terminal's echo off while it lives, when standard input is a terminal. An interrupt
// (Ctrl-C), a hangup or a termination in the meantime gives the terminal its echo back first.
class NoEcho {
 public:
  NoEcho() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &gEchoing) != 0) return;
    struct sigaction action {};
    action.sa_handler = giveEchoBackAndEnd;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
      sigaction(kSignals[i], &action, &previous_[i]);
    termios quiet = gEchoing;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    gQuiet = tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
    active_ = true;
  }
  ~NoEcho() {
    if (!active_) return;
    if (gQuiet) tcsetattr(STDIN_FILENO, TCSANOW, &gEchoing);
    gQuiet = 0;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
      sigaction(kSignals[i], &previous_[i], nullptr);
  }
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  struct sigaction previous_[std::size(kSignals)]{};
  bool active_ = false;
};

std::optional<std::string> readPassword(const char* prompt) {
  const bool terminal = isatty(STDIN_FILENO);
  std::string line;
  bool got = false;
  {
    // Quiet before the prompt asks for anything.
    NoEcho quiet;
    if (terminal) std::cerr << prompt << std::flush;
    got = static_cast<bool>(std::getline(std::cin, line));
  }
  if (terminal) std::cerr << "\n";
  if (!got) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int refuse(const char* command, const std::string& why) {
  std::cerr << "salary-admin user " << command << ": " << why << ",沒有做任何變更\n";
  return 1;
}

// The password twice, or nothing when standard input ends before.
std::optional<std::pair<std::string, std::string>> readPasswordTwice() {
  const auto password = readPassword("密碼: ");
  const auto again = password ? readPassword("再輸入一次密碼: ") : std::nullopt;
  if (!again) return std::nullopt;
  return std::pair{*password, *again};
}

const char* const kTwice = "密碼須由標準輸入給兩次,各一行";

int addCommand(const Args& args) {
  checkOptions(args, {"--data", "--code"});
  const std::string code = optionValue(args, "--code", true);
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  // Asked before the password is typed, so that nobody types it for nothing.
  if (users::findUser(pass, code)) {
    return refuse("add", "使用者代碼 " + code + " 已存在 (忘記密碼請用 salary-admin user passwd)");
  }
  const auto passwords = readPasswordTwice();
  if (!passwords) return refuse("add", kTwice);
  switch (users::addUser(pass, code, passwords->first, passwords->second)) {
    case users::UserOutcome::Done:
      std::cout << "已新增使用者代碼 " << code << " 到 " << session.resolve("pass.DB").string()
                << "\n";
      return 0;
    case users::UserOutcome::CodeExists:
      return refuse("add", "使用者代碼 " + code + " 已存在");
    case users::UserOutcome::PasswordsDiffer:
      return refuse("add", "兩次輸入的密碼不同");
    default:
      return refuse("add", "使用者代碼與密碼都不可空白");
  }
}

int passwdCommand(const Args& args) {
  checkOptions(args, {"--data", "--code"});
  const std::string code = optionValue(args, "--code", true);
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  const std::string unknown = "沒有使用者代碼 " + code + " (salary-admin user list 列出所有代碼)";
  if (!users::findUser(pass, code)) return refuse("passwd", unknown);
  const auto passwords = readPasswordTwice();
  if (!passwords) return refuse("passwd", kTwice);
  switch (users::setPassword(pass, code, passwords->first, passwords->second)) {
    case users::UserOutcome::Done:
      std::cout << "已設定使用者代碼 " << code << " 的密碼\n";
      return 0;
    case users::UserOutcome::UnknownCode:
      return refuse("passwd", unknown);
    case users::UserOutcome::PasswordsDiffer:
      return refuse("passwd", "兩次輸入的密碼不同");
    default:
      return refuse("passwd", "密碼不可空白");
  }
}

int listCommand(const Args& args) {
  checkOptions(args, {"--data"});
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  const std::vector<std::string> codes = users::userCodes(pass);
  for (const auto& code : codes) std::cout << code << "\n";
  if (codes.empty()) {
    std::cerr << "salary-admin user list: 沒有任何使用者 (用 salary-admin user add 新增)\n";
  }
  return 0;
}

}  // namespace

int userCommand(const Args& args) {
  const std::string sub = args.empty() ? std::string() : args[0];
  const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  if (sub == "add") return addCommand(rest);
  if (sub == "passwd") return passwdCommand(rest);
  if (sub == "list") return listCommand(rest);
  throw UsageError("user 之後須為 add、passwd 或 list");
}

}  // namespace admin
