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
  for (Run& r : runs_) {
    if (r.glyphs.isEmpty()) continue;
    QGlyphRun run;
    run.setRawFont(r.raw);
    run.setGlyphIndexes(r.glyphs);
    run.setPositions(r.positions);
    painter_.setPen(r.color);
    painter_.drawGlyphRun(QPointF(), run);
    r.glyphs.clear();
    r.positions.clear();
  }
}

TextPainter::Run& TextPainter::runOf(const PlacedText& text) {
  for (Run& r : runs_) {
    if (r.color == text.color && r.font == text.font) return r;
  }
  Run& r = runs_.emplace_back();
  r.font = text.font;
  r.color = text.color;
  r.ascent = QFontMetricsF(text.font, &device_).ascent();
  r.raw = QRawFont::fromFont(QFont(text.font, &device_));
  return r;
}

void TextPainter::draw(const PlacedText& text) {
  Run& run = runOf(text);
  const QPointF baseline(text.x * dotsPerMm_, text.y * dotsPerMm_ + run.ascent);
  const QList<quint32> glyphs =
      run.raw.isValid() ? run.raw.glyphIndexesForString(text.text) : QList<quint32>{};
  if (glyphs.isEmpty() || glyphs.contains(0)) {
    flush();
    painter_.setFont(text.font);
    painter_.setPen(text.color);
    painter_.drawText(baseline, text.text);
    return;
  }
  QPointF at = baseline;
  for (const QPointF& advance : run.raw.advancesForGlyphIndexes(glyphs)) {
    run.positions.append(at);
    at += advance;
  }
  run.glyphs.append(glyphs);
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
  return textWidthOn(device_, font, text);
}

double textWidthOn(const QPaintDevice& device, const QFont& font, const QString& text) {
  return QFontMetricsF(font, &device).horizontalAdvance(text) * 25.4 / device.logicalDpiX();
}

}  // namespace reports
