// Batch copies: backups and their restoring.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/BatchMove.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "store/Transaction.h"

using store::EngineError;
using testrows::thrownBy;
using Names = std::vector<std::string>;

namespace {

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Files of the folder that are not table files: what a failed copy might leave behind.
Names strayFiles(const std::filesystem::path& folder) {
  Names out;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    std::string lower = name;
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.size() < 3 || lower.substr(lower.size() - 3) != ".db") out.push_back(name);
  }
  return out;
}

// Sets the file system's immutable flag on a file while it lives: not even root may then
// replace, rename or delete the file.
class Immutable {
 public:
  explicit Immutable(const std::filesystem::path& path) : path_(path) { ok_ = set(true); }
  ~Immutable() {
    if (ok_) set(false);
  }
  bool ok() const { return ok_; }

 private:
  bool set(bool on) {
    int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
  }
  std::filesystem::path path_;
  bool ok_ = false;
};

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
  void backUpBasic() {
    store::Table source(s, "basic.DB");
    source.Open();
    store::Table backup(s, "basic_bk.db");
    copy(source, backup);
  }
  Names backupNames() { return testrows::fileColumn(s, "basic_bk.db", "NAME", "NUMBER"); }

  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(BatchMoveTest, CopyCreatesTheDestinationWithTheSourcesFieldsAndRows) {
  ASSERT_FALSE(s.exists("basic_bk.db"));
  store::Table source(s, "basic.DB");
  source.Open();
  store::Table backup(s, "basic_bk.db");
  copy(source, backup);
  EXPECT_FALSE(backup.Active());  // left closed as it was
  ASSERT_TRUE(s.exists("basic_bk.db"));
  EXPECT_EQ(s.schemaOf("basic_bk.db").serialize(), store::basicSchema().serialize());
  backup.SetIndexFieldNames("NUMBER");
  backup.Open();
  EXPECT_EQ(backup.RecordCount(), 3);
  EXPECT_EQ(testrows::column(backup, "NAME"), (Names{"王小明", "許功蓋", "Cid"}));
  backup.Last();
  EXPECT_EQ(backup.FieldByName("ID").text(), "C323456789");
  EXPECT_EQ(backup.FieldByName("ACCOUNT").text(), testrows::kAccount);
  // The source is unchanged.
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 3);
}

TEST_F(BatchMoveTest, CopyKeepsEmptyAndZeroAmountsApart) {
  testrows::addEntry(s, "000001", "880101", 0, "本薪");
  testrows::addEntry(s, "000001", "880101", std::nullopt, "本薪");
  testrows::addEntry(s, "000001", "880101", 1234.5, "本薪");
  store::Table source(s, "salary.DB");
  source.Open();
  store::Table backup(s, "salary_bk.db");
  copy(source, backup);
  backup.Open();
  std::multiset<std::string> pays;
  do {
    pays.insert(backup.FieldByName("PAY").isNull() ? "null" : backup.FieldByName("PAY").text());
    backup.Next();
  } while (!backup.Eof());
  EXPECT_EQ(pays, (std::multiset<std::string>{"null", "0", "1234.5"}));
}

TEST_F(BatchMoveTest, CopyReplacesAnEarlierFileOfThatName) {
  // An earlier file of that name with another structure.
  testrows::addEntry(s, "000009", "880101", 100, "本薪");
  {
    store::Table source(s, "salary.DB");
    source.Open();
    store::Table backup(s, "basic_bk.db");
    copy(source, backup);
  }
  ASSERT_EQ(s.schemaOf("basic_bk.db").serialize(), store::salarySchema().serialize());
  backUpBasic();
  EXPECT_EQ(s.schemaOf("basic_bk.db").serialize(), store::basicSchema().serialize());
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
}

TEST_F(BatchMoveTest, SecondCopyAfterDeletingSourceRowsDropsThemFromTheCopy) {
  backUpBasic();
  ASSERT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
  {
    store::Table basic(s, "basic.DB");
    basic.Open();
    basic.Next();
    basic.Delete();
  }
  backUpBasic();
  EXPECT_EQ(backupNames(), (Names{"王小明", "Cid"}));
}

TEST_F(BatchMoveTest, CopyOfAClosedSource) {
  store::Table source(s, "basic.DB");
  store::Table backup(s, "basic_bk.db");
  copy(source, backup);
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
}

TEST_F(BatchMoveTest, OpenDestinationShowsTheNewRowsAfterTheCopy) {
  backUpBasic();
  store::Table backup(s, "basic_bk.db");
  backup.Open();
  ASSERT_EQ(backup.RecordCount(), 3);
  testrows::addEmployee(s, "000004", "Dan");
  store::Table source(s, "basic.DB");
  source.Open();
  copy(source, backup);
  EXPECT_TRUE(backup.Active());
  EXPECT_EQ(backup.RecordCount(), 4);
  EXPECT_EQ(testrows::column(backup, "NAME"), (Names{"王小明", "許功蓋", "Cid", "Dan"}));
}

TEST_F(BatchMoveTest, RestoreOverAFileOpenInAnotherTableObject) {
  backUpBasic();
  // The main window keeps its own table object on basic.DB open during the restore.
  store::Table shown(s, "basic.DB");
  shown.Open();
  store::Table(s, "basic.DB").EmptyTable();
  shown.Refresh();
  ASSERT_TRUE(shown.IsEmpty());

  store::Table source(s, "basic_bk.db");
  store::Table live(s, "basic.DB");
  copy(source, live);
  shown.Refresh();
  EXPECT_EQ(shown.RecordCount(), 3);
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME", "NUMBER"),
            (Names{"王小明", "許功蓋", "Cid"}));
  // The restored file takes new rows.
  testrows::addEmployee(s, "000004", "Dan");
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 4);
}

TEST_F(BatchMoveTest, BackupAndRecoveryWithLowerCaseNamesReplaceTheFilesInPlace) {
  // The housekeeping page names the files "basic_bk.db" and "basic.db" and reuses one
  // destination object for both copies.
  store::Table save(s, "basic.DB");
  store::Table dest(s);
  dest.SetTableName("basic_bk.db");
  copy(save, dest);
  {
    store::Table basic(s, "basic.DB");
    basic.Open();
    basic.Delete();
  }
  store::Table recoverSave(s, "basic_bk.db");
  dest.Close();
  dest.SetTableName("basic.db");
  copy(recoverSave, dest);
  EXPECT_EQ(testrows::fileColumn(s, "BASIC.DB", "NAME", "NUMBER"),
            (Names{"王小明", "許功蓋", "Cid"}));
  int basicFiles = 0, backupFiles = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    std::string name = entry.path().filename().string();
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    basicFiles += name == "basic.db";
    backupFiles += name == "basic_bk.db";
  }
  EXPECT_EQ(basicFiles, 1);
  EXPECT_EQ(backupFiles, 1);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "basic.DB"));
}

TEST_F(BatchMoveTest, CopyIsProtectedByTheSourcesPassword) {
  backUpBasic();
  store::Session stranger(folder.path());
  store::Table t(stranger, "basic_bk.db");
  EXPECT_EQ(thrownBy([&] { t.Open(); }).code, EngineError::Code::BadPassword);
}

TEST_F(BatchMoveTest, FailedCopyFromAMissingSourceLeavesTheEarlierFileIntact) {
  backUpBasic();
  const std::string before = fileBytes(s.resolve("basic_bk.db"));
  ASSERT_FALSE(before.empty());
  store::Table source(s, "nosuch.DB");
  store::Table backup(s, "basic_bk.db");
  store::BatchMove move;
  move.SetSource(&source);
  move.SetDestination(&backup);
  move.SetMode(store::BatchMove::Mode::Copy);
  EXPECT_EQ(thrownBy([&] { move.Execute(); }).code, EngineError::Code::MissingFile);
  EXPECT_EQ(fileBytes(s.resolve("basic_bk.db")), before);
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
}

TEST_F(BatchMoveTest, FailedCopyFromASourceOfAnotherPasswordLeavesTheEarlierFileIntact) {
  {
    store::Session other(folder.path());
    other.AddPassword("other12");
    other.createTable("foreign.DB", store::basicSchema());
  }
  backUpBasic();
  const std::string before = fileBytes(s.resolve("basic_bk.db"));
  store::Table source(s, "foreign.DB");
  store::Table backup(s, "basic_bk.db");
  auto thrown = thrownBy([&] { copy(source, backup); });
  EXPECT_EQ(thrown.code, EngineError::Code::BadPassword);
  EXPECT_EQ(fileBytes(s.resolve("basic_bk.db")), before);
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
}

TEST_F(BatchMoveTest, CopyThatFailsMidwayLeavesTheEarlierFileIntact) {
  // A source whose structure opens but whose rows are damaged on disk: the copy fails while
  // reading them, after the new file has been started.
  std::uintmax_t emptySize = 0;
  {
    store::Session writer(folder.path());
    writer.AddPassword(store::kTablePassword);
    writer.createTable("broken.DB", store::basicSchema());
    emptySize = std::filesystem::file_size(writer.resolve("broken.DB"));
    store::Transaction tx(writer, {"broken.DB"});
    store::Table t(writer, "broken.DB");
    t.Open();
    for (int i = 0; i < 3000; ++i) {
      std::string n = std::to_string(100000 + i).substr(0, 6);
      t.Append();
      t.FieldByName("NUMBER").setText(n);
      t.FieldByName("ACCOUNT").setText(testrows::kAccount);
      t.FieldByName("NAME").setText("王小明");
      t.FieldByName("MEMO").setText(std::string(40, 'x'));
      t.Post();
    }
    t.Close();
    tx.commit();
  }
  const auto brokenPath = folder.path() / "broken.DB";
  const auto size = std::filesystem::file_size(brokenPath);
  ASSERT_GT(size, emptySize + 100000);
  {
    std::fstream f(brokenPath, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(emptySize));
    const std::string junk(size - emptySize, '\xA5');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }

  backUpBasic();
  const std::string before = fileBytes(s.resolve("basic_bk.db"));
  store::Table source(s, "broken.DB");
  store::Table backup(s, "basic_bk.db");
  auto thrown = thrownBy([&] { copy(source, backup); });
  EXPECT_TRUE(thrown.code.has_value());
  EXPECT_EQ(fileBytes(s.resolve("basic_bk.db")), before);
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
  EXPECT_EQ(strayFiles(folder.path()), Names{});
}

TEST_F(BatchMoveTest, FailedCopyOverAnIrreplaceableFileLeavesItIntact) {
  backUpBasic();
  const auto path = s.resolve("basic_bk.db");
  const std::string before = fileBytes(path);
  testrows::addEmployee(s, "000004", "Dan");
  {
    Immutable guard(path);
    if (!guard.ok()) GTEST_SKIP() << "the file system refuses the immutable flag here";
    store::Table source(s, "basic.DB");
    source.Open();
    store::Table backup(s, "basic_bk.db");
    auto thrown = thrownBy([&] { copy(source, backup); });
    EXPECT_TRUE(thrown.code.has_value());
    EXPECT_FALSE(thrown.message.empty());
    EXPECT_EQ(fileBytes(path), before);
  }
  EXPECT_EQ(backupNames(), (Names{"王小明", "許功蓋", "Cid"}));
  EXPECT_EQ(strayFiles(folder.path()), Names{});
}

}  // namespace
