// Batch copies: backups and their restoring.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "store/BatchMove.h"
#include "support/TestRows.h"

using store::EngineError;
using testrows::Texts;
using testrows::thrownBy;

namespace {

// Sets or clears the file system's immutable flag, under which not even root may replace,
// rename or delete the file. False when the file system refuses.
bool setImmutable(const std::filesystem::path& path, bool on) {
  int fd = ::open(path.c_str(), O_RDONLY), flags = 0;
  bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0) ::close(fd);
  return done;
}

class BatchMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(s, "000001", "王小明");
    testrows::addEmployee(s, "000002", "許功蓋");
    testrows::addEmployee(s, "000003", "Cid", "C323456789");
  }
  void copy(store::Table& source, store::Table& destination) {
    store::BatchMove move;
    move.SetSource(&source);
    move.SetDestination(&destination);
    move.SetMode(store::BatchMove::Mode::Copy);
    move.Execute();
  }
  void copy(const char* source, const char* destination) {
    store::Table from(s, source), to(s, destination);
    copy(from, to);
  }
  Texts backupNames() { return testrows::fileColumn(s, "basic_bk.db", "NAME", "NUMBER"); }

  const Texts names{"王小明", "許功蓋", "Cid"};
  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(BatchMoveTest, CopyCreatesTheDestinationWithTheSourcesFieldsRowsAndPassword) {
  ASSERT_FALSE(s.exists("basic_bk.db"));
  store::Table source(s, "basic.DB"), backup(s, "basic_bk.db");
  copy(source, backup);
  EXPECT_FALSE(backup.Active());  // left closed as it was
  EXPECT_EQ(s.schemaOf("basic_bk.db"), store::basicSchema());
  EXPECT_EQ(testrows::fileColumn(s, "basic_bk.db", "NUMBER ACCOUNT NAME ID"),
            testrows::fileColumn(s, "basic.DB", "NUMBER ACCOUNT NAME ID"));
  EXPECT_EQ(backupNames(), names);
  store::Session stranger(folder.path());
  store::Table t(stranger, "basic_bk.db");
  EXPECT_EQ(thrownBy([&] { t.Open(); }).code, EngineError::Code::BadPassword);
}

TEST_F(BatchMoveTest, CopyKeepsEmptyAndZeroAmountsApart) {
  testrows::addEntry(s, "000001", "880101", 0, "本薪");
  testrows::addEntry(s, "000001", "880101", std::nullopt, "本薪");
  testrows::addEntry(s, "000001", "880101", 1234.5, "本薪");
  copy("salary.DB", "salary_bk.db");
  Texts pays = testrows::fileColumn(s, "salary_bk.db", "PAY");
  std::sort(pays.begin(), pays.end());
  EXPECT_EQ(pays, (Texts{"", "0", "1234.5"}));
}

TEST_F(BatchMoveTest, LaterCopyReplacesTheEarlierFileAndDropsDeletedRows) {
  testrows::addEntry(s, "000009", "880101", 100, "本薪");
  copy("salary.DB", "basic_bk.db");  // an earlier file of that name with another structure
  ASSERT_EQ(s.schemaOf("basic_bk.db"), store::salarySchema());
  copy("basic.DB", "basic_bk.db");
  EXPECT_EQ(s.schemaOf("basic_bk.db"), store::basicSchema());
  EXPECT_EQ(backupNames(), names);
  store::Table basic(s, "basic.DB"), backup(s, "basic_bk.db");
  basic.Open();
  basic.Next();
  basic.Delete();
  backup.Open();
  copy(basic, backup);
  EXPECT_TRUE(backup.Active());  // an open destination shows the new rows
  EXPECT_EQ(testrows::column(backup, "NAME"), (Texts{"王小明", "Cid"}));
}

TEST_F(BatchMoveTest, RestoreReplacesTheLiveFileInPlaceWhileItIsOpenElsewhere) {
  // The housekeeping page names the files in lower case and reuses one destination object.
  store::Table save(s, "basic.DB"), dest(s);
  dest.SetTableName("basic_bk.db");
  copy(save, dest);
  const Texts files = TestFolder::filesIn(folder.path());
  store::Table shown(s, "basic.DB");  // the main window's table object stays open
  shown.Open();
  store::Table(s, "basic.DB").EmptyTable();
  store::Table recoverSave(s, "basic_bk.db");
  dest.SetTableName("basic.db");
  copy(recoverSave, dest);
  shown.Refresh();
  EXPECT_EQ(testrows::column(shown, "NAME"), names);
  testrows::addEmployee(s, "000004", "Dan");  // the restored file takes new rows
  EXPECT_EQ(testrows::fileCount(s, "BASIC.DB"), 4);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "basic.DB"));
  EXPECT_EQ(TestFolder::filesIn(folder.path()), files);  // replaced in place, nothing left over
}

// A copy that fails part way is swept write by write in tools/WriteFault_test.cpp.
TEST_F(BatchMoveTest, CopyOfAMissingSourceIsRefusedLeavingTheEarlierFileByteForByte) {
  copy("basic.DB", "basic_bk.db");
  const std::string before = TestFolder::readFile(s.resolve("basic_bk.db"));
  const Texts files = TestFolder::filesIn(folder.path());
  EXPECT_EQ(thrownBy([&] { copy("nosuch.DB", "basic_bk.db"); }).code,
            EngineError::Code::MissingFile);
  EXPECT_EQ(TestFolder::readFile(s.resolve("basic_bk.db")), before);
  EXPECT_EQ(TestFolder::filesIn(folder.path()), files);
  EXPECT_EQ(backupNames(), names);
}

TEST_F(BatchMoveTest, FailedCopyOverAnIrreplaceableFileLeavesItIntact) {
  copy("basic.DB", "basic_bk.db");
  const auto path = s.resolve("basic_bk.db");
  const std::string before = TestFolder::readFile(path);
  const Texts files = TestFolder::filesIn(folder.path());
  testrows::addEmployee(s, "000004", "Dan");
  if (!setImmutable(path, true)) GTEST_SKIP() << "the file system refuses the immutable flag";
  {
    struct Unset {
      std::filesystem::path path;
      ~Unset() { setImmutable(path, false); }
    } unset{path};
    auto thrown = thrownBy([&] { copy("basic.DB", "basic_bk.db"); });
    EXPECT_TRUE(thrown.code.has_value());
    EXPECT_FALSE(thrown.message.empty());
    EXPECT_EQ(TestFolder::readFile(path), before);
  }
  EXPECT_EQ(backupNames(), names);
  EXPECT_EQ(TestFolder::filesIn(folder.path()), files);
}

}  // namespace
