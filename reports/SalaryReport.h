#pragma once
// SalaryReport: one of the two transfer reports with its table objects and queries, and its
// layout; widget-free, so that salary-admin and the tests build the same pages as the program.
// Its tables are opened when it is created (a missing file fails the creation) and at every
// build, which reads them afresh, and are closed in between.
//
// DetailedReport (the data of QuickReport1): PrintTable1 on basic.DB in number order, and as
// its detail PrintSalaryTable1 on temp.DB in key order; Query1 the employee's total, re-run for
// each employee from the index on NUMBER; Query2 and Query3 the batch's total and row count.
// ListReport (the data of SimpleQuickRep2): SimplePrintTempTable1 on temp.DB in key order;
// Query1 the row count, Query2 the total.
//
// Construction throws store::EngineError when a table file is missing.

#include <QByteArray>
#include <QDate>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ReportCanvas.h"
#include "ReportData.h"
#include "ReportLayout.h"
#include "store/Query.h"
#include "store/Table.h"

namespace store {
class Session;
}

namespace reports {

class BandReport;

class SalaryReport {
 public:
  virtual ~SalaryReport() = default;
  virtual const ReportLayout& reportLayout() const = 0;
  // Paints every page; returns the number of pages.
  int render(ReportCanvas& canvas, QDate today = QDate::currentDate());
  // A walk of the report a page at a time (ReportPages), over its data sets; used within
  // readTables.
  std::unique_ptr<BandReport> pageWalk(QDate today);
  // Runs `work` with the report's tables read in one snapshot, and closes them afterwards.
  void readTables(const std::function<void()>& work);

 protected:
  SalaryReport(store::Session& session, std::vector<std::string> files);
  ReportData data_;

 private:
  store::Session& session_;
  std::vector<std::string> files_;
};

class DetailedReport : public SalaryReport {
 public:
  explicit DetailedReport(store::Session& session);
  const ReportLayout& reportLayout() const override;

  store::Table PrintTable1;
  store::Table PrintSalaryTable1;
  store::Query Query1;
  store::Query Query2;
  store::Query Query3;
};

class ListReport : public SalaryReport {
 public:
  explicit ListReport(store::Session& session);
  const ReportLayout& reportLayout() const override;

  store::Table SimplePrintTempTable1;
  store::Query Query1;
  store::Query Query2;
};

// The report of a style as salary-admin names it: "detailed", or else the list report.
std::unique_ptr<SalaryReport> reportOfStyle(store::Session& session, const std::string& style);

// The report as a PDF file's bytes (A4, fonts embedded, text extractable). `pages` receives
// the number of pages.
QByteArray renderPdf(SalaryReport& report, int* pages = nullptr,
                     QDate today = QDate::currentDate());

// Saves the report as a PDF under `fileName`, atomically (as the transfer file is saved): an
// earlier file of that name stays whole when anything fails. Returns the number of pages and
// sets `warning` when the file is saved but its folder could not be synced. Throws
// store::EngineError.
int saveReportPdf(SalaryReport& report, const QString& fileName, QString* warning = nullptr);

}  // namespace reports
