// The transfer page's 預覽 and 列印報表 in the running program: which report the radio group
// chooses, the preview window and its PDF export, and printing without a printer.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include "reports/PreviewWindow.h"
#include "reports/TPrintSimpleForm.h"
#include "reports/TQuickReport1.h"
#include "store/Transaction.h"
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

// The first page shows at once, the rest as the clerk pages through; the window goes to any
// page, knows how many there are once it has laid them out, and zooms.
TEST_F(ReportButtonsTest, PreviewPagesThroughTheReportAPageAtATime) {
  ASSERT_TRUE(program);
  {
    store::Transaction rows(folder.session(), {"temp.DB"});
    for (int i = 3; i <= 70; ++i) {
      folder.append("temp.DB", {{"NUMBER", QString::number(i).rightJustified(6, '0').toStdString()},
                                {"SENDDATE", "880305"},
                                {"PAY", "100"}});
    }
    rows.commit();
  }
  page()->PreviewBitBtn1->press();
  reports::PreviewWindow* window = listPreview();
  ASSERT_TRUE(shown(window));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("條列式報表"));
  EXPECT_EQ(window->currentPage(), 1);
  auto texts = [&] {
    QStringList out;
    for (const auto& t : window->shownTexts()) out << t.text;
    return out;
  };
  EXPECT_TRUE(texts().contains(QStringLiteral("員工薪資列印報表")));  // the title, on page 1
  auto act = [&](const char* name) { window->findChild<QAction*>(name)->trigger(); };
  act("NextPageAction");
  EXPECT_EQ(window->currentPage(), 2);
  EXPECT_FALSE(texts().contains(QStringLiteral("員工薪資列印報表")));
  act("LastPageAction");
  EXPECT_EQ(window->pageCount(), 3);
  EXPECT_EQ(window->currentPage(), 3);
  EXPECT_TRUE(texts().contains(QStringLiteral("本月入帳總筆數 :")));
  EXPECT_TRUE(texts().contains("69"));  // the count of the 69 rows, on the last page
  act("NextPageAction");
  EXPECT_EQ(window->currentPage(), 3);
  window->findChild<QSpinBox*>("PageSpinBox")->setValue(2);
  EXPECT_EQ(window->currentPage(), 2);
  EXPECT_EQ(window->findChild<QLabel*>("PageCountLabel")->text().trimmed(),
            QStringLiteral("/ 共 3 頁"));
  act("FirstPageAction");
  EXPECT_EQ(window->currentPage(), 1);
  const double zoom = window->zoom();
  act("ZoomInAction");
  EXPECT_GT(window->zoom(), zoom);
  act("ZoomOutAction");
  act("ZoomOutAction");
  EXPECT_LT(window->zoom(), zoom);

  page()->PrintRadioGroup->button(1)->click();
  page()->PreviewBitBtn1->press();
  EXPECT_EQ(detailedPreview()->windowTitle(), QStringLiteral("員工薪資列印報表"));
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

}  // namespace
