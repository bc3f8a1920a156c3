#pragma once
// PainterCanvas: paints a report's pages on a paged device (a PDF writer or a printer) through
// QPainter, in the report's page settings: A4 portrait with its margins, the printable area's
// top-left corner as origin. TextPainter, which it paints with, also paints the preview's page
// on screen.

#include <QPainter>
#include <QRawFont>

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
// a face for it. Texts that follow one another in the same font and colour are gathered into one
// run (a band's line of values, say), painted when the font or colour changes or at flush(): a
// paged device pays for every run it is given, whatever its length.
class TextPainter {
 public:
  TextPainter(QPainter& painter, QPaintDevice& device, double dotsPerMm);
  void draw(const PlacedText& text);
  // Paints what is gathered. REQUIRES: called before the page ends and before the painter is
  // used for anything else.
  void flush();

 private:
  QPainter& painter_;
  QPaintDevice& device_;
  double dotsPerMm_;
  QFont font_;  // the painter's font, its ascent in dots, and its raw form at the device's dpi
  double ascent_ = 0;
  QRawFont raw_;
  bool hasFont_ = false;
  QList<quint32> glyphs_;  // gathered, in device dots from the origin
  QList<QPointF> positions_;
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

// A4 portrait with the layout's margins, in millimetres.
void applyPageLayout(QPagedPaintDevice& device, const ReportLayout& layout);

}  // namespace reports
