// What a run cut short leaves in the data folder is removed at the next start, and nothing that
// SQLite still needs to roll a commit back.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string_view>

#include "store/FolderCleanup.h"
#include "store/Transaction.h"
#include "support/FailingVfs.h"
#include "support/TestRows.h"

namespace fs = std::filesystem;
using testrows::Texts;

namespace {

// The moments of a commit over two files at which a power cut is simulated.
enum class Moment {
  BeforeCommitPoint,  // just before SQLite deletes the super-journal
  AfterCommitPoint,   // just before it deletes the first journal after that
};

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// As left by a run before this process.
void makeOld(const fs::path& file) {
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

pid_t endedProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

class FolderCleanupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(folder.session(), "000001", "Amy");
    testrows::addEntry(folder.session(), "000001", "880101", 100, "本薪");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(copy, ec);
    fs::remove(folder.path().string() + "-salary.DB", ec);
  }
  // One commit over basic.DB and salary.DB, cut at `moment`: the folder is copied aside then
  // and put back afterwards (the journals name each other by full path, so it must be the same
  // folder), its files dated before this run.
  void commitCutAt(Moment moment) {
    {
      store::Session writer(folder.path());
      writer.AddPassword(store::kTablePassword);
      FailingVfs vfs;  // no write fails
      bool taken = false, superJournalGone = false;
      vfs.onDelete([&](std::string_view file) {
        const bool superJournal = file.find("-mj") != std::string_view::npos;
        if (!taken && ((superJournal && moment == Moment::BeforeCommitPoint) ||
                       (superJournalGone && file.ends_with("-journal")))) {
          fs::create_directory(copy);
          for (const auto& e : fs::directory_iterator(folder.path()))
            if (e.is_regular_file()) fs::copy_file(e.path(), copy / e.path().filename());
          taken = true;
        }
        superJournalGone = superJournalGone || superJournal;
      });
      store::Transaction tx(writer, {"basic.DB", "salary.DB"});
      testrows::addEmployee(writer, "000002", "Bob");
      testrows::addEntry(writer, "000002", "880101", 200, "本薪");
      tx.commit();
      ASSERT_TRUE(taken);
    }
    for (const auto& e : fs::directory_iterator(folder.path())) fs::remove(e.path());
    for (const auto& e : fs::directory_iterator(copy)) {
      fs::copy_file(e.path(), folder.path() / e.path().filename());
      makeOld(folder.path() / e.path().filename());
    }
    fs::remove_all(copy);
  }
  Texts rows(const char* fileName) {
    store::Session reader(folder.path());
    reader.AddPassword(store::kTablePassword);
    return testrows::fileColumn(reader, fileName, "NUMBER");
  }

  TestFolder folder;
  const fs::path copy = folder.path().string() + "-cut";
};

TEST_F(FolderCleanupTest, CommitCutByAPowerFailureIsWholeOldOrWholeNewAndLeavesNoSuperJournal) {
  const struct {
    Moment moment;
    Texts rows;
  } cases[] = {{Moment::BeforeCommitPoint, {"000001"}},
               {Moment::AfterCommitPoint, {"000001", "000002"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.moment));
    commitCutAt(c.moment);
    ASSERT_EQ(TestFolder::filesIn(folder.path(), "-mj").size(),
              c.moment == Moment::BeforeCommitPoint ? 1u : 0u);

    EXPECT_EQ(rows("basic.DB"), c.rows);
    EXPECT_EQ(rows("salary.DB"), c.rows);
    EXPECT_EQ(TestFolder::filesIn(folder.path(), "-mj"), Texts{});
  }
}

TEST_F(FolderCleanupTest, SuperJournalStaysWhileAJournalItListsCannotYetBeRolledBack) {
  commitCutAt(Moment::BeforeCommitPoint);
  const fs::path aside = folder.path().string() + "-salary.DB";
  fs::rename(folder.path() / "salary.DB", aside);  // a file that cannot be opened now

  EXPECT_EQ(rows("basic.DB"), Texts{"000001"});
  EXPECT_EQ(TestFolder::filesIn(folder.path(), "-mj").size(), 1u);
  EXPECT_EQ(TestFolder::filesIn(folder.path(), "salary.DB-journal").size(), 1u);

  fs::rename(aside, folder.path() / "salary.DB");
  EXPECT_EQ(rows("salary.DB"), Texts{"000001"});
  EXPECT_EQ(rows("basic.DB"), Texts{"000001"});
  EXPECT_EQ(TestFolder::filesIn(folder.path(), "-mj"), Texts{});
  EXPECT_EQ(TestFolder::filesIn(folder.path(), "-journal"), Texts{});
}

// A commit cut after its super-journal was written but before its journals were complete: no
// journal names the super-journal, so SQLite never removes it. It is removed, unless another
// process is writing a file it lists, whose commit may be that very one.
TEST_F(FolderCleanupTest, SuperJournalThatNoJournalNamesIsRemovedUnlessItsFileIsBeingWritten) {
  const fs::path dir = folder.path();
  const fs::path superJournal = dir / ".session.db-mj0A1B2C93D";
  for (const bool writing : {true, false}) {
    SCOPED_TRACE(writing);
    writeFile(superJournal, (dir / "basic.DB-journal").string() + '\0');
    writeFile(dir / "basic.DB-journal", std::string(512, '\0'));  // header not yet completed
    makeOld(superJournal);
    int locked[2], done[2];
    ASSERT_EQ(pipe(locked), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t writer = writing ? fork() : -1;
    if (writer == 0) {  // holds the write lock of basic.DB until told to end
      sqlite3* db = nullptr;
      sqlite3_open((dir / "basic.DB").c_str(), &db);
      char c = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
      if (write(locked[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) _exit(1);
      _exit(0);
    }
    char c = 1;
    if (writing) {
      ASSERT_EQ(read(locked[0], &c, 1), 1);
    }
    ASSERT_EQ(c, 1);

    store::FolderCleanup::removeLeftovers(dir);

    EXPECT_EQ(fs::exists(superJournal), writing);
    if (writing) {
      EXPECT_EQ(write(done[1], &c, 1), 1);
      waitpid(writer, nullptr, 0);
    }
    for (int fd : {locked[0], locked[1], done[0], done[1]}) close(fd);
    EXPECT_EQ(rows("basic.DB"), Texts{"000001"});
  }
}

TEST_F(FolderCleanupTest, OnlyLeftoversOfEndedRunsAreRemoved) {
  const std::string dead = std::to_string(endedProcess());
  const std::string alive = std::to_string(getpid());
  const fs::path dir = folder.path();
  const std::string gone = (dir / "basic.DB-journal").string() + '\0';
  const struct {
    std::string name, bytes;
    bool old, removed;
  } files[] = {
      {".session.db-mj12AB349CD", gone + (dir / "salary.DB-journal").string() + '\0', true, true},
      {".session.db-mj00000090A", gone, false, false},  // its commit may be running now
      {".basic_bk.db.part-" + dead + "-3", "x", true, true},
      {".basic_bk.db.part-" + dead + "-3-journal", "x", true, true},
      {".pass.DB.part-" + dead + "-1", "x", true, true},
      {"backups/.20261207-023000.part-" + dead + "-1/salary.DB", "x", true, true},
      {".basic_bk.db.part-" + alive + "-1", "x", true, false},
      {".salary_bk.db.part-" + dead + "-2", "x", false, false},
      {".notes.part-" + dead + "-x", "x", true, false},
      {"backups/20261207-023000/salary.DB", "x", true, false},
      {"BT123420", "x", true, false},
  };
  for (const auto& f : files) {
    fs::create_directories((dir / f.name).parent_path());
    writeFile(dir / f.name, f.bytes);
    if (f.old) makeOld(dir / f.name);
    if (f.old) makeOld((dir / f.name).parent_path());
  }

  store::Session session(dir);
  session.AddPassword(store::kTablePassword);
  EXPECT_EQ(testrows::fileColumn(session, "basic.DB", "NUMBER"), Texts{"000001"});
  for (const auto& f : files) EXPECT_EQ(fs::exists(dir / f.name), !f.removed) << f.name;
}

}  // namespace
