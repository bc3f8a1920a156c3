#pragma once
// BandReport: lays out a ReportLayout over its data sets and paints the pages on a canvas.
//
// Order on the page: the page header, on the first page the title, the column header, then
// the bands of the walk (detail; for each master row with sub-detail rows the sub-detail
// header, its rows and its footer; after the last row the summary), each band followed by its
// child bands. A band that does not fit above the page footer ends the page: the page footer
// is painted at the foot of the printable area, and a new page begins with its header bands.
// The last page ends with the page footer too.
//
// A report whose master data set is empty still gives one page, with its headers, summary
// and footer: the clerk sees an empty report, not nothing.

#include <QDate>

#include "ReportCanvas.h"
#include "ReportData.h"
#include "ReportLayout.h"

namespace reports {

class BandReport {
 public:
  BandReport(const ReportLayout& layout, ReportData& data, ReportCanvas& canvas,
             QDate today = QDate::currentDate());

  // Walks the data and paints every page; returns the number of pages. Throws
  // store::EngineError when the data cannot be read (pages painted so far stay painted).
  int run();

 private:
  void beginPage();
  void endPage();
  void print(const ReportBand& band);
  void printWithChildren(const ReportBand& band);
  void printAll(BandType type);
  void paint(const ReportBand& band, double top);
  void walkSubDetail();
  const ReportBand* pageFooter() const;

  const ReportLayout& layout_;
  ReportData& data_;
  ReportCanvas& canvas_;
  QDate today_;
  int page_ = 0;
  double y_ = 0;
  double bodyTop_ = 0;  // below the page's header bands
};

// The font an element is printed in.
QFont fontOf(const ReportFont& font);

}  // namespace reports
