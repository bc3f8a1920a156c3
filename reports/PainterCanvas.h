#pragma once
// PainterCanvas: paints a report's pages on a paged device (a PDF writer or a printer) through
// QPainter, in the report's page settings: A4 portrait with its margins, the printable area's
// top-left corner as origin. TextPainter, which it paints with, also paints the preview's page
// on screen.

#include <QPainter>
#include <QRawFont>

#include <vector>

#include "ReportCanvas.h"
#include "ReportLayout.h"

class QPagedPaintDevice;

namespace reports {

// Paints placed texts with a painter whose origin is the printable area's top-left corner, on
// a device of `dotsPerMm`.
//
// A text is painted as a run of glyphs taken straight from its font: each character's glyph
// from the font's character map and its advance, the font's raw form made once per font.
// Shaping every text anew (HarfBuzz, through QPainter::drawText) was most of the time a large
// report took, and these texts (digits, Latin letters, Chinese characters) need no shaping. A
// text with a character its font lacks is painted through drawText, whose font fallback finds
// a face for it. The texts of one font and colour are gathered into one run until flush(), and
// the runs painted in the order their first texts came: a paged device pays for every run it is
// given, whatever its length, and a report's texts never overlap, so the order they are
// painted in does not show.
class TextPainter {
 public:
  TextPainter(QPainter& painter, QPaintDevice& device, double dotsPerMm);
  void draw(const PlacedText& text);
  // Paints what is gathered. REQUIRES: called before the page ends and before the painter is
  // used for anything else.
  void flush();

 private:
  struct Run {
    QFont font;  // its ascent in dots, and its raw form at the device's dpi
    QColor color;
    double ascent = 0;
    QRawFont raw;
    QList<quint32> glyphs;  // gathered, in device dots from the origin
    QList<QPointF> positions;
  };
  Run& runOf(const PlacedText& text);

  QPainter& painter_;
  QPaintDevice& device_;
  double dotsPerMm_;
  std::vector<Run> runs_;  // one for each font and colour met: a report has a handful
};

class PainterCanvas : public ReportCanvas {
 public:
  // Sets the device's page layout from `layout`; painting starts with the first page.
  PainterCanvas(QPagedPaintDevice& device, const ReportLayout& layout);
  // Ends painting (the document is complete once finish() has run or the canvas is gone).
  void finish();

  void beginPage(int number) override;
  void drawText(const PlacedText& text) override { texts_.draw(text); }
  void endPage() override { texts_.flush(); }
  double textWidth(const QFont& font, const QString& text) const override;

 private:
  QPagedPaintDevice& device_;
  QPainter painter_;
  double dpi_;
  TextPainter texts_;
};

// The width of `text` in `font` on `device`, in millimetres.
double textWidthOn(const QPaintDevice& device, const QFont& font, const QString& text);

// A4 portrait with the layout's margins, in millimetres.
void applyPageLayout(QPagedPaintDevice& device, const ReportLayout& layout);

}  // namespace reports
