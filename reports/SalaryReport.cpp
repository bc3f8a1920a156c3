#include "SalaryReport.h"

#include "BandReport.h"
#include "PdfPainting.h"
#include "ReportLayouts.h"
#include "store/FileReplacement.h"
#include "store/Transaction.h"

namespace reports {

int SalaryReport::render(ReportCanvas& canvas, QDate today) {
  int pages = 0;
  readTables([&] { pages = BandReport(reportLayout(), data_, today).run(canvas); });
  return pages;
}

std::unique_ptr<BandReport> SalaryReport::pageWalk(QDate today) {
  return std::make_unique<BandReport>(reportLayout(), data_, today);
}

void SalaryReport::readTables(const std::function<void()>& work) {
  // One transaction over the files read: the lines, the totals and the count come from the same
  // content even when another program changes temp.DB meanwhile (it waits until the end).
  store::Transaction snapshot(session_, files_);
  struct Closer {
    ReportData& data;
    ~Closer() { data.closeTables(); }
  } closer{data_};
  work();
  snapshot.commit();
}

SalaryReport::SalaryReport(store::Session& session, std::vector<std::string> files)
    : session_(session), files_(std::move(files)) {}

DetailedReport::DetailedReport(store::Session& session)
    : SalaryReport(session, {"basic.DB", "temp.DB"}),
      PrintTable1(session, "basic.DB"),
      PrintSalaryTable1(session, "temp.DB"),
      Query1(session, "Select Sum(PAY) From Temp\nWhere NUMBER =:NUMBER"),
      Query2(session, "Select Sum(PAY) From Temp\nWhere PAY =PAY"),
      Query3(session, "Select Count(PAY) From Temp\nWhere PAY =PAY") {
  PrintTable1.SetIndexFieldNames("NUMBER");
  PrintSalaryTable1.SetMasterSource(&PrintTable1, "NUMBER");
  Query1.SetDataSource(&PrintSalaryTable1);
  Query2.SetDataSource(&PrintSalaryTable1);
  Query3.SetDataSource(&PrintSalaryTable1);
  data_.addTable("PrintTable1", PrintTable1);
  data_.addTable("PrintSalaryTable1", PrintSalaryTable1);
  data_.addQuery("Query1", Query1);
  data_.addQuery("Query2", Query2);
  data_.addQuery("Query3", Query3);
  data_.checkTables();
}

const ReportLayout& DetailedReport::reportLayout() const {
  return detailedReportLayout();
}

ListReport::ListReport(store::Session& session)
    : SalaryReport(session, {"temp.DB"}),
      SimplePrintTempTable1(session, "temp.DB"),
      Query1(session, "Select Count(PAY) From Temp\nWhere PAY=PAY"),
      Query2(session, "Select Sum(PAY) From Temp\nWhere PAY=PAY") {
  SimplePrintTempTable1.SetIndexFieldNames("NUMBER");
  Query1.SetDataSource(&SimplePrintTempTable1);
  Query2.SetDataSource(&SimplePrintTempTable1);
  data_.addTable("SimplePrintTempTable1", SimplePrintTempTable1);
  data_.addQuery("Query1", Query1);
  data_.addQuery("Query2", Query2);
  data_.checkTables();
}

const ReportLayout& ListReport::reportLayout() const {
  return listReportLayout();
}

QByteArray renderPdf(SalaryReport& report, int* pages, QDate today) {
  PdfPainting painting(report.reportLayout());
  const int n = report.render(painting, today);
  QByteArray document = painting.finish();
  if (pages) *pages = n;
  return document;
}

int saveReportPdf(SalaryReport& report, const QString& fileName, QString* warning) {
  int pages = 0;
  const QByteArray bytes = renderPdf(report, &pages);
  const std::filesystem::path target = fileName.toStdString();
  store::FileReplacement file(target);
  file.write(std::string_view(bytes.data(), bytes.size()));
  const bool synced = file.commit() == store::FileReplacement::Synced::Yes;
  if (warning) {
    *warning = synced ? QString()
                      : QString::fromStdString(store::FileReplacement::unconfirmedWarning(target));
  }
  return pages;
}

std::unique_ptr<SalaryReport> reportOfStyle(store::Session& session, const std::string& style) {
  if (style == "detailed") return std::make_unique<DetailedReport>(session);
  return std::make_unique<ListReport>(session);
}

}  // namespace reports
