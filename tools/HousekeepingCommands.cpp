// salary-admin backup, restore and check: the clearing page's backups and its hidden recovery
// for a nightly job and an administrator, and a look at whether the table files are sound.

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "housekeeping/BackupSets.h"
#include "housekeeping/HousekeepingRules.h"
#include "store/DataFolder.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/TableFileCheck.h"

namespace admin {

namespace {

// "basic", "salary" or "pass": the index of the backup pair.
int tableIndex(const std::string& table) {
  const char* const names[housekeeping::kBackupPairs] = {"basic", "salary", "pass"};
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    if (table == names[i]) return i;
  }
  throw UsageError("--table 只能是 basic、salary 或 pass");
}

void warn(const char* command, const std::string& warning) {
  if (!warning.empty()) std::cerr << "salary-admin " << command << ": " << warning << "\n";
}

int listSets(store::Session& session) {
  int unsound = 0;
  for (const auto& set : housekeeping::listBackupSets(session)) {
    std::cout << set.name << ": ";
    if (set.problems.empty()) {
      std::cout << "完好\n";
      continue;
    }
    ++unsound;
    std::cout << "損毀:";
    for (size_t i = 0; i < set.problems.size(); ++i) {
      std::cout << (i ? "; " : " ") << set.problems[i];
    }
    std::cout << "\n";
  }
  return unsound ? 1 : 0;
}

}  // namespace

int backupCommand(const Args& args) {
  const bool list = std::find(args.begin(), args.end(), "--list") != args.end();
  Args options = args;
  std::erase(options, std::string("--list"));
  checkOptions(options, {"--data", "--keep"});
  const std::string keepText = optionValue(options, "--keep", false);
  int keep = 0;
  if (!keepText.empty()) {
    if (keepText.size() > 4 || keepText.find_first_not_of("0123456789") != std::string::npos ||
        (keep = std::stoi(keepText)) < 1)
      throw UsageError("--keep 需要保留的備份組數目,1 以上");
  }
  if (list && !keepText.empty()) throw UsageError("--list 與 --keep 不能同時使用");
  store::Session session(dataFolder(options));
  session.AddPassword(store::kTablePassword);
  if (list) return listSets(session);

  // Each table on its own: a damaged one is refused and its earlier backup kept, the others go on.
  bool failed = false;
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    const auto& pair = housekeeping::backupPair(i);
    try {
      warn("backup", housekeeping::backupTable(session, i));
      std::cout << "已把 " << pair.tableFile << " 備份為 "
                << session.resolve(pair.backupFile).string() << "\n";
    } catch (const store::EngineError& e) {
      std::cerr << "salary-admin backup: " << e.what() << "\n";
      failed = true;
    }
  }
  if (keep > 0) {
    if (failed) {
      std::cerr << "salary-admin backup: 沒有寫入備份組,原有的備份組都保留\n";
    } else {
      const std::string name = housekeeping::makeBackupSet(session, keep);
      std::cout << "已寫入備份組 " << (store::backupSetsFolder(session.folder()) / name).string()
                << "\n";
    }
  }
  return failed ? 1 : 0;
}

int restoreCommand(const Args& args) {
  checkOptions(args, {"--data", "--table", "--from"});
  const int index = tableIndex(optionValue(args, "--table", true));
  const std::string set = optionValue(args, "--from", false);
  store::Session session(dataFolder(args));
  session.AddPassword(store::kTablePassword);
  const auto& pair = housekeeping::backupPair(index);
  const std::string warning = set.empty() ? housekeeping::restoreTable(session, index)
                                          : housekeeping::restoreFromSet(session, index, set);
  warn("restore", warning);
  std::cout << "已回復 " << session.resolve(pair.tableFile).string() << ",來源 "
            << (set.empty() ? session.resolve(pair.backupFile)
                            : store::backupSetsFolder(session.folder()) / set / pair.tableFile)
                   .string()
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
      std::cout << r.file << ": 完好," << r.rows << " 筆資料\n";
      return;
    }
    ++unsound;
    std::cout << r.file << ": 損毀:";
    for (size_t i = 0; i < r.problems.size(); ++i) {
      std::cout << (i ? "; " : " ") << r.problems[i];
    }
    std::cout << "\n";
  };
  for (const auto& live : store::liveTables()) {
    auto report =
        store::TableFileCheck::check(session, session.resolve(live.fileName), live.schema);
    if (!session.exists(live.fileName)) {
      report.problems.push_back(store::missingTableAdvice(live.fileName));
    }
    tell(report);
  }
  // A backup is checked when one has been made: it must be a sound copy of its table.
  for (int i = 0; i < housekeeping::kBackupPairs; ++i) {
    const auto& pair = housekeeping::backupPair(i);
    if (!session.exists(pair.backupFile)) continue;
    for (const auto& live : store::liveTables()) {
      if (std::string(live.fileName) == pair.tableFile) {
        tell(store::TableFileCheck::check(session, session.resolve(pair.backupFile), live.schema));
      }
    }
  }
  if (unsound) std::cerr << "salary-admin check: " << unsound << " 個檔案損毀或缺少\n";
  return unsound ? 1 : 0;
}

}  // namespace admin
