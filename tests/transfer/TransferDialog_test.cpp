// The transfer page and the transfer dialog, driven through their handlers with the dialogs
// scripted: what the clerk sees, the batch left in temp.DB and the bytes of the saved file.

#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "TransferFolder.h"
#include "store/Cp950.h"
#include "support/ScriptedDialogs.h"
#include "transfer/FileTansferPage.h"
#include "transfer/TSaveDialogBoxForm.h"

namespace {

namespace fs = std::filesystem;
using toolkit::ScriptedDialogs;

const QString kSaveMessage = QStringLiteral(
    "下面之存檔對話盒,請將檔名存成'BTXXXX20'模式,其中'XXXX'值為0000~9999由您自行決定,"
    "例如BT123420");
const QString kSaveTitle =
    QStringLiteral("儲存檔案,請將檔名存成\"BTXXXX20\"模式,其中\"XXXX\"值為0000~9999由您自行決定");
constexpr std::size_t kHeaderAndTrailer = 14 + 9;
constexpr std::size_t kRecordLine = 76;

class TransferDialog : public ::testing::Test {
 protected:
  TransferDialog() {
    SaveDialogBoxForm = &form;
    folder.addEmployee("000001", "王小明", "A123456789", "11111111111111");
    folder.addEmployee("000002", "李大同", "", "22222222222222");
    folder.addEntry("000001", "880305", 35000, "薪水轉帳");
    folder.addEntry("000001", "880306", 1200, "退稅");
    folder.addEntry("000002", "880305", 42000, "薪水轉帳");
    folder.addEntry("000002", "880405", 42000, "薪水轉帳");
  }
  ~TransferDialog() override { SaveDialogBoxForm = nullptr; }

  // Opens the dialog from the page, types the date and presses 確定, the file dialog answered
  // with `name` (nothing: cancelled).
  void run(const QString& date, std::optional<QString> name) {
    dialogs.answerSave(std::move(name));
    press(date);
  }
  void press(const QString& date) {
    page.SaveFileBitBtn->press();
    form.FileEdit->setText(date);
    form.FileOKBitBtn->press();
  }
  QString target(const char* name = "BT123420") const {
    return QString::fromStdString((folder.path() / name).string());
  }
  std::vector<std::string> batchDates() {
    std::vector<std::string> out;
    for (const auto& r : folder.batch()) out.push_back(r.NUMBER + " " + r.SENDDATE);
    return out;
  }
  TransferFolder folder;
  ScriptedDialogs dialogs;
  TSaveDialogBoxForm form{folder.session()};
  FileTansferPage page;
};

TEST_F(TransferDialog, ConfirmedSaveWritesTheBatchOfTheDateClosesAndEmptiesTheDateBox) {
  folder.addEntry("000099", "880305", 500, "薪水轉帳");  // no such employee: passed over
  folder.addEntry("000001", "880305", 35000, "退稅");    // equal amount, other item
  run("880305", target());

  EXPECT_EQ(batchDates(),
            (std::vector<std::string>{"000001 880305", "000001 880305", "000002 880305"}));
  const std::string file = TestFolder::readFile(target().toStdString());
  EXPECT_EQ(file.size(), kHeaderAndTrailer + 3 * kRecordLine);
  EXPECT_EQ(file, form.Memo->bytes());
  EXPECT_TRUE(file.starts_with("020000020000\r\n000001880305"));
  EXPECT_EQ(form.Memo->lineCount(), 5);
  EXPECT_EQ(form.Memo->line(4), "END$END");
  // The message comes first, then the file dialog; a successful save tells nothing.
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[0].text, kSaveMessage);
  EXPECT_EQ(dialogs.shown()[1].kind, ScriptedDialogs::Kind::SaveFile);
  EXPECT_EQ(dialogs.shown()[1].save.title, kSaveTitle);
  EXPECT_EQ(dialogs.shown()[1].save.fileName, "BT");
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.FileEdit->text(), "");
}

TEST_F(TransferDialog, DateTextChoosesTheEntriesAndNoMatchStillWritesHeaderAndTrailer) {
  for (const auto& [date, records] : {std::pair{"880305", 2}, {"8803", 3}, {"", 4}, {"8812", 0}}) {
    SCOPED_TRACE(date);
    run(date, target());
    EXPECT_EQ(TestFolder::readFile(target().toStdString()).size(),
              kHeaderAndTrailer + records * kRecordLine);
    EXPECT_EQ(folder.batch().size(), static_cast<std::size_t>(records));
  }
  EXPECT_EQ(dialogs.unscripted(), 0);
}

TEST_F(TransferDialog, CancelledFileDialogWritesNothingAndKeepsTheBatchForTheReports) {
  run("8803", std::nullopt);
  EXPECT_FALSE(fs::exists(target().toStdString()));
  EXPECT_EQ(folder.batch().size(), 3u);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.FileEdit->text(), "");
}

TEST_F(TransferDialog, FileDialogProposesTheNameLastConfirmedWithItsFolder) {
  run("880305", target("BT000120"));
  run("880305", std::nullopt);  // a cancel does not change the proposal
  run("880305", target("BT000220"));
  // A failed save (its folder gone, as a medium pulled out) leaves its name for the retry.
  run("880305", target("gone/BT000320"));
  ASSERT_TRUE(form.isVisible());
  fs::create_directory(folder.path() / "gone");
  dialogs.answerSave(target("gone/BT000320"));
  form.FileOKBitBtn->press();
  EXPECT_TRUE(fs::exists(folder.path() / "gone" / "BT000320"));
  std::vector<QString> proposed;
  for (const auto& s : dialogs.shown()) {
    if (s.kind == ScriptedDialogs::Kind::SaveFile) proposed.push_back(s.save.fileName);
  }
  EXPECT_EQ(proposed, (std::vector<QString>{"BT", target("BT000120"), target("BT000120"),
                                            target("BT000220"), target("gone/BT000320")}));
  EXPECT_EQ(form.SaveDialogInitialDir, QString::fromStdString((folder.path() / "gone").string()));
}

TEST_F(TransferDialog, RefusalsAreShownAndKeepTheEarlierFileTheDialogAndItsDate) {
  std::ofstream(target().toStdString(), std::ios::binary) << "earlier\r\n";
  folder.addEntry("000002", "880310", 100, "年終獎金");               // an item without code
  folder.addEntry("000002", "880311", 12345678901234.0, "薪水轉帳");  // fourteen characters
  struct Case {
    const char* date;
    std::optional<QString> answer;  // none: refused before the file dialog
    std::vector<std::string> named;
    std::size_t batchRows;
  };
  for (const Case& c :
       {Case{"880310", {}, {"000002", "880310", "年終獎金"}, 1},
        Case{"880311", {}, {"000002", "880311", "12345678901234"}, 1},
        Case{"880305", target("no-such-folder/BT123420"), {"no-such-folder/BT123420"}, 2}}) {
    SCOPED_TRACE(c.date);
    dialogs.clear();
    if (c.answer) dialogs.answerSave(c.answer);
    press(c.date);
    ASSERT_FALSE(dialogs.shown().empty());
    const auto& report = dialogs.shown().back();
    EXPECT_EQ(report.kind, ScriptedDialogs::Kind::Error);
    for (const auto& part : c.named) {
      EXPECT_TRUE(report.text.contains(QString::fromStdString(part))) << report.text.toStdString();
    }
    EXPECT_EQ(dialogs.shown().size(), c.answer ? 3u : 1u);
    EXPECT_EQ(TestFolder::readFile(target().toStdString()), "earlier\r\n");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.FileEdit->text(), c.date);
    EXPECT_EQ(folder.batch().size(), c.batchRows);  // the batch of the date stays for the reports
    EXPECT_TRUE(TestFolder::filesIn(folder.path(), ".BT").empty());
  }
}

TEST_F(TransferDialog, EnterPressesOkAndEscCancelsAndTheCloseBoxKeepsTheDate) {
  page.SaveFileBitBtn->press();
  form.FileEdit->setText("880305");
  dialogs.answerSave(target());
  QTest::keyClick(form.FileEdit, Qt::Key_Return);
  EXPECT_TRUE(fs::exists(target().toStdString()));
  EXPECT_FALSE(form.isVisible());

  page.SaveFileBitBtn->press();
  form.FileEdit->setText("8803");
  form.close();  // the title bar's close box
  page.SaveFileBitBtn->press();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.FileEdit->text(), "8803");

  QTest::keyClick(form.FileEdit, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.FileEdit->text(), "");
  EXPECT_EQ(folder.batch().size(), 2u);  // 取消 touches no table
}

TEST_F(TransferDialog, DateBoxTakesSixCharactersAndShowsItsHint) {
  EXPECT_EQ(form.FileEdit->maxLength(), 6);
  EXPECT_EQ(form.FileEdit->toolTip(), QStringLiteral("請輸入入帳年月共六位,例如:880305"));
  EXPECT_FALSE(form.Memo->isEnabled());
  EXPECT_EQ(form.windowTitle(), "SaveDialogBoxForm");
  EXPECT_EQ(form.size(), QSize(435, 300));
}

TEST_F(TransferDialog, PageOffersTheTwoReportStylesNoneChosenAndKeepsTheChoice) {
  EXPECT_EQ(page.PrintRadioGroup->title(), "列印方式");
  EXPECT_EQ(page.PrintRadioGroup->items(), (QStringList{"條列式", "詳細列印"}));
  EXPECT_EQ(page.PrintRadioGroup->ItemIndex(), -1);
  page.PrintRadioGroup->button(1)->click();
  EXPECT_EQ(page.PrintRadioGroup->ItemIndex(), 1);
  page.PrintRadioGroup->button(0)->click();
  EXPECT_EQ(page.PrintRadioGroup->ItemIndex(), 0);
  // Two columns: the items stand side by side.
  EXPECT_EQ(page.PrintRadioGroup->button(0)->y(), page.PrintRadioGroup->button(1)->y());
  EXPECT_LT(page.PrintRadioGroup->button(0)->x(), page.PrintRadioGroup->button(1)->x());
}

}  // namespace
