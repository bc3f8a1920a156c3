// The dated backup sets of salary-admin's nightly job: the newest N kept, each complete and
// verified, and a table restored from any of them.

#include "housekeeping/BackupSets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "AdminFixture.h"
#include "store/EngineError.h"
#include "store/Sha256.h"
#include "support/FailingVfs.h"
#include "support/TableDamage.h"

namespace {

namespace fs = std::filesystem;
using testrows::Texts;

class BackupSetsTest : public AdminTest {
 protected:
  // Runs `backup --keep N` and returns the name of the set it made.
  std::string backUp(int keep) {
    const ToolRun r = admin("backup --keep " + std::to_string(keep));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string marker = "已寫入備份組 " + sets().string() + "/";
    const size_t at = r.out.find(marker);
    if (at == std::string::npos) {
      ADD_FAILURE() << r.out;
      return {};
    }
    const size_t from = at + marker.size();
    return r.out.substr(from, r.out.find('\n', from) - from);
  }
  fs::path sets() { return folder.path() / "backups"; }
  // Every file under the sets' folder with its bytes, and the names of what lies there.
  std::map<std::string, std::string> setFiles() {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(sets()))
      out[fs::relative(e.path(), sets()).string()] = TestFolder::readFile(e.path());
    return out;
  }
};

TEST_F(BackupSetsTest, KeepsTheNewestSetsEachWithItsCopiesAndTheirFingerprints) {
  const std::string first = backUp(2), second = backUp(2), third = backUp(2);
  EXPECT_EQ(TestFolder::filesIn(sets()), (Texts{second, third}));
  for (const auto& name : {second, third}) {
    SCOPED_TRACE(name);
    const fs::path set = sets() / name;
    EXPECT_EQ(TestFolder::filesIn(set), (Texts{"MANIFEST", "basic.DB", "pass.DB", "salary.DB"}));
    std::ostringstream expected;
    expected << "salary backup set 1\n";
    for (const auto& [file, rows] : {std::pair{"basic.DB", 1}, {"salary.DB", 1}, {"pass.DB", 1}}) {
      expected << file << " " << fs::file_size(set / file) << " " << rows << " "
               << store::sha256OfFile(set / file) << "\n";
    }
    EXPECT_EQ(TestFolder::readFile(set / "MANIFEST"), expected.str());
  }
  const ToolRun list = admin("backup --list");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, second + ": 完好\n" + third + ": 完好\n");
  // The design's backup files are made as before.
  EXPECT_EQ(rowsNow("salary_bk.db"), rowsNow("salary.DB"));
}

// The purge of the wrong months during the day reaches salary_bk.db the next night; the set of
// the night before still holds the entries.
TEST_F(BackupSetsTest, AMistakeThatReachedTheBackupFileIsUndoneFromAnEarlierSet) {
  const Texts entries = rowsNow("salary.DB");
  const std::string before = backUp(14);
  store::Table(folder.session(), "salary.DB").EmptyTable();
  backUp(14);
  ASSERT_EQ(rowsNow("salary_bk.db"), Texts{});

  const ToolRun r = admin("restore --table salary --from " + before);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(rowsNow("salary.DB"), entries);
  EXPECT_EQ(admin("check").status, 0);
}

TEST_F(BackupSetsTest, ASetThatNoLongerVerifiesIsListedAsSuchAndRefusedForRestore) {
  const std::string name = backUp(3);
  {
    std::fstream copy(sets() / name / "salary.DB", std::ios::in | std::ios::out | std::ios::binary);
    copy.seekp(200);
    copy << 'x';
  }
  const ToolRun list = admin("backup --list");
  EXPECT_EQ(list.status, 1);
  EXPECT_EQ(list.out, name + ": 損毀: salary.DB 的 SHA-256 與紀錄不符\n");

  const auto before = files();
  for (const std::string& from :
       {name, std::string("../" + name), std::string("20991231-000000")}) {
    SCOPED_TRACE(from);
    const ToolRun r = admin("restore --table salary --from " + from);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(from == name ? "SHA-256" : "沒有這個備份組"), std::string::npos) << r.err;
    EXPECT_EQ(files(), before);
  }
  // The other tables of the set are sound.
  EXPECT_EQ(admin("restore --table basic --from " + name).status, 0);
}

TEST_F(BackupSetsTest, ASetThatFailsMidwayLeavesTheEarlierSetsAsTheyWere) {
  backUp(1);
  const auto earlier = setFiles();
  corruptRowsPage(folder.path() / "salary.DB");

  const ToolRun r = admin("backup --keep 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("沒有寫入備份組"), std::string::npos) << r.err;
  // Made directly, the set fails at its second copy, after the first was written.
  store::Session session(folder.path());
  session.AddPassword(store::kTablePassword);
  EXPECT_THROW(housekeeping::makeBackupSet(session, 1), store::EngineError);

  EXPECT_EQ(setFiles(), earlier);
}

// Every write of the set's copies failing in turn: either the set is made whole or nothing of it
// stays, and the earlier set is as it was.
TEST_F(BackupSetsTest, AFailedWriteAnywhereInANewSetLeavesNoPartOfIt) {
  const std::string earlier = backUp(2);
  const auto before = setFiles();
  FailingVfs vfs;
  int tries = 0;
  for (int n = 1;; ++n) {
    SCOPED_TRACE(n);
    store::Session session(folder.path());
    session.AddPassword(store::kTablePassword);
    vfs.failWrite(n, SQLITE_IOERR_WRITE);
    std::string made;
    try {
      made = housekeeping::makeBackupSet(session, 2);
    } catch (const store::EngineError&) {
    }
    const bool failed = vfs.failed();
    vfs.failWrite(0, SQLITE_OK);
    ++tries;
    EXPECT_EQ(made.empty(), failed);
    if (!failed) {
      EXPECT_EQ(TestFolder::filesIn(sets()), (Texts{earlier, made}));
      break;
    }
    EXPECT_EQ(setFiles(), before);
  }
  EXPECT_GT(tries, 5);
  for (const auto& set : housekeeping::listBackupSets(folder.session()))
    EXPECT_TRUE(set.problems.empty()) << set.name;
}

}  // namespace
