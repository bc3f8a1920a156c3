#pragma once
// PainterCanvas: paints a report's pages on a paged device (a PDF writer or a printer) through
// QPainter, in the report's page settings: A4 portrait with its margins, the printable area's
// top-left corner as origin.

#include <QPainter>

#include "ReportCanvas.h"
#include "ReportLayout.h"

class QPagedPaintDevice;

namespace reports {

class PainterCanvas : public ReportCanvas {
 public:
  // Sets the device's page layout from `layout`; painting starts with the first page.
  PainterCanvas(QPagedPaintDevice& device, const ReportLayout& layout);
  // Ends painting (the document is complete once finish() has run or the canvas is gone).
  void finish();

  void beginPage(int number) override;
  void drawText(const PlacedText& text) override;
  void endPage() override {}
  double textWidth(const QFont& font, const QString& text) const override;

 private:
  double dots(double mm) const { return mm * dpi_ / 25.4; }

  QPagedPaintDevice& device_;
  QPainter painter_;
  double dpi_;
  QFont font_;  // the painter's font, and its ascent in dots
  double ascent_ = 0;
};

// A4 portrait with the layout's margins, in millimetres.
void applyPageLayout(QPagedPaintDevice& device, const ReportLayout& layout);

}  // namespace reports
