#pragma once
// A canvas that keeps, page by page, the texts a report paints, and reads them back as one line
// per printed band: "QRBand3 000001|王小明|...".

#include <QStringList>
#include <ostream>
#include <vector>

#include "reports/ReportCanvas.h"

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

class RecordingCanvas : public reports::ReportCanvas {
 public:
  void beginPage(int number) override {
    numbers.push_back(number);
    pages.emplace_back();
  }
  void drawText(const reports::PlacedText& text) override { pages.back().push_back(text); }
  void endPage() override {}

  // One line per band printed on `page` (from 0), in printing order.
  QStringList lines(int page) const {
    QStringList out;
    QString band;
    QStringList elements, texts;
    auto flush = [&] {
      if (!texts.isEmpty()) out << band + " " + texts.join('|');
      texts.clear();
      elements.clear();
    };
    for (const auto& t : pages.at(page)) {
      if (t.band != band || elements.contains(t.element)) flush();
      band = t.band;
      elements << t.element;
      texts << t.text;
    }
    flush();
    return out;
  }
  QStringList allLines() const {
    QStringList out;
    for (int p = 0; p < int(pages.size()); ++p) out << lines(p);
    return out;
  }

  std::vector<int> numbers;
  std::vector<std::vector<reports::PlacedText>> pages;
};
