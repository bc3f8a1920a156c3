// The two salary reports built over temp.DB and basic.DB: what every page receives, band by
// band, read through a recording canvas.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>
#include <QRegularExpression>

#include "RecordingCanvas.h"
#include "reports/PainterCanvas.h"
#include "reports/PdfPainting.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportPages.h"
#include "reports/SalaryReport.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "support/TestFolder.h"
#include "support/TestRows.h"

namespace {

const QDate kToday(2026, 12, 7);

class SalaryReportTest : public ::testing::Test {
 protected:
  SalaryReportTest() { QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan)); }
  ~SalaryReportTest() override { QLocale::setDefault(QLocale::c()); }

  static void addBatchRow(TestFolder& folder, const std::string& number, const std::string& name,
                          const std::string& pay, const std::string& date = "880305",
                          const std::string& item = "薪水轉帳") {
    folder.append("temp.DB", {{"NUMBER", number},
                              {"SENDDATE", date},
                              {"SUBJECT", "2"},
                              {"ACCOUNT", "1111" + number},
                              {"PAY", pay},
                              {"PAY1", "00"},
                              {"SPACE", "****"},
                              {"TRAN", "SA"},
                              {"SALARYITEM", item},
                              {"NAME", name}});
  }
  // Employees 000001... each with one batch row of 10, in one transaction.
  static void addEmployeesWithOneRow(TestFolder& folder, int count) {
    store::Session& s = folder.session();
    store::Transaction transaction(s, {"basic.DB", "temp.DB"});
    for (int i = 1; i <= count; ++i) {
      const std::string number = QString::number(i).rightJustified(6, '0').toStdString();
      testrows::addEmployee(s, number, "員工");
      testrows::append(s, "temp.DB", {{"NUMBER", number}, {"SENDDATE", "880305"}, {"PAY", "10"}});
    }
    transaction.commit();
  }
  // 000001 with 100, 200 and 300, 000002 with 50; 000003 has no batch rows.
  void addExample() {
    folder.addEmployee("000001", "王小明", "A123456789", "11110000010000");
    folder.addEmployee("000002", "李大同", "", "11110000020000");
    folder.addEmployee("000003", "陳三", "B223456789", "11110000030000");
    addBatchRow(folder, "000001", "王小明", "300", "880305", "退稅");
    addBatchRow(folder, "000001", "王小明", "100");
    addBatchRow(folder, "000001", "王小明", "200", "880306");
    addBatchRow(folder, "000002", "李大同", "50");
  }
  template <class Report>
  static RecordingCanvas render(TestFolder& folder) {
    Report report(folder.session());
    RecordingCanvas canvas;
    const int pages = report.render(canvas, kToday);
    EXPECT_EQ(pages, int(canvas.pages.size()));
    return canvas;
  }

  TestFolder folder;
};

const QString kListTitle = "QRBand1 員工薪資列印報表|Ravek|列印日期:|2026/12/7";
const QString kListHeader = "QRBand2 員工編號 |員工姓名 |入帳帳號 |入帳日期 |入帳金額 ";
const QString kDetailedHeader = "QRBand1 Ravek|員工薪資列印報表|列印日期:|2026/12/7";
const QString kSubHeader = "QRBand3 薪資項目 :|入帳日期 :|入帳金額 :";

TEST_F(SalaryReportTest, ListReportPrintsEveryBatchRowInKeyOrderThenCountAndTotal) {
  addExample();
  EXPECT_EQ(render<reports::ListReport>(folder).allLines(),
            (QStringList{kListTitle, kListHeader, "QRBand3 000001|王小明|1111000001|880305|$100.00",
                         "QRBand3 000001|王小明|1111000001|880305|$300.00",
                         "QRBand3 000001|王小明|1111000001|880306|$200.00",
                         "QRBand3 000002|李大同|1111000002|880305|$50.00",
                         "QRBand5 本月入帳總筆數 :|4|總金額:|$650.00", "QRBand4 頁次 :|1"}));
}

TEST_F(SalaryReportTest, DetailedReportPrintsEachEmployeeWithHisRowsAndTotal) {
  addExample();
  EXPECT_EQ(render<reports::DetailedReport>(folder).allLines(),
            (QStringList{kDetailedHeader,
                         "QRBand2 員工編號 :|000001|員工姓名 :|王小明|入帳帳號 :|11110000010000|"
                         "身分證號 :|A123456789",
                         kSubHeader, "QRSubDetail1 薪水轉帳|880305|$100.00",
                         "QRSubDetail1 退稅|880305|$300.00", "QRSubDetail1 薪水轉帳|880306|$200.00",
                         "QRBand4 王小明|君本月的薪資總額 :|$600.00",
                         "QRBand2 員工編號 :|000002|員工姓名 :|李大同|入帳帳號 :|11110000020000|"
                         "身分證號 :",
                         kSubHeader, "QRSubDetail1 薪水轉帳|880305|$50.00",
                         "QRBand4 李大同|君本月的薪資總額 :|$50.00",
                         // No batch rows: the block alone.
                         "QRBand2 員工編號 :|000003|員工姓名 :|陳三|入帳帳號 :|11110000030000|"
                         "身分證號 :|B223456789",
                         "QRBand6 本月入帳總筆數 :|4|總金額:|$650.00", "QRBand5 頁次 :|1"}));
}

TEST_F(SalaryReportTest, EmptyBatchGivesNoLinesCountZeroAndBlankTotal) {
  folder.addEmployee("000001", "王小明", "", "11110000010000");
  EXPECT_EQ(render<reports::ListReport>(folder).allLines(),
            (QStringList{kListTitle, kListHeader,
                         "QRBand5 本月入帳總筆數 :|0|總金額:", "QRBand4 頁次 :|1"}));
  EXPECT_EQ(render<reports::DetailedReport>(folder).allLines(),
            (QStringList{kDetailedHeader,
                         "QRBand2 員工編號 :|000001|員工姓名 :|王小明|入帳帳號 :|11110000010000|"
                         "身分證號 :",
                         "QRBand6 本月入帳總筆數 :|0|總金額:", "QRBand5 頁次 :|1"}));
}

// Every page opens with the header bands (the title on the first only) and ends with the page
// footer carrying its number at the foot of the printable area; no band reaches into it.
TEST_F(SalaryReportTest, BandThatDoesNotFitStartsANewPage) {
  struct Case {
    bool detailed;
    int rows;                  // one employee per row
    std::vector<int> perPage;  // detail bands on each page
  };
  // List: 243.6 mm below title and column header on page 1, 257.1 mm on the next pages, 7.7 mm
  // a line, 10.6 mm the summary. Detailed: 240.2 mm a page, 46.6 mm an employee's block.
  const std::vector<Case> cases = {
      {false, 30, {30}}, {false, 31, {31, 0}}, {false, 65, {31, 33, 1}}, {true, 6, {5, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.detailed ? "detailed " : "list ") << c.rows);
    TestFolder pages;
    addEmployeesWithOneRow(pages, c.rows);
    const RecordingCanvas canvas =
        c.detailed ? render<reports::DetailedReport>(pages) : render<reports::ListReport>(pages);
    ASSERT_EQ(canvas.pages.size(), c.perPage.size());
    const QString detailBand = c.detailed ? "QRBand2" : "QRBand3";
    const QString footerBand = c.detailed ? "QRBand5" : "QRBand4";
    const double footerTop = 277 - (c.detailed ? 21.2 : 10.6);
    for (int p = 0; p < int(canvas.pages.size()); ++p) {
      const QStringList lines = canvas.lines(p);
      EXPECT_EQ(canvas.numbers[p], p + 1);
      EXPECT_EQ(lines.filter(QRegularExpression("^" + detailBand + " ")).size(), c.perPage[p]);
      EXPECT_EQ(lines.front(), c.detailed ? kDetailedHeader : p == 0 ? kListTitle : kListHeader);
      EXPECT_EQ(lines.back(), footerBand + " 頁次 :|" + QString::number(p + 1));
      for (const auto& t : canvas.pages[p]) {
        if (t.band == footerBand) {
          EXPECT_GE(t.y, footerTop);
        } else {
          EXPECT_LT(t.y, footerTop) << t.band.toStdString();
        }
      }
    }
    EXPECT_TRUE(canvas.lines(int(canvas.pages.size()) - 1)
                    .filter(QRegularExpression("^QRBand[56] 本月入帳總筆數 :\\|" +
                                               QString::number(c.rows) + "\\|"))
                    .size() == 1);
  }
}

// The preview paints a page alone, from where it begins, and in any order: each is the page the
// whole report prints, breaks inside an employee's lines included.
TEST_F(SalaryReportTest, EachPagePaintedAloneFromWhereItBeginsIsThatPageOfTheWholeReport) {
  {
    store::Session& s = folder.session();
    store::Transaction transaction(s, {"basic.DB", "temp.DB"});
    for (int i = 1; i <= 12; ++i) {
      const std::string number = QString::number(i).rightJustified(6, '0').toStdString();
      testrows::addEmployee(s, number, "員工");
      for (int k = 1; k <= 7; ++k) {
        testrows::append(s, "temp.DB",
                         {{"NUMBER", number},
                          {"SENDDATE", "88030" + std::to_string(k)},
                          {"PAY", std::to_string(i * 10 + k)}});
      }
    }
    transaction.commit();
  }
  auto check = [&](reports::SalaryReport& report, int expectedPages) {
    RecordingCanvas whole;
    ASSERT_EQ(report.render(whole, kToday), expectedPages);
    reports::ReportPages pages(report, kToday);
    EXPECT_EQ(pages.known(), 1);
    while (!pages.complete()) pages.layOut(2);
    ASSERT_EQ(pages.known(), expectedPages);
    for (int p = expectedPages; p >= 1; --p) {
      SCOPED_TRACE(p);
      RecordingCanvas alone;
      pages.paint(p, alone);
      EXPECT_EQ(alone.numbers, std::vector<int>{p});
      EXPECT_EQ(alone.lines(0), whole.lines(p - 1));
    }
  };
  reports::DetailedReport detailed(folder.session());
  check(detailed, 5);
  reports::ListReport list(folder.session());
  check(list, 3);

  // A row a page begins on that is gone by the time the page is painted is told, not guessed.
  reports::ReportPages pages(detailed, kToday);
  pages.layOut(1);
  store::Table basic(folder.session(), "basic.DB");
  basic.Open();
  ASSERT_TRUE(testrows::gotoKey(basic, "NUMBER", "000003"));
  basic.Delete();
  RecordingCanvas gone;
  const auto thrown = testrows::thrownBy([&] { pages.paint(2, gone); });
  EXPECT_TRUE(thrown.code.has_value());
  EXPECT_NE(thrown.message.find("已變更"), std::string::npos) << thrown.message;
}

// A PDF is painted on a thread of its own while the report is walked: the document is the one
// painted in line, page for page, more pages than the queue between the two holds included.
TEST_F(SalaryReportTest, ThePdfPaintedBesideTheWalkIsTheOnePaintedInLine) {
  addEmployeesWithOneRow(folder, 100);
  reports::DetailedReport report(folder.session());
  int pages = 0;
  const QByteArray beside = reports::renderPdf(report, &pages, kToday);
  EXPECT_EQ(pages, 21);
  QByteArray inLine;
  {
    QBuffer buffer(&inLine);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(report.reportLayout().title);
    writer.setCreator(QStringLiteral("salary"));
    reports::PainterCanvas canvas(writer, report.reportLayout());
    ASSERT_EQ(report.render(canvas, kToday), 21);
    canvas.finish();
  }
  const QRegularExpression created(R"(/CreationDate \(D:[0-9Z']*\))");
  EXPECT_EQ(QString::fromLatin1(beside).remove(created), QString::fromLatin1(inLine).remove(created));
}

// A walk that fails half-way gives up the painting: the thread ends, nothing waits for ever.
TEST_F(SalaryReportTest, AWalkThatFailsHalfWayEndsThePaintingWithIt) {
  const reports::ReportLayout& layout = reports::detailedReportLayout();
  const auto walk = [&](int pagesBeforeTheFault) {
    reports::PdfPainting painting(layout);
    for (int p = 1; p <= pagesBeforeTheFault; ++p) {
      painting.beginPage(p);
      painting.drawText({"QRBand1", "QRLabel1", 10, 10, QFont("AR PL UMing TW"), Qt::black, "員工"});
      painting.endPage();
    }
    throw std::runtime_error("the rows changed");
  };
  for (int pages : {0, 1, 40}) {
    SCOPED_TRACE(pages);
    EXPECT_THROW(walk(pages), std::runtime_error);
  }
}

}  // namespace
