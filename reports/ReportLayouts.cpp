#include "ReportLayouts.h"

namespace reports {

namespace {

const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kGreen(0x00, 0x80, 0x00);

ReportFont font(const char* family, double points, QColor color) {
  return {QString::fromUtf8(family), points, color, true};
}

ReportLayout makeDetailed() {
  const ReportFont kai14 = font("標楷體", 14, kBlue);
  const ReportFont ming12 = font("新細明體", 12, kBlue);
  const ReportFont summary = font("新細明體", 14, kTeal);
  const ReportFont footer = font("新細明體", 10, kRed);
  ReportLayout l;
  l.title = QStringLiteral("員工薪資列印報表");
  l.master = QStringLiteral("PrintTable1");
  l.subDetail = QStringLiteral("PrintSalaryTable1");
  const QString emp = l.master, row = l.subDetail;
  const ValueFormat money = ValueFormat::Money;
  l.bands = {
      band("QRBand1", BandType::PageHeader, 15.6,
           {label("QRLabel14", "Ravek", 140.0, 2.1, kai14),
            centredLabel("QRLabel8", "員工薪資列印報表", 4.2, font("標楷體", 20, kBlue)),
            label("QRLabel7", "列印日期:", 139.7, 8.5, font("新細明體", 12, kRed)),
            sysData("QRSysData3", SystemData::Date, 161.9, 8.5, font("Courier New", 14, kRed))}),
      band("QRBand2", BandType::Detail, 14.8,
           {label("QRLabel1", "員工編號 :", 6.3, 2.1, ming12),
            dbText("QRDBText1", emp, "NUMBER", 29.6, 2.1, ming12),
            label("QRLabel2", "員工姓名 :", 6.3, 8.5, ming12),
            dbText("QRDBText2", emp, "NAME", 29.6, 8.5, ming12),
            label("QRLabel3", "入帳帳號 :", 63.5, 2.1, ming12),
            dbText("QRDBText3", emp, "ACCOUNT", 90.8, 2.1, ming12),
            label("QRLabel4", "身分證號 :", 63.5, 8.5, ming12),
            dbText("QRDBText4", emp, "ID", 90.8, 8.5, ming12)}),
      band("QRBand3", BandType::SubDetailHeader, 8.5,
           {label("QRLabel5", "薪資項目 :", 14.8, 2.1, kai14),
            label("QRLabel6", "入帳日期 :", 63.5, 2.1, kai14),
            label("QRLabel9", "入帳金額 :", 121.2, 2.1, kai14)}),
      band("QRSubDetail1", BandType::SubDetail, 8.5,
           {dbText("QRDBText5", row, "SALARYITEM", 19.1, 2.1, ming12),
            dbText("QRDBText6", row, "SENDDATE", 69.8, 2.1, ming12),
            dbText("QRDBText7", row, "PAY", 126.7, 2.1, ming12, money)}),
      band("QRBand4", BandType::SubDetailFooter, 8.5,
           {dbText("QRDBText8", emp, "NAME", 59.3, 2.1, ming12),
            label("QRLabel10", "君本月的薪資總額 :", 86.8, 2.1, ming12),
            dbText("QRDBText9", "Query1", "SUM OF PAY", 132.3, 2.1, ming12, money)}),
      band("ChildBand1", BandType::Child, 6.3, {}, "QRBand4"),
      band("QRBand6", BandType::Summary, 8.5,
           {label("QRLabel12", "本月入帳總筆數 :", 21.2, 2.9, summary),
            dbText("QRDBText11", "Query3", "COUNT OF PAY", 66.7, 3.2, summary, ValueFormat::Count),
            label("QRLabel13", "總金額:", 110.1, 2.1, summary),
            dbText("QRDBText10", "Query2", "SUM OF PAY", 133.3, 2.9, summary, money)}),
      band("QRBand5", BandType::PageFooter, 21.2,
           {centredLabel("QRLabel11", "頁次 :", 12.7, footer),
            sysData("QRSysData1", SystemData::PageNumber, 105.8, 12.7, footer)}),
  };
  return l;
}

ReportLayout makeList() {
  const ReportFont ming12 = font("新細明體", 12, kBlue);
  const ReportFont footer = font("標楷體", 16, kRed);
  ReportLayout l;
  l.master = QStringLiteral("SimplePrintTempTable1");
  const QString row = l.master;
  l.bands = {
      band("QRBand1", BandType::Title, 13.5,
           {label("QRLabel1", "員工薪資列印報表", 57.1, 2.1, font("標楷體", 20, kBlue)),
            label("QRLabel2", "Ravek", 130.7, 2.1, font("標楷體", 14, kBlue)),
            label("QRLabel3", "列印日期:", 130.7, 8.7, font("新細明體", 12, kRed)),
            sysData("QRSysData1", SystemData::Date, 156.1, 8.7, font("新細明體", 12, kRed))}),
      band("QRBand2", BandType::ColumnHeader, 9.3,
           {label("QRLabel4", "員工編號 ", 4.2, 2.1, ming12),
            label("QRLabel5", "員工姓名 ", 31.8, 2.1, ming12),
            label("QRLabel6", "入帳帳號 ", 67.7, 2.1, ming12),
            label("QRLabel7", "入帳日期 ", 103.7, 2.1, ming12),
            label("QRLabel8", "入帳金額 ", 137.6, 2.1, ming12)}),
      band("QRBand3", BandType::Detail, 7.7,
           {dbText("QRDBText1", row, "NUMBER", 6.3, 2.1, ming12),
            dbText("QRDBText2", row, "NAME", 33.9, 2.1, ming12),
            dbText("QRDBText3", row, "ACCOUNT", 63.5, 2.1, ming12),
            dbText("QRDBText4", row, "SENDDATE", 105.8, 2.1, ming12),
            dbText("QRDBText5", row, "PAY", 135.5, 2.1, ming12, ValueFormat::Money)}),
      band("QRBand5", BandType::Summary, 10.6,
           {label("QRLabel10", "本月入帳總筆數 :", 4.2, 2.1, font("標楷體", 18, kGreen)),
            dbText("QRDBText6", "Query1", "COUNT OF PAY", 59.3, 2.1, font("標楷體", 18, kGreen),
                   ValueFormat::Count),
            label("QRLabel11", "總金額:", 101.6, 2.1, font("標楷體", 18, kTeal)),
            dbText("QRDBText7", "Query2", "SUM OF PAY", 129.1, 2.1, font("標楷體", 18, kTeal),
                   ValueFormat::Money)}),
      band("QRBand4", BandType::PageFooter, 10.6,
           {label("QRLabel9", "頁次 :", 76.2, 4.2, footer),
            sysData("QRSysData2", SystemData::PageNumber, 101.6, 4.2, footer)}),
  };
  return l;
}

}  // namespace

const ReportLayout& detailedReportLayout() {
  static const ReportLayout layout = makeDetailed();
  return layout;
}

const ReportLayout& listReportLayout() {
  static const ReportLayout layout = makeList();
  return layout;
}

}  // namespace reports
