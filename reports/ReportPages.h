#pragma once
// ReportPages: a report's pages for its preview, each painted only when it is shown.
//
// The preview must show the first page at once and hold little whatever the report's length
// (a large company's detailed report has ten thousand pages). So no page is kept: what is kept
// is where each page begins (its WalkPoint), and a page is painted from there whenever it is
// shown. Where the pages begin is found a slice at a time (layOut), reading the rows but
// painting nothing; until the last page is found the number of pages is not known.
//
// Each call reads the report's tables in one snapshot and closes them afterwards, as a whole
// report does. The pages show the tables as they are when each is painted; a row that a page
// began on and that has gone since (a new batch made meanwhile) is told as an error.

#include <QDate>
#include <memory>
#include <vector>

#include "BandReport.h"
#include "ReportCanvas.h"

namespace reports {

class SalaryReport;

class ReportPages {
 public:
  // Finds where the first page begins. Throws store::EngineError.
  explicit ReportPages(SalaryReport& report, QDate today = QDate::currentDate());
  ~ReportPages();

  // Pages whose beginning is known: they can be painted.
  int known() const { return static_cast<int>(points_.size()); }
  // Whether the last page has been found: known() is then the number of pages.
  bool complete() const { return complete_; }

  // Finds where up to `pages` more pages begin. Throws store::EngineError.
  void layOut(int pages);
  // REQUIRES: 1 <= number <= known(). Paints the page. Throws store::EngineError.
  void paint(int number, ReportCanvas& canvas);

 private:
  void found(const WalkPoint& next);

  SalaryReport& report_;
  std::unique_ptr<BandReport> walk_;
  std::vector<WalkPoint> points_;  // where each page begins
  bool complete_ = false;
};

}  // namespace reports
