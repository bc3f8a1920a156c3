// salary-admin backup, restore and check: the clearing page's backups and its hidden recovery
// for a nightly job and an administrator, and a look at whether the table files are sound.

#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "housekeeping/HousekeepingRules.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/TableFileCheck.h"

namespace admin {

int backupCommand(const Args& args) {
  checkOptions(args, {"--data"});
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  housekeeping::backupAll(session);
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    const auto& pair = housekeeping::backupPair(i);
    std::cout << pair.tableFile << " -> " << session.resolve(pair.backupFile).string() << "\n";
  }
  return 0;
}

int restoreCommand(const Args& args) {
  checkOptions(args, {"--data", "--table"});
  const std::string table = optionValue(args, "--table", true);
  const char* const names[housekeeping::kBackupPairs] = {"basic", "salary", "pass"};
  int index = -1;
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    if (table == names[i]) index = i;
  }
  if (index < 0) throw UsageError("--table must be basic, salary or pass");
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  housekeeping::restoreTable(session, index);
  const auto& pair = housekeeping::backupPair(index);
  std::cout << session.resolve(pair.tableFile).string() << " restored from " << pair.backupFile
            << "\n";
  return 0;
}

int checkCommand(const Args& args) {
  checkOptions(args, {"--data"});
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  int unsound = 0;
  auto tell = [&](const store::TableFileCheck::Report& r) {
    if (r.sound()) {
      std::cout << r.file << ": ok, " << r.rows << " rows\n";
      return;
    }
    ++unsound;
    std::cout << r.file << ": DAMAGED:";
    for (size_t i = 0; i < r.problems.size(); ++i) {
      std::cout << (i ? "; " : " ") << r.problems[i];
    }
    std::cout << "\n";
  };
  for (const auto& live : store::liveTables()) {
    tell(store::TableFileCheck::check(session, live.fileName, live.schema));
  }
  // A backup is checked when one has been made: it must be a sound copy of its table.
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    const auto& pair = housekeeping::backupPair(i);
    if (!session.exists(pair.backupFile)) continue;
    for (const auto& live : store::liveTables()) {
      if (std::string(live.fileName) == pair.tableFile) {
        tell(store::TableFileCheck::check(session, pair.backupFile, live.schema));
      }
    }
  }
  if (unsound) std::cerr << "salary-admin check: " << unsound << " file(s) damaged or missing\n";
  return unsound ? 1 : 0;
}

}  // namespace admin
