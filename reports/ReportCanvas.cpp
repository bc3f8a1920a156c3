#include "ReportCanvas.h"

#include <QFontMetricsF>
#include <QImage>

namespace reports {

namespace {

constexpr int kMeasureDpi = 1200;

const QImage& measureDevice() {
  static const QImage image = [] {
    QImage i(1, 1, QImage::Format_Mono);
    const int dotsPerMetre = qRound(kMeasureDpi / 0.0254);
    i.setDotsPerMeterX(dotsPerMetre);
    i.setDotsPerMeterY(dotsPerMetre);
    return i;
  }();
  return image;
}

}  // namespace

double ReportCanvas::textWidth(const QFont& font, const QString& text) const {
  const QFontMetricsF metrics(font, &measureDevice());
  return metrics.horizontalAdvance(text) * 25.4 / kMeasureDpi;
}

}  // namespace reports
