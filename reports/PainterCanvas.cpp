#include "PainterCanvas.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>

#include "store/EngineError.h"

namespace reports {

void applyPageLayout(QPagedPaintDevice& device, const ReportLayout& layout) {
  const double m = layout.margin;
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(m, m, m, m), QPageLayout::Millimeter));
}

PainterCanvas::PainterCanvas(QPagedPaintDevice& device, const ReportLayout& layout)
    : device_(device), dpi_(device.logicalDpiX()) {
  applyPageLayout(device, layout);
}

void PainterCanvas::finish() {
  if (painter_.isActive()) painter_.end();
}

void PainterCanvas::beginPage(int number) {
  if (number == 1) {
    if (!painter_.begin(&device_)) {
      throw store::EngineError::of(store::EngineError::Code::General, {}, {}, "無法開始列印報表");
    }
    return;
  }
  device_.newPage();
}

void PainterCanvas::drawText(const PlacedText& text) {
  if (text.font != font_) {
    font_ = text.font;
    painter_.setFont(font_);
    ascent_ = QFontMetricsF(font_, &device_).ascent();
  }
  if (text.color != painter_.pen().color()) painter_.setPen(text.color);
  painter_.drawText(QPointF(dots(text.x), dots(text.y) + ascent_), text.text);
}

double PainterCanvas::textWidth(const QFont& font, const QString& text) const {
  return QFontMetricsF(font, &device_).horizontalAdvance(text) * 25.4 / dpi_;
}

}  // namespace reports
