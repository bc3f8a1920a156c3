// One program per data folder, and salary-admin's init, backup, restore and check run as an
// administrator or a nightly job would run them.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <sstream>

#include "app/Program.h"
#include "store/FolderLock.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"
#include "support/ToolRun.h"

namespace {

namespace fs = std::filesystem;

// Rows of a file as a new session reads it: a session keeps the files it has used open, and
// sees a file replaced by another program only when it opens it again.
long long rowsNow(const fs::path& folder, const std::string& file) {
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  return testrows::fileCount(session, file);
}

class AdminTest : public ::testing::Test {
 protected:
  AdminTest() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEntry("000001", "880105", "35000", "薪水轉帳");
  }
  ToolRun admin(const std::string& arguments) {
    return runCommand(std::string(SALARY_ADMIN) + " " + arguments + " --data " +
                          shellQuoted(folder.path().string()),
                      scratch.path());
  }
  // Every file of the folder with its bytes.
  std::map<std::string, std::string> files() {
    std::map<std::string, std::string> out;
    for (const auto& name : TestFolder::filesIn(folder.path()))
      out[name] = TestFolder::readFile(folder.path() / name);
    return out;
  }
  TestFolder folder;
  TestFolder scratch{TestFolder::Tables::None};
};

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

  first.reset();
  EXPECT_EQ(admin("backup").status, 0);
  folder.addEntry("000001", "880205", "36000", "薪水轉帳");
  const ToolRun r = admin("restore --table salary");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(rowsNow(folder.path(), "salary.DB"), 1);
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

// Changes a file behind the engine's back.
void rawExec(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
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
      {"missing", "item.DB", [](const fs::path& f) { fs::remove(f); }, "missing"},
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
       "NAME is 11 bytes"},
      {"not code page 950", "salary_bk.db",
       [](const fs::path& f) { rawExec(f, "UPDATE data SET SALARYITEM = x'41A4'"); },
       "SALARYITEM is not valid"},
      {"an index dropped", "basic_bk.db", [](const fs::path& f) { rawExec(f, "DROP INDEX ix1"); },
       "missing"},
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
      flagged += line.find("DAMAGED") != std::string::npos;
      if (line.find(c.file) == std::string::npos) continue;
      EXPECT_NE(line.find("DAMAGED"), std::string::npos) << line;
      EXPECT_NE(line.find(c.told), std::string::npos) << line;
    }
    EXPECT_EQ(flagged, 1) << r.out;
  }
}

}  // namespace
