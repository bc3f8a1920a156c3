// A file takes the place of another only whole, on disk and checked; whatever stops it leaves
// the earlier file byte for byte and nothing beside it.

#include "store/FileReplacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "store/EngineError.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"

namespace {

namespace fs = std::filesystem;
using store::EngineError;
using store::FileReplacement;
using testrows::thrownBy;

mode_t modeOf(const fs::path& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 0777;
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override { writeFile(target, earlier); }
  // Whether `target` holds its earlier bytes and nothing else lies beside it.
  void expectUntouched() {
    EXPECT_EQ(TestFolder::readFile(target), earlier);
    EXPECT_EQ(TestFolder::filesIn(folder.path()), std::vector<std::string>{"BT123420"});
  }

  TestFolder folder{TestFolder::Tables::None};
  const fs::path target = folder.path() / "BT123420";
  const std::string earlier = "earlier file\r\n";
};

TEST_F(FileReplacementTest, PiecesAcrossBlocksReplaceTheFileWholeKeepingItsPermissions) {
  const std::string text(3 * (1 << 20) + 17, 'x');
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    FileReplacement file(target);
    EXPECT_EQ(file.temporary().parent_path(), folder.path());
    EXPECT_EQ(modeOf(file.temporary()), 0600u);
    for (size_t at = 0; at < text.size(); at += 70001)
      file.write(std::string_view(text).substr(at, 70001));
    EXPECT_EQ(TestFolder::readFile(target), earlier);  // not before commit
    EXPECT_EQ(file.commit(), FileReplacement::Synced::Yes);
  }
  EXPECT_EQ(TestFolder::readFile(target), text);
  EXPECT_EQ(modeOf(target), 0640u);  // what the owner set stays set
  EXPECT_EQ(TestFolder::filesIn(folder.path()), std::vector<std::string>{"BT123420"});
  // A new file is its owner's alone.
  FileReplacement made(folder.path() / "BT000001");
  made.write("new");
  made.commit();
  EXPECT_EQ(modeOf(folder.path() / "BT000001"), 0600u);
}

TEST_F(FileReplacementTest, RefusedOrAbandonedReplacementLeavesTheEarlierFile) {
  {
    // The medium gives back other bytes than were written (a first block is written at once).
    FileReplacement file(target);
    file.write(std::string(1 << 20, 'n'));
    file.write("tail");
    std::ofstream(file.temporary(), std::ios::in | std::ios::out | std::ios::binary) << 'N';
    const auto thrown = thrownBy([&] { file.commit(); });
    EXPECT_EQ(thrown.code, EngineError::Code::IoError);
    EXPECT_NE(thrown.message.find(target.string()), std::string::npos) << thrown.message;
  }
  expectUntouched();
  {
    // The caller's check refuses what it reads.
    FileReplacement file(target);
    file.write("new text");
    std::string checked;
    EXPECT_THROW(file.commit([&](const fs::path& copy) {
      checked = TestFolder::readFile(copy);
      throw EngineError(EngineError::Code::NotATable, "refused");
    }),
                 EngineError);
    EXPECT_EQ(checked, "new text");
  }
  expectUntouched();
  {
    FileReplacement file(target);
    file.write("never committed");
  }
  expectUntouched();
}

TEST_F(FileReplacementTest, KeepNeverReplacesAnExistingFile) {
  {
    FileReplacement file(target);
    file.write("new text");
    EXPECT_EQ(thrownBy([&] { file.commit({}, FileReplacement::Existing::Keep); }).code,
              EngineError::Code::General);
  }
  expectUntouched();
  FileReplacement file(folder.path() / "new.DB");
  file.write("new");
  file.commit({}, FileReplacement::Existing::Keep);
  EXPECT_EQ(TestFolder::readFile(folder.path() / "new.DB"), "new");
}

TEST_F(FileReplacementTest, TargetsThatMustNotBeReplacedAreRefusedBeforeAnythingIsWritten) {
  const fs::path subfolder = folder.path() / "A", pipe = folder.path() / "pipe";
  fs::create_directory(subfolder);
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  fs::permissions(target, fs::perms::owner_read);
  const struct {
    fs::path path;
    EngineError::Code code;
  } cases[] = {{subfolder, EngineError::Code::General},
               {pipe, EngineError::Code::General},
               {target, EngineError::Code::ReadOnly},
               {folder.path() / "nowhere" / "BT123420", EngineError::Code::MissingFile}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto thrown = thrownBy([&] { FileReplacement file(c.path); });
    EXPECT_EQ(thrown.code, c.code) << thrown.message;
  }
  EXPECT_EQ(TestFolder::filesIn(folder.path()),
            (std::vector<std::string>{"A", "BT123420", "pipe"}));
  EXPECT_EQ(TestFolder::readFile(target), earlier);
}

TEST_F(FileReplacementTest, AFolderTakesItsNameWholeAndIsRemovedWhole) {
  const fs::path set = folder.path() / "20261207-023000";
  {
    FileReplacement made(set, FileReplacement::Kind::Folder);
    EXPECT_EQ(modeOf(made.temporary()), 0700u);
    writeFile(made.temporary() / "a", "1");
    writeFile(made.temporary() / "b", "2");
    EXPECT_FALSE(fs::exists(set));
    made.commit({}, FileReplacement::Existing::Keep);
  }
  EXPECT_EQ(TestFolder::filesIn(set), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(thrownBy([&] { FileReplacement again(set, FileReplacement::Kind::Folder); }).code,
            EngineError::Code::General);
  FileReplacement::remove(set);
  FileReplacement::remove(set);  // nothing left to remove
  EXPECT_EQ(TestFolder::filesIn(folder.path()), std::vector<std::string>{"BT123420"});
}

TEST_F(FileReplacementTest, LeftoversOfEndedWritersAreRemovedOnlyWhenOlderThanThisRun) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string dead = std::to_string(ended), alive = std::to_string(getpid());
  const struct {
    std::string name;
    bool old, removed;
  } files[] = {
      {".salary_bk.db.part-" + dead + "-1", true, true},
      {".salary_bk.db.part-" + dead + "-1-journal", true, true},
      {".BT123420.part-" + dead + "-7", true, true},
      {".salary_bk.db.part-" + alive + "-1", true, false},
      {".salary_bk.db.part-" + dead + "-2", false, false},
      {"salary_bk.db.part-" + dead + "-3", true, false},
      {".salary_bk.db.part-" + dead, true, false},
      {".salary_bk.db.part--1", true, false},
  };
  for (const auto& f : files) {
    writeFile(folder.path() / f.name, "x");
    if (f.old) {
      fs::last_write_time(folder.path() / f.name,
                          fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
  }
  {
    // A new replacement removes those of its own target, whatever the folder (the transfer
    // file's is not the data folder).
    FileReplacement again(target);
    EXPECT_FALSE(fs::exists(folder.path() / files[2].name));
    EXPECT_TRUE(fs::exists(folder.path() / files[0].name));  // another target's
  }
  FileReplacement::removeLeftovers(folder.path());  // as at the start of a run
  for (const auto& f : files) EXPECT_EQ(fs::exists(folder.path() / f.name), !f.removed) << f.name;
}

}  // namespace
