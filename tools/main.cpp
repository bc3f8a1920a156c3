// salary-admin: the companion tool of salary. It creates the table files of a new
// installation and does, from the command line, work the program does from its screens.

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "Commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const admin::Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"init", admin::initCommand, "init [--data DIR]   create the tables of a new installation"},
    {"transfer", admin::transferCommand,
     "transfer [--data DIR] --date YYMMDD --out FILE   build the transfer batch and file"},
    {"import", admin::importCommand,
     "import --data DIR [--employees FILE] [--entries FILE]   store employees (basic.DB) and\n"
     "      pay entries (salary.DB) from UTF-8 CSV files whose first row names the columns,\n"
     "      in any order and letter case: NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO and\n"
     "      NUMBER,SENDDATE,PAY,SALARYITEM. Each file is stored whole or not at all; the\n"
     "      employees are stored first and stay stored when the entries file is refused."},
    {"report", admin::reportCommand,
     "report [--data DIR] --style list|detailed --pdf FILE   the list or detailed report of\n"
     "      the batch in temp.DB as a PDF file"},
    {"user", admin::userCommand,
     "user add [--data DIR] --code CODE   store a user; the password is read twice from\n"
     "      standard input (without echo on a terminal). The way back in when no user is left."},
    {"backup", admin::backupCommand,
     "backup [--data DIR] [--keep N]   copy basic.DB, salary.DB and pass.DB to basic_bk.db,\n"
     "      salary_bk.db and pass_bk.db, each replaced only by a complete copy that passes its\n"
     "      check; with --keep N also a dated set backups/YYYYMMDD-HHMMSS, keeping the newest N\n"
     "  salary-admin backup [--data DIR] --list   list the dated sets and whether each verifies"},
    {"restore", admin::restoreCommand,
     "restore [--data DIR] --table basic|salary|pass [--from SET]   put the backup file (or the\n"
     "      table's copy in the dated set SET) back in place of its table file, only when it\n"
     "      passes the table's check, whole or not at all"},
    {"check", admin::checkCommand,
     "check [--data DIR]   tell, one line per table file, whether it is sound; exit 1 if not"},
};

// The commands that write to the data folder: refused while the program runs on it.
const char* const kWriting[] = {"init", "import", "transfer", "user", "backup", "restore"};

int usage() {
  std::cerr << "usage: salary-admin COMMAND [OPTIONS]\n";
  for (const auto& c : kCommands) std::cerr << "  salary-admin " << c.usage << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  admin::Args args(argv + 2, argv + argc);
  for (const auto& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    try {
      std::unique_ptr<store::FolderLock> hold;
      // Listing the backup sets only reads.
      const bool listing = std::strcmp(c.name, "backup") == 0 &&
                           std::find(args.begin(), args.end(), "--list") != args.end();
      for (const char* w : kWriting) {
        if (std::strcmp(c.name, w) == 0 && !listing) hold = admin::holdDataFolder(args);
      }
      return c.run(args);
    } catch (const admin::UsageError& e) {
      std::cerr << "salary-admin " << c.name << ": " << e.what() << "\n";
      return usage();
    } catch (const std::exception& e) {
      std::cerr << "salary-admin " << c.name << ": " << e.what() << "\n";
      return 1;
    }
  }
  return usage();
}
