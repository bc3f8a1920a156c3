#include "PainterCanvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPagedPaintDevice>

#include "store/EngineError.h"

namespace reports {

void applyPageLayout(QPagedPaintDevice& device, const ReportLayout& layout) {
  const double m = layout.margin;
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(m, m, m, m), QPageLayout::Millimeter));
}

TextPainter::TextPainter(QPainter& painter, QPaintDevice& device, double dotsPerMm)
    : painter_(painter), device_(device), dotsPerMm_(dotsPerMm) {}

void TextPainter::flush() {
  if (glyphs_.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(raw_);
  run.setGlyphIndexes(glyphs_);
  run.setPositions(positions_);
  painter_.drawGlyphRun(QPointF(), run);
  glyphs_.clear();
  positions_.clear();
}

void TextPainter::draw(const PlacedText& text) {
  if (!hasFont_ || text.font != font_ || text.color != painter_.pen().color()) flush();
  if (!hasFont_ || text.font != font_) {
    font_ = text.font;
    hasFont_ = true;
    painter_.setFont(font_);
    ascent_ = QFontMetricsF(font_, &device_).ascent();
    raw_ = QRawFont::fromFont(QFont(font_, &device_));
  }
  if (text.color != painter_.pen().color()) painter_.setPen(text.color);
  const QPointF baseline(text.x * dotsPerMm_, text.y * dotsPerMm_ + ascent_);
  const QList<quint32> glyphs =
      raw_.isValid() ? raw_.glyphIndexesForString(text.text) : QList<quint32>{};
  if (glyphs.isEmpty() || glyphs.contains(0)) {
    flush();
    painter_.drawText(baseline, text.text);
    return;
  }
  QPointF at = baseline;
  for (const QPointF& advance : raw_.advancesForGlyphIndexes(glyphs)) {
    positions_.append(at);
    at += advance;
  }
  glyphs_.append(glyphs);
}

PainterCanvas::PainterCanvas(QPagedPaintDevice& device, const ReportLayout& layout)
    : device_(device), dpi_(device.logicalDpiX()), texts_(painter_, device, dpi_ / 25.4) {
  applyPageLayout(device, layout);
}

void PainterCanvas::finish() {
  if (!painter_.isActive()) return;
  texts_.flush();
  painter_.end();
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

double PainterCanvas::textWidth(const QFont& font, const QString& text) const {
  return QFontMetricsF(font, &device_).horizontalAdvance(text) * 25.4 / dpi_;
}

}  // namespace reports
