// The clearing page in the running program: what each button does to the files and what the
// clerk is asked and shown.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "housekeeping/FileClearPage.h"
#include "support/ProgramFixture.h"

namespace {

namespace fs = std::filesystem;
using toolkit::mrNo;
using toolkit::mrYes;
using Kind = toolkit::ScriptedDialogs::Kind;

class FileClearPageTest : public ProgramFixture {
 protected:
  FileClearPageTest() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    for (const char* date : {"", "871231", "880101", "880615", "881130", "881201", "890101"}) {
      folder.addEntry("000001", date, 1000, "薪水轉帳");
    }
    start();
    page = m->FileClear;
  }

  // The send dates of a file in their order.
  std::vector<std::string> dates(const std::string& file = "salary.DB") {
    return onDisk(file, "SENDDATE", "SENDDATE");
  }

  FileClearPage* page = nullptr;
};

TEST_F(FileClearPageTest, PanelsShowTheirPromptsAndTheRecoveryStaysHidden) {
  ASSERT_TRUE(page);
  EXPECT_FALSE(page->Panel14->isVisibleTo(page));
  EXPECT_FALSE(page->RecoverComboBox->isVisibleTo(page->Panel14));
  EXPECT_FALSE(page->BitBtn4->isVisibleTo(page->Panel14));
  const std::pair<QWidget*, const char*> named[] = {
      {page->SelectDeleteComboBox, "請選擇欲刪除之資料庫"},
      {page->BackupComboBox, "請選擇欲備份之資料庫"},
      {page->RecoverComboBox, "請選擇欲回復之資料庫"},
      {page->DeleteDateEdit1, "請輸入欲刪除之起迄年月"},
      {page->DeleteDateEdit2, "~"}};
  for (const auto& [control, name] : named) {
    EXPECT_EQ(control->accessibleName(), QString::fromUtf8(name)) << name;
  }
  for (auto* combo : {page->SelectDeleteComboBox, page->BackupComboBox, page->RecoverComboBox}) {
    EXPECT_EQ(combo->currentIndex(), -1);
  }
}

TEST_F(FileClearPageTest, ClearingEmptiesTheChosenTablesAfterOneQuestion) {
  struct Case {
    int item, answer;
    long long employees, entries;
    size_t questions;
  } cases[] = {{-1, mrYes, 2, 7, 0}, {0, mrNo, 2, 7, 1}, {1, mrYes, 2, 0, 1}, {0, mrYes, 0, 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    dialogs.clear();
    dialogs.answer(c.answer);
    page->SelectDeleteComboBox->setCurrentIndex(c.item);
    page->SelectDelecTabletBitBtn->press();
    EXPECT_EQ(folder.rows("basic.DB"), c.employees);
    EXPECT_EQ(folder.rows("salary.DB"), c.entries);
    ASSERT_EQ(dialogs.shown().size(), c.questions);
    if (c.questions) {
      EXPECT_EQ(dialogs.shown()[0].text, FileClearPage::clearQuestion());
    }
    EXPECT_EQ(page->SelectDeleteComboBox->currentIndex(), c.item);
  }
}

TEST_F(FileClearPageTest, PurgeTakesTheStartMonthAndLeavesTheEndMonth) {
  const std::vector<std::string> all = {"",       "871231", "880101", "880615",
                                        "881130", "881201", "890101"};
  struct Case {
    const char *start, *end;
    int answer;
    std::vector<std::string> left;
  } cases[] = {
      {"8801", "8812", mrYes, {"", "871231", "881201", "890101"}},
      {"8805", "8805", mrYes, all},
      {"8801", "8812", mrNo, all},
      {"", "8801", mrYes, {"880101", "880615", "881130", "881201", "890101"}},
      {"8801", "", mrYes, all},
      {"", "", mrYes, {"871231", "880101", "880615", "881130", "881201", "890101"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + "~" + c.end);
    // Each case starts from all seven entries.
    const auto now = dates();
    for (const auto& d : all) {
      if (std::find(now.begin(), now.end(), d) == now.end())
        folder.addEntry("000001", d, 1000, "薪水轉帳");
    }
    ASSERT_EQ(dates(), all);
    dialogs.clear();
    dialogs.answer(c.answer);
    page->DeleteDateEdit1->setText(c.start);
    page->DeleteDateEdit2->setText(c.end);
    page->BitBtn1->press();
    EXPECT_EQ(dates(), c.left);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, FileClearPage::purgeQuestion());
    EXPECT_TRUE(page->DeleteDateEdit1->text().isEmpty());
    EXPECT_TRUE(page->DeleteDateEdit2->text().isEmpty());
  }
}

TEST_F(FileClearPageTest, EnterAfterTheMonthsAsksThePurgeQuestionAndMakesNoBackup) {
  m->show();
  m->PageControl1->setCurrentWidget(page);
  page->BackupComboBox->setCurrentIndex(1);
  page->DeleteDateEdit1->setFocus();
  QTest::keyClicks(page->DeleteDateEdit1, "8801");
  QTest::keyClick(page->DeleteDateEdit1, Qt::Key_Return);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, FileClearPage::purgeQuestion());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "salary_bk.db"));
}

TEST_F(FileClearPageTest, SecondBackupReplacesTheFirstCompletely) {
  page->BackupBitBtn->press();
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "salary_bk.db"));
  page->BackupComboBox->setCurrentIndex(1);
  page->BackupBitBtn->press();
  EXPECT_EQ(dates("salary_bk.db").size(), 7u);
  dialogs.answer(mrYes);
  page->DeleteDateEdit2->setText("8901");
  page->BitBtn1->press();
  page->BackupBitBtn->press();
  EXPECT_EQ(dates("salary_bk.db"), std::vector<std::string>{"890101"});
  EXPECT_EQ(page->BackupComboBox->currentIndex(), 1);
  EXPECT_EQ(dialogs.shown().size(), 1u);  // the purge's question alone: a backup tells nothing
}

// A folder in which no file can be made, for as long as it lives: read-only by its mode, or, for
// root, whom modes do not stop, by the file system's immutable flag.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(const std::filesystem::path& folder) : folder_(folder) {
    if (geteuid() != 0) {
      done_ = chmod(folder.c_str(), 0500) == 0;
    } else if ((fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY)) >= 0) {
      done_ = ioctl(fd_, FS_IOC_GETFLAGS, &flags_) == 0 &&
              ioctl(fd_, FS_IOC_SETFLAGS, &(flags_ |= FS_IMMUTABLE_FL)) == 0;
    }
  }
  ~UnwritableFolder() {
    if (geteuid() != 0) chmod(folder_.c_str(), 0700);
    if (fd_ < 0) return;
    flags_ &= ~FS_IMMUTABLE_FL;
    ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
    close(fd_);
  }
  bool done() const { return done_; }

 private:
  std::filesystem::path folder_;
  int fd_ = -1;
  int flags_ = 0;
  bool done_ = false;
};

TEST_F(FileClearPageTest, BackupIntoAnUnwritableFolderKeepsTheEarlierBackupAndSaysWhy) {
  page->BackupComboBox->setCurrentIndex(1);
  page->BackupBitBtn->press();
  const std::string earlier = TestFolder::readFile(folder.path() / "salary_bk.db");
  folder.addEntry("000002", "890105", 2000, "薪水轉帳");
  {
    UnwritableFolder locked(folder.path());
    if (!locked.done()) GTEST_SKIP() << "the folder cannot be made unwritable here";
    page->BackupBitBtn->press();
  }
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, Kind::Error);
  EXPECT_TRUE(dialogs.shown()[0].text.contains(QString::fromUtf8("無法寫入")))
      << dialogs.shown()[0].text.toStdString();
  EXPECT_EQ(TestFolder::readFile(folder.path() / "salary_bk.db"), earlier);
  EXPECT_TRUE(TestFolder::filesIn(folder.path(), ".part-").empty());
}

TEST_F(FileClearPageTest, RecoveryReplacesAFileThatTheWindowHoldsOpen) {
  page->BackupComboBox->setCurrentIndex(0);
  page->BackupBitBtn->press();
  folder.addEmployee("000003", "張三");
  store::Table& employees = m->EmployeeBasicTable;
  ASSERT_TRUE(employees.Active());
  employees.Refresh();
  ASSERT_EQ(employees.RecordCount(), 3);
  employees.Last();

  page->RecoverComboBox->setCurrentIndex(0);
  page->BitBtn4Click();
  // Opened again on the restored file, not left on a row that is gone.
  EXPECT_TRUE(employees.Active());
  EXPECT_EQ(employees.RecordCount(), 2);
  EXPECT_EQ(employees.FieldByName("NUMBER").text(), "000001");
  EXPECT_TRUE(dialogs.shown().empty());

  // With no backup of pass.DB the recovery fails and leaves the file as it was.
  const std::string pass = TestFolder::readFile(folder.path() / "pass.DB");
  page->RecoverComboBox->setCurrentIndex(2);
  page->BitBtn4->press();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, Kind::Error);
  EXPECT_EQ(TestFolder::readFile(folder.path() / "pass.DB"), pass);
  EXPECT_TRUE(employees.Active());
}

TEST_F(FileClearPageTest, RecoveryFromAFileThatIsNotItsTablesBackupIsRefusedOnThePage) {
  fs::copy_file(folder.path() / "temp.DB", folder.path() / "basic_bk.db");
  const std::string basic = TestFolder::readFile(folder.path() / "basic.DB");
  store::Table& employees = m->EmployeeBasicTable;

  page->RecoverComboBox->setCurrentIndex(0);
  page->BitBtn4->press();

  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].kind, Kind::Error);
  const std::string text = dialogs.shown()[0].text.toStdString();
  EXPECT_NE(text.find((folder.path() / "basic_bk.db").string()), std::string::npos) << text;
  EXPECT_NE(text.find("結構"), std::string::npos) << text;
  EXPECT_EQ(TestFolder::readFile(folder.path() / "basic.DB"), basic);
  EXPECT_TRUE(TestFolder::filesIn(folder.path(), ".part-").empty());
  EXPECT_TRUE(employees.Active());
  EXPECT_EQ(employees.RecordCount(), 2);
}

}  // namespace
