// The two reports against their designs: each element where the design's tables put it (left
// and top in millimetres from its band), in its face, size, colour and bold, the centred labels
// centred, each band below the one before by that band's height, and the page footer at the
// foot of the printable area. Read through the recording canvas from a report of the example
// batch, so that the positions checked are those painted.

#include <gtest/gtest.h>

#include <QLocale>
#include <map>

#include "RecordingCanvas.h"
#include "reports/SalaryReport.h"
#include "support/TestFolder.h"

namespace {

const QColor kBlue(0x00, 0x00, 0xFF), kRed(0xFF, 0x00, 0x00), kTeal(0x00, 0x80, 0x80),
    kGreen(0x00, 0x80, 0x00);
constexpr double kCentred = -1;
constexpr double kPrintableWidth = 190, kPrintableHeight = 277;

struct Element {
  const char* band;
  const char* name;
  double left, top;  // left kCentred: centred on the band
  const char* family;
  double points;
  QColor color;
};

// The design's tables, written out.
const Element kDetailed[] = {
    {"QRBand1", "QRLabel14", 140.0, 2.1, "標楷體", 14, kBlue},
    {"QRBand1", "QRLabel8", kCentred, 4.2, "標楷體", 20, kBlue},
    {"QRBand1", "QRLabel7", 139.7, 8.5, "新細明體", 12, kRed},
    {"QRBand1", "QRSysData3", 161.9, 8.5, "Courier New", 14, kRed},
    {"QRBand2", "QRLabel1", 6.3, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRDBText1", 29.6, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel2", 6.3, 8.5, "新細明體", 12, kBlue},
    {"QRBand2", "QRDBText2", 29.6, 8.5, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel3", 63.5, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRDBText3", 90.8, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel4", 63.5, 8.5, "新細明體", 12, kBlue},
    {"QRBand2", "QRDBText4", 90.8, 8.5, "新細明體", 12, kBlue},
    {"QRBand3", "QRLabel5", 14.8, 2.1, "標楷體", 14, kBlue},
    {"QRBand3", "QRLabel6", 63.5, 2.1, "標楷體", 14, kBlue},
    {"QRBand3", "QRLabel9", 121.2, 2.1, "標楷體", 14, kBlue},
    {"QRSubDetail1", "QRDBText5", 19.1, 2.1, "新細明體", 12, kBlue},
    {"QRSubDetail1", "QRDBText6", 69.8, 2.1, "新細明體", 12, kBlue},
    {"QRSubDetail1", "QRDBText7", 126.7, 2.1, "新細明體", 12, kBlue},
    {"QRBand4", "QRDBText8", 59.3, 2.1, "新細明體", 12, kBlue},
    {"QRBand4", "QRLabel10", 86.8, 2.1, "新細明體", 12, kBlue},
    {"QRBand4", "QRDBText9", 132.3, 2.1, "新細明體", 12, kBlue},
    {"QRBand6", "QRLabel12", 21.2, 2.9, "新細明體", 14, kTeal},
    {"QRBand6", "QRDBText11", 66.7, 3.2, "新細明體", 14, kTeal},
    {"QRBand6", "QRLabel13", 110.1, 2.1, "新細明體", 14, kTeal},
    {"QRBand6", "QRDBText10", 133.3, 2.9, "新細明體", 14, kTeal},
    {"QRBand5", "QRLabel11", kCentred, 12.7, "新細明體", 10, kRed},
    {"QRBand5", "QRSysData1", 105.8, 12.7, "新細明體", 10, kRed},
};
// Band heights; the blank ChildBand1 follows every QRBand4.
const std::map<QString, double> kDetailedHeights = {
    {"QRBand1", 15.6},      {"QRBand2", 14.8}, {"QRBand3", 8.5}, {"QRSubDetail1", 8.5},
    {"QRBand4", 8.5 + 6.3}, {"QRBand6", 8.5},  {"QRBand5", 21.2}};

const Element kList[] = {
    {"QRBand1", "QRLabel1", 57.1, 2.1, "標楷體", 20, kBlue},
    {"QRBand1", "QRLabel2", 130.7, 2.1, "標楷體", 14, kBlue},
    {"QRBand1", "QRLabel3", 130.7, 8.7, "新細明體", 12, kRed},
    {"QRBand1", "QRSysData1", 156.1, 8.7, "新細明體", 12, kRed},
    {"QRBand2", "QRLabel4", 4.2, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel5", 31.8, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel6", 67.7, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel7", 103.7, 2.1, "新細明體", 12, kBlue},
    {"QRBand2", "QRLabel8", 137.6, 2.1, "新細明體", 12, kBlue},
    {"QRBand3", "QRDBText1", 6.3, 2.1, "新細明體", 12, kBlue},
    {"QRBand3", "QRDBText2", 33.9, 2.1, "新細明體", 12, kBlue},
    {"QRBand3", "QRDBText3", 63.5, 2.1, "新細明體", 12, kBlue},
    {"QRBand3", "QRDBText4", 105.8, 2.1, "新細明體", 12, kBlue},
    {"QRBand3", "QRDBText5", 135.5, 2.1, "新細明體", 12, kBlue},
    {"QRBand5", "QRLabel10", 4.2, 2.1, "標楷體", 18, kGreen},
    {"QRBand5", "QRDBText6", 59.3, 2.1, "標楷體", 18, kGreen},
    {"QRBand5", "QRLabel11", 101.6, 2.1, "標楷體", 18, kTeal},
    {"QRBand5", "QRDBText7", 129.1, 2.1, "標楷體", 18, kTeal},
    {"QRBand4", "QRLabel9", 76.2, 4.2, "標楷體", 16, kRed},
    {"QRBand4", "QRSysData2", 101.6, 4.2, "標楷體", 16, kRed},
};
const std::map<QString, double> kListHeights = {
    {"QRBand1", 13.5}, {"QRBand2", 9.3}, {"QRBand3", 7.7}, {"QRBand5", 10.6}, {"QRBand4", 10.6}};

class ReportLayoutsTest : public ::testing::Test {
 protected:
  ReportLayoutsTest() {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
    folder.addEmployee("000001", "王小明", "A123456789", "11110000010000");
    folder.addEmployee("000002", "李大同", "", "11110000020000");
    for (const auto& [number, name, pay] : {std::tuple{"000001", "王小明", "100"},
                                            {"000001", "王小明", "200"},
                                            {"000002", "李大同", "50"}}) {
      folder.append("temp.DB", {{"NUMBER", number},
                                {"SENDDATE", "880305"},
                                {"PAY", pay},
                                {"NAME", name},
                                {"SALARYITEM", "薪水轉帳"}});
    }
  }
  ~ReportLayoutsTest() override { QLocale::setDefault(QLocale::c()); }

  // Checks every text of the one page against the design, and the bands' places.
  static void check(const RecordingCanvas& canvas, const Element* design, size_t count,
                    const std::map<QString, double>& heights, const QString& footer) {
    ASSERT_EQ(canvas.pages.size(), 1u);
    auto find = [&](const reports::PlacedText& t) -> const Element* {
      for (size_t i = 0; i < count; ++i)
        if (t.band == design[i].band && t.element == design[i].name) return &design[i];
      return nullptr;
    };
    double bandTop = 0, nextTop = 0;
    QString band;
    QStringList elements;
    for (const auto& t : canvas.pages[0]) {
      SCOPED_TRACE((t.band + " " + t.element + " " + t.text).toStdString());
      const Element* e = find(t);
      ASSERT_TRUE(e) << "not in the design";
      EXPECT_EQ(t.font.family(), QString::fromUtf8(e->family));
      EXPECT_DOUBLE_EQ(t.font.pointSizeF(), e->points);
      EXPECT_TRUE(t.font.bold());
      EXPECT_EQ(t.color, e->color);
      if (e->left == kCentred) {
        EXPECT_NEAR(t.x, (kPrintableWidth - canvas.textWidth(t.font, t.text)) / 2, 0.01);
      } else {
        EXPECT_NEAR(t.x, e->left, 1e-9);
      }
      // A new band: it stands where the one before ended; the footer at the foot of the page.
      if (t.band != band || elements.contains(t.element)) {
        if (!band.isEmpty()) nextTop = bandTop + heights.at(band);
        bandTop = t.y - e->top;
        const double expected = t.band == footer ? kPrintableHeight - heights.at(footer) : nextTop;
        EXPECT_NEAR(bandTop, expected, 1e-9) << "band " << t.band.toStdString();
        band = t.band;
        elements.clear();
      }
      EXPECT_NEAR(t.y - bandTop, e->top, 1e-9);
      elements << t.element;
    }
    EXPECT_EQ(band, footer);
  }

  TestFolder folder;
};

TEST_F(ReportLayoutsTest, TheDetailedReportIsPaintedWhereAndHowItsDesignSays) {
  reports::DetailedReport report(folder.session());
  RecordingCanvas canvas;
  report.render(canvas, QDate(2026, 12, 7));
  check(canvas, kDetailed, std::size(kDetailed), kDetailedHeights, "QRBand5");
}

TEST_F(ReportLayoutsTest, TheListReportIsPaintedWhereAndHowItsDesignSays) {
  reports::ListReport report(folder.session());
  RecordingCanvas canvas;
  report.render(canvas, QDate(2026, 12, 7));
  check(canvas, kList, std::size(kList), kListHeights, "QRBand4");
  EXPECT_TRUE(report.reportLayout().title.isEmpty());  // the design gives it none
}

}  // namespace
