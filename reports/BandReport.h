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
//
// The walk goes a page at a time, and where a page begins is a WalkPoint: the band about to be
// printed and the rows the data sets stand on, by their order keys. A page can therefore be
// painted again, or on its own, from its point (the preview paints only the pages it shows),
// and the points of all pages can be found without painting anything (layoutPage), which reads
// the rows but neither formats nor paints a text.

#include <QDate>
#include <map>
#include <utility>
#include <vector>

#include "ReportCanvas.h"
#include "ReportData.h"
#include "ReportLayout.h"
#include "store/Value.h"

namespace reports {

struct WalkPoint {
  enum class Phase { Detail, SubHeader, SubDetail, SubFooter, Summary, End };
  Phase phase = Phase::End;
  int band = 0;                      // within the bands of the phase, children included
  std::vector<store::Value> master;  // the master row (Detail to SubFooter)
  std::vector<store::Value> sub;     // the sub-detail row (SubHeader to SubFooter)
  bool done() const { return phase == Phase::End; }
};

class BandReport {
 public:
  BandReport(const ReportLayout& layout, ReportData& data, QDate today = QDate::currentDate());

  // Walks the data and paints every page; returns the number of pages. Throws
  // store::EngineError when the data cannot be read (pages painted so far stay painted).
  int run(ReportCanvas& canvas);

  // Where the first page begins. Reads the first master row.
  WalkPoint start();
  // Paints page `number` from `from` and returns where the next page begins (done() after the
  // last page). Throws store::EngineError; a row of `from` that is gone (the data changed
  // since) is told so.
  WalkPoint paintPage(ReportCanvas& canvas, int number, const WalkPoint& from);
  // The same without painting: where the page after the one beginning at `from` begins.
  WalkPoint layoutPage(int number, const WalkPoint& from);
  // The data sets were closed or moved by others since the last page: the next page seeks the
  // rows of its point.
  void forget() { positioned_ = false; }

 private:
  WalkPoint walkPage(ReportCanvas* canvas, int number, WalkPoint at);
  void restore(const WalkPoint& at);
  void advance(WalkPoint& at);
  void enterMasterRow(WalkPoint& at);
  void beginPage(ReportCanvas* canvas, int number);
  void paint(ReportCanvas* canvas, const ReportBand& band, double top, int page);
  const std::vector<const ReportBand*>& bands(WalkPoint::Phase phase) const;
  double widthOf(const ReportCanvas& canvas, const QFont& font, const QString& text);

  const ReportLayout& layout_;
  ReportData& data_;
  QDate today_;
  std::vector<const ReportBand*> groups_[5];  // the bands of each phase but End, in order
  const ReportBand* pageFooter_ = nullptr;
  double y_ = 0;
  double bodyTop_ = 0;       // below the page's header bands
  bool positioned_ = false;  // the data sets stand where the last walk ended
  WalkPoint standing_;
  std::map<std::pair<QString, QString>, double> widths_;  // by font key and text
  std::map<const ReportElement*, QFont> fonts_;           // each element's, made once
};

// The font an element is printed in: bold, as every element of the layouts is. "Courier New"
// (Liberation Mono) has a bold face. The Chinese faces (AR PL UMing for "新細明體", AR PL UKai
// for "標楷體") have none, and fontconfig tells Qt to embolden them: on screen, on the printer and
// in the PDF, where each glyph is painted twice a hair apart, the second copy marked as no text.
// (Noto Serif CJK TC has a real bold Ming face, but Qt's PDF writer maps a glyph back to the
// lowest code point that shows it, and Noto CJK shows the Kangxi radicals with the ideographs'
// glyphs: 日, 月, 金, 黃 would be copied and found in the PDF as ⽇, ⽉, ⾦, ⿈.)
QFont fontOf(const ReportFont& font);

}  // namespace reports
