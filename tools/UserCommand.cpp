// salary-admin user add: stores a user code with a password in pass.DB, as the add dialog does.
// It is the way back in when no user is left that can log in (the password page lets the last
// user be deleted). The password is read twice from standard input, without echo on a terminal.

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>

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

int refuse(const std::string& why) {
  std::cerr << "salary-admin user add: " << why << "; nothing was changed\n";
  return 1;
}

int addCommand(const Args& args) {
  checkOptions(args, {"--data", "--code"});
  std::filesystem::path folder = dataFolder(args);
  const std::string code = optionValue(args, "--code", true);

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  // Asked before the password is typed, so that nobody types it for nothing.
  if (users::findUser(pass, code)) return refuse("user code " + code + " exists already");

  const auto password = readPassword("Password: ");
  const auto again = password ? readPassword("Password again: ") : std::nullopt;
  if (!again) return refuse("the password must be given twice, one line each, on standard input");

  switch (users::addUser(pass, code, *password, *again)) {
    case users::UserOutcome::Done:
      std::cout << "Added user code " << code << " to " << session.resolve("pass.DB").string()
                << "\n";
      return 0;
    case users::UserOutcome::CodeExists:
      return refuse("user code " + code + " exists already");
    case users::UserOutcome::PasswordsDiffer:
      return refuse("the two passwords differ");
    default:
      return refuse("the user code and the password must not be empty");
  }
}

}  // namespace

int userCommand(const Args& args) {
  if (args.empty() || args[0] != "add") throw UsageError("the only user command is: user add");
  return addCommand(Args(args.begin() + 1, args.end()));
}

}  // namespace admin
