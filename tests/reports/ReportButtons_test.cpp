// The transfer page's 預覽 and 列印報表 in the running program: which report the radio group
// chooses, the preview window and its PDF export, and printing without a printer.

#include <gtest/gtest.h>

#include <QAction>
#include <QPrinterInfo>
#include <QRadioButton>

#include "reports/PreviewWindow.h"
#include "reports/TPrintSimpleForm.h"
#include "reports/TQuickReport1.h"
#include "support/ProgramFixture.h"
#include "transfer/FileTansferPage.h"

namespace {

class ReportButtonsTest : public ProgramFixture {
 protected:
  ReportButtonsTest() {
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    folder.append("temp.DB", {{"NUMBER", "000001"}, {"SENDDATE", "880305"}, {"PAY", "100"}});
    start();
  }
  static FileTansferPage* page() { return MainMenuForm->FileTansfer; }
  static reports::PreviewWindow* listPreview() {
    return PrintSimpleForm->SimpleQuickRep2.previewWindow();
  }
  static reports::PreviewWindow* detailedPreview() {
    return QuickReport1->quickRep().previewWindow();
  }
  static bool shown(QWidget* window) { return window && window->isVisible(); }
};

TEST_F(ReportButtonsTest, PreviewShowsTheReportTheRadioGroupChooses) {
  ASSERT_TRUE(program);
  struct Case {
    std::vector<int> choices;  // radio buttons clicked in turn (none: never chosen)
    bool detailed;
  };
  for (const auto& c : std::vector<Case>{{{}, false}, {{1}, true}, {{1, 0}, false}}) {
    for (int i : c.choices) page()->PrintRadioGroup->button(i)->click();
    page()->PreviewBitBtn1->press();
    EXPECT_EQ(shown(detailedPreview()), c.detailed);
    EXPECT_EQ(shown(listPreview()), !c.detailed);
    for (auto* w : {listPreview(), detailedPreview()})
      if (w) w->hide();
  }
  EXPECT_EQ(QuickReport1->quickRep().pageCount(), 1);
  EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join('\n').toStdString();
}

TEST_F(ReportButtonsTest, PreviewExportsThePdfAndReportsAFailedSave) {
  ASSERT_TRUE(program);
  page()->PreviewBitBtn1->press();
  ASSERT_TRUE(shown(listPreview()));
  auto* exportPdf = listPreview()->findChild<QAction*>("ExportPdfAction");
  ASSERT_TRUE(exportPdf);
  const auto file = folder.path() / "report.pdf";
  dialogs.answerSave(QString::fromStdString(file.string()));
  exportPdf->trigger();
  EXPECT_TRUE(TestFolder::readFile(file).starts_with("%PDF-"));
  EXPECT_TRUE(dialogs.shown().size() == 1 &&
              dialogs.shown()[0].kind == toolkit::ScriptedDialogs::Kind::SaveFile);

  dialogs.clear();
  dialogs.answerSave(QString::fromStdString((folder.path() / "none" / "report.pdf").string()));
  exportPdf->trigger();
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[1].kind, toolkit::ScriptedDialogs::Kind::Error);
  EXPECT_TRUE(dialogs.shown()[1].text.contains("report.pdf"))
      << dialogs.shown()[1].text.toStdString();
}

// The preview once aborted a report that failed half-way on its own printer, and the next
// preview crashed.
TEST_F(ReportButtonsTest, ReportThatCannotBeBuiltIsReportedEachTimeAndTheProgramGoesOn) {
  ASSERT_TRUE(program);
  std::filesystem::remove(folder.path() / "temp.DB");
  for (int i = 0; i < 2; ++i) page()->PreviewBitBtn1->press();
  ASSERT_EQ(dialogs.shown().size(), 2u);
  for (const auto& shown : dialogs.shown()) {
    EXPECT_EQ(shown.kind, toolkit::ScriptedDialogs::Kind::Error);
    EXPECT_TRUE(shown.text.contains("temp.DB", Qt::CaseInsensitive)) << shown.text.toStdString();
  }
}

TEST_F(ReportButtonsTest, PrintWithoutPrinterSaysSoForEitherStyle) {
  ASSERT_TRUE(program);
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
  for (int style : {0, 1}) {
    dialogs.clear();
    page()->PrintRadioGroup->button(style)->click();
    page()->PrintBitBtn1->press();
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(reports::kNoPrinterMessage)});
    EXPECT_EQ(dialogs.shown().at(0).kind, toolkit::ScriptedDialogs::Kind::Message);
  }
}

}  // namespace
