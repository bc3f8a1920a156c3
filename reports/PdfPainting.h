#pragma once
// PdfPainting: a report painted into a PDF document on a thread of its own, while the caller's
// thread walks the report and lays out the pages that follow.
//
// Painting a page on Qt's PDF writer (a text operator for every glyph, drawn twice where Qt
// emboldens, and the page compressed) costs about three times what reading and laying out its
// rows does. With the two on two threads a large report takes about as long as its painting
// alone. The caller gives each page's texts whole, at the page's end, to a queue of a few pages
// (it waits when the queue is full, so memory does not grow with the report); the painting
// thread takes them in order and paints them as PainterCanvas does, so the document is the one
// PainterCanvas would make. Widths are measured on a second PDF writer of the caller's
// thread, as PainterCanvas measures them on its own.
//
// No font object is shared between the threads: a page names each text's font by its number,
// and gives the description of each font met for the first time; the painting thread makes its
// own font from it. A QFont fills a cache of its font engine when it is used, and two threads
// must not fill one cache at once (nor keep its count of users).

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "ReportCanvas.h"
#include "ReportLayout.h"

namespace reports {

class PdfPainting : public ReportCanvas {
 public:
  // Starts the painting thread. `layout` must outlive the object.
  explicit PdfPainting(const ReportLayout& layout);
  // Stops a painting not finished and drops what it painted.
  ~PdfPainting() override;
  PdfPainting(const PdfPainting&) = delete;
  PdfPainting& operator=(const PdfPainting&) = delete;

  void beginPage(int number) override;
  void drawText(const PlacedText& text) override;
  // Throws what the painting thread met, if it has failed.
  void endPage() override;
  double textWidth(const QFont& font, const QString& text) const override;

  // Waits until every page is painted and gives the document. Throws what the painting thread
  // met.
  QByteArray finish();

 private:
  struct Text {
    double x = 0;
    double y = 0;
    std::size_t font = 0;  // its place in the fonts met
    QColor color;
    QString text;
  };
  struct Page {
    int number = 0;
    QStringList newFonts;  // QFont::toString of the fonts first met on this page
    std::vector<Text> texts;
  };
  static constexpr std::size_t kQueuedPages = 16;

  void paint();  // the painting thread
  bool nextPage(Page& page);
  void stop() noexcept;

  const ReportLayout& layout_;
  QBuffer nowhere_;  // the measuring writer's device: it is never painted on
  QPdfWriter measure_;
  Page current_;
  std::vector<QFont> fonts_;  // the fonts met, in the order they were met
  QByteArray document_;  // written by the painting thread, read after it has ended

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Page> queue_;
  bool ended_ = false;      // no page will follow those queued
  bool abandoned_ = false;  // the caller gave up: stop at once
  std::exception_ptr failure_;
  std::thread thread_;  // started last, when everything it uses exists
};

}  // namespace reports
