// One program per data folder, and salary-admin's init, backup, restore and check run as an
// administrator or a nightly job would run them.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "AdminFixture.h"
#include "app/Program.h"
#include "housekeeping/BackupSets.h"
#include "store/FolderLock.h"
#include "store/TableFileCheck.h"
#include "support/ScriptedDialogs.h"
#include "support/TableDamage.h"

namespace {

namespace fs = std::filesystem;

TEST_F(AdminTest, ARunningProgramKeepsASecondOneAndEveryWritingCommandOutUntilItEnds) {
  auto first = Program::start(folder.path());
  ASSERT_TRUE(first);
  const auto before = files();
  {
    toolkit::ScriptedDialogs dialogs;
    EXPECT_FALSE(Program::start(folder.path()));
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(store::FolderLock::kBusyText)});
  }
  for (const char* command : {"backup", "restore --table salary", "import --entries x.csv",
                              "transfer --date 880105 --out x.txt", "user add --code boss"}) {
    SCOPED_TRACE(command);
    const ToolRun r = admin(command);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(store::FolderLock::kBusyText), std::string::npos) << r.err;
  }
  EXPECT_EQ(files(), before);
  EXPECT_EQ(admin("check").status, 0);  // reading is allowed
  EXPECT_EQ(admin("backup --list").status, 0);

  first.reset();
  EXPECT_EQ(admin("backup").status, 0);
  folder.addEntry("000001", "880205", 36000, "薪水轉帳");
  const ToolRun r = admin("restore --table salary");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(rowsNow("salary.DB").size(), 1u);
}

TEST_F(AdminTest, TheLockOfAKilledProgramIsFreeAgain) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    store::FolderLock lock(folder.path());
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_THROW(store::FolderLock{folder.path()}, store::EngineError);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_NO_THROW(store::FolderLock{folder.path()});
  close(ready[0]);
  close(ready[1]);
}

TEST_F(AdminTest, InitKeepsTheFolderToItsOwner) {
  const fs::path fresh = scratch.path() / "new";
  const ToolRun r =
      runCommand(std::string(SALARY_ADMIN) + " init --data " + fresh.string(), scratch.path());
  ASSERT_EQ(r.status, 0) << r.err;
  auto mode = [](const fs::path& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_mode & 0777;
  };
  EXPECT_EQ(mode(fresh), 0700u);
  for (const char* table : {"basic.DB", "salary.DB", "item.DB", "pass.DB", "temp.DB"})
    EXPECT_EQ(mode(fresh / table), 0600u) << table;
}

// A lost temp.DB or item.DB is made again, with its defaults, and nothing that exists is touched;
// check and the start-up say how.
TEST_F(AdminTest, InitMissingMakesOnlyTheMissingTablesWithTheirDefaults) {
  const ToolRun refused = admin("init");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("--missing"), std::string::npos) << refused.err;
  for (const char* lost : {"item.DB", "temp.DB", "pass.DB"}) fs::remove(folder.path() / lost);
  folder.reopen();
  const ToolRun check = admin("check");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("item.DB: 損毀: 找不到檔案; 請用 salary-admin init --missing 重新建立"),
            std::string::npos)
      << check.out;
  EXPECT_NE(check.out.find("salary-admin restore --table pass"), std::string::npos) << check.out;
  auto before = files();

  const ToolRun r = admin("init --missing");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("item.DB、pass.DB、temp.DB"), std::string::npos) << r.out;
  for (const char* kept : {"basic.DB", "salary.DB"}) {
    EXPECT_EQ(TestFolder::readFile(folder.path() / kept), before[kept]) << kept;
  }
  EXPECT_EQ(rowsNow("item.DB", "SALARYITEM").size(), store::defaultSalaryItems().size());
  EXPECT_EQ(rowsNow("pass.DB", "USERID PASSWORD"), testrows::Texts{"admin admin"});
  EXPECT_EQ(rowsNow("salary.DB").size(), 1u);
  EXPECT_EQ(admin("check").status, 0);

  before = files();
  const ToolRun again = admin("init --missing");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(files(), before);
}

TEST_F(AdminTest, CheckNamesTheDamagedFile) {
  ASSERT_EQ(admin("backup").status, 0);
  const ToolRun sound = admin("check");
  EXPECT_EQ(sound.status, 0) << sound.out << sound.err;
  EXPECT_EQ(std::count(sound.out.begin(), sound.out.end(), '\n'), 8) << sound.out;

  const struct {
    const char* name;
    const char* file;
    std::function<void(const fs::path&)> damage;
    const char* told;
  } cases[] = {
      {"missing", "item.DB", [](const fs::path& f) { fs::remove(f); }, "找不到"},
      {"truncated", "salary.DB",
       [](const fs::path& f) { fs::resize_file(f, fs::file_size(f) / 2); }, "integrity_check"},
      {"altered verifier", "pass.DB",
       [](const fs::path& f) {
         // The salt is random: the first byte is changed to one it is not.
         rawExec(f,
                 "UPDATE _meta SET value = iif(substr(value, 1, 2) = '00', 'ff', '00') ||"
                 " substr(value, 3) WHERE key = 'verifier'");
       },
       "密碼"},
      {"field wider than its width", "basic.DB",
       [](const fs::path& f) { rawExec(f, "UPDATE data SET NAME = x'4142434445464748494A4B'"); },
       "NAME 長 11 位元組"},
      {"not code page 950", "salary_bk.db",
       [](const fs::path& f) { rawExec(f, "UPDATE data SET SALARYITEM = x'41A4'"); },
       "SALARYITEM 不是有效的"},
      {"an index dropped", "basic_bk.db", [](const fs::path& f) { rawExec(f, "DROP INDEX ix1"); },
       "缺少 index ix1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder damaged;
    for (const auto& name : TestFolder::filesIn(folder.path(), "."))
      fs::copy_file(folder.path() / name, damaged.path() / name,
                    fs::copy_options::overwrite_existing);
    c.damage(damaged.path() / c.file);
    const ToolRun r = runCommand(
        std::string(SALARY_ADMIN) + " check --data " + shellQuoted(damaged.path().string()),
        scratch.path());
    EXPECT_EQ(r.status, 1);
    int flagged = 0;
    std::string line;
    for (std::istringstream lines(r.out); std::getline(lines, line);) {
      flagged += line.find("損毀") != std::string::npos;
      if (line.find(c.file) == std::string::npos) continue;
      EXPECT_NE(line.find("損毀"), std::string::npos) << line;
      EXPECT_NE(line.find(c.told), std::string::npos) << line;
    }
    EXPECT_EQ(flagged, 1) << r.out;
  }
}

TEST_F(AdminTest, RestoreRefusesABackupThatFailsTheTablesCheckLeavingEveryFileAsItWas) {
  ASSERT_EQ(admin("backup").status, 0);
  folder.addEntry("000001", "880205", 36000, "薪水轉帳");
  const fs::path backup = folder.path() / "salary_bk.db";
  const std::string sound = TestFolder::readFile(backup);
  const struct {
    const char* name;
    std::function<void(const fs::path&)> damage;
    const char* told;
  } cases[] = {
      {"a corrupted page", corruptRowsPage, "integrity_check"},
      {"another table's file",
       [&](const fs::path& b) {
         fs::copy_file(folder.path() / "temp.DB", b, fs::copy_options::overwrite_existing);
       },
       "結構"},
      {"text that is not code page 950",
       [](const fs::path& b) { rawExec(b, "UPDATE data SET SALARYITEM = x'41A4'"); }, "SALARYITEM"},
      {"no password verifier",
       [](const fs::path& b) { rawExec(b, "DELETE FROM _meta WHERE key = 'verifier'"); }, "密碼"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(backup, std::ios::binary | std::ios::trunc) << sound;
    c.damage(backup);
    const auto before = files();
    const ToolRun r = admin("restore --table salary");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(backup.string()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.told), std::string::npos) << r.err;
    EXPECT_EQ(files(), before);
  }
  EXPECT_EQ(rowsNow("salary.DB").size(), 2u);
}

// A write killed before its commit leaves a journal (or, from another tool, a WAL) beside the
// table; none of it may reach the restored file.
TEST_F(AdminTest, RestoreOverWhatAKilledWriteLeftGivesExactlyTheBackup) {
  for (auto leave : {killedWriteLeavingItsJournal, killedWalWrite}) {
    ASSERT_EQ(admin("backup").status, 0);
    const testrows::Texts backedUp = rowsNow("salary.DB");
    ASSERT_EQ(backedUp.size(), 1u);
    folder.addEntry("000001", "880205", 36000, "薪水轉帳");
    leave(folder.path() / "salary.DB");

    const ToolRun r = admin("restore --table salary");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TestFolder::filesIn(folder.path(), "salary.DB"),
              testrows::Texts{"salary.DB"});  // nothing beside it
    const ToolRun check = admin("check");
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_EQ(rowsNow("salary.DB"), backedUp);
    // The next round starts from the restored file, through a session that has not seen it.
    folder.reopen();
  }
}

TEST_F(AdminTest, BackupOfADamagedTableKeepsItsLastSoundBackupAndMakesTheOthers) {
  ASSERT_EQ(admin("backup").status, 0);
  const fs::path backup = folder.path() / "salary_bk.db";
  const std::string sound = TestFolder::readFile(backup);
  folder.addEmployee("000002", "李大同");
  corruptRowsPage(folder.path() / "salary.DB");

  const ToolRun r = admin("backup");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find((folder.path() / "salary.DB").string()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("integrity_check"), std::string::npos) << r.err;
  EXPECT_EQ(TestFolder::readFile(backup), sound);
  EXPECT_EQ(rowsNow("basic_bk.db", "NUMBER").size(), 2u);
  EXPECT_EQ(TestFolder::filesIn(folder.path(), ".part-"), testrows::Texts{});
}

TEST_F(AdminTest, ARelativeDataFolderIsNamedOnceInEveryLine) {
  auto inScratch = [&](const std::string& arguments) {
    return runCommand("cd " + shellQuoted(scratch.path().string()) + " && " + SALARY_ADMIN + " " +
                          arguments + " --data d9",
                      scratch.path());
  };
  ASSERT_EQ(inScratch("init").status, 0);
  const ToolRun missing = inScratch("restore --table salary");
  fs::create_directory(scratch.path() / "d9" / "salary_bk.db");  // a backup that cannot be read
  const ToolRun unreadable = inScratch("restore --table salary");
  fs::remove(scratch.path() / "d9" / "salary_bk.db");
  const ToolRun backup = inScratch("backup");
  fs::permissions(scratch.path() / "d9" / "pass_bk.db", fs::perms::owner_read);
  const ToolRun refused = inScratch("backup");
  const ToolRun check = inScratch("check");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_EQ(backup.status, 0);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(check.status, 0);
  for (const std::string& text :
       {missing.err, unreadable.err, backup.out, refused.err, check.out}) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      const size_t first = line.find("d9/");
      EXPECT_NE(first, std::string::npos) << line;
      EXPECT_EQ(line.find("d9/", first + 1), std::string::npos) << line;
    }
  }
}

// A backup or a restore killed at each of its renames, just after a copy was written, synced and
// checked, leaves the tables, the backup files and the sets whole, old or new; what it left
// beside them is gone after the next start.
TEST_F(AdminTest, KilledBeforeAnyRenameABackupOrRestoreLeavesEveryFileWhole) {
  ASSERT_EQ(admin("backup --keep 1").status, 0);
  folder.addEntry("000001", "880205", 36000, "薪水轉帳");
  const testrows::Texts one = rowsNow("salary_bk.db"), two = rowsNow("salary.DB");
  const fs::path work = scratch.path() / "work";
  const struct {
    const char* command;
    const char* changed;  // the file it changes from `two` to `one`, or from `one` to `two`
    bool restores;
  } commands[] = {{"backup --keep 1", "salary_bk.db", false},
                  {"restore --table salary", "salary.DB", true}};
  int kills = 0;
  for (const auto& c : commands) {
    // rename() and, for a new name that must not exist yet, renameat2(): see FileReplacement.
    for (const char* call : {"rename", "renameat2"}) {
      for (int n = 1;; ++n) {
        SCOPED_TRACE(testing::Message() << c.command << ", killed at " << call << " " << n);
        fs::remove_all(work);
        fs::copy(folder.path(), work, fs::copy_options::recursive);
        const ToolRun r =
            runCommand(std::string("strace -qq -o /dev/null -e trace=") + call +
                           " -e inject=" + call + ":signal=KILL:when=" + std::to_string(n) + " " +
                           SALARY_ADMIN + " " + c.command + " --data " + shellQuoted(work.string()),
                       scratch.path());
        const bool killed = r.status != 0;
        if (killed) ++kills;
        // Whatever the cut run left counts as left by an earlier run.
        for (const auto& e : fs::recursive_directory_iterator(work)) {
          fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        store::Session next(work);  // the next start
        next.AddPassword(store::kTablePassword);
        const testrows::Texts table =
            testrows::fileColumn(next, "salary.DB", "NUMBER SENDDATE PAY SALARYITEM");
        const testrows::Texts backup =
            testrows::fileColumn(next, "salary_bk.db", "NUMBER SENDDATE PAY SALARYITEM");
        EXPECT_TRUE(table == two || (c.restores && table == one));
        EXPECT_TRUE(backup == one || (!c.restores && backup == two));
        for (const char* file : {"salary.DB", "salary_bk.db"}) {
          EXPECT_TRUE(
              store::TableFileCheck::check(next, work / file, store::salarySchema()).sound());
        }
        const auto sets = housekeeping::listBackupSets(next);
        EXPECT_FALSE(sets.empty());
        for (const auto& set : sets) EXPECT_TRUE(set.problems.empty()) << set.name;
        for (const auto& e : fs::recursive_directory_iterator(work)) {
          const std::string name = e.path().filename().string();
          EXPECT_TRUE(name.find(".part-") == std::string::npos && !name.ends_with("-journal"))
              << name;
        }
        if (!killed) break;
      }
    }
  }
  EXPECT_GE(kills, 9);  // the backup files, the set's copies, its manifest, the set, the table
}

}  // namespace
