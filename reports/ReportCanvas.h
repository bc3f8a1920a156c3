#pragma once
// ReportCanvas: what a laid-out report is painted on, page by page: a PDF file, a printer, the
// preview window, or (in tests) a record of the texts each page received.
//
// Positions are millimetres from the top-left corner of the printable area (the page inside
// its margins); the text's top edge stands at `y`.

#include <QColor>
#include <QFont>
#include <QString>

namespace reports {

struct PlacedText {
  QString band;
  QString element;
  double x = 0;
  double y = 0;
  QFont font;
  QColor color;
  QString text;
};

class ReportCanvas {
 public:
  virtual ~ReportCanvas() = default;

  // Pages are numbered from 1, and each is ended before the next begins.
  virtual void beginPage(int number) = 0;
  virtual void drawText(const PlacedText& text) = 0;
  virtual void endPage() = 0;

  // The width of `text` in `font`, in millimetres; by default as it prints at 1200 dots per
  // inch, so that centring does not depend on the screen.
  virtual double textWidth(const QFont& font, const QString& text) const;
};

}  // namespace reports
