#include "PdfPainting.h"

#include <QBuffer>
#include <QPdfWriter>

#include <algorithm>
#include <utility>

#include "PainterCanvas.h"

namespace reports {

PdfPainting::PdfPainting(const ReportLayout& layout)
    : layout_(layout), measure_(&nowhere_), thread_([this] { paint(); }) {}

PdfPainting::~PdfPainting() {
  stop();
}

void PdfPainting::stop() noexcept {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PdfPainting::beginPage(int number) {
  current_ = Page{number, {}};
}

void PdfPainting::drawText(const PlacedText& text) {
  current_.texts.push_back(text);
}

void PdfPainting::endPage() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kQueuedPages || failure_; });
  if (failure_) std::rethrow_exception(failure_);
  queue_.push_back(std::exchange(current_, Page()));
  lock.unlock();
  changed_.notify_all();
}

double PdfPainting::textWidth(const QFont& font, const QString& text) const {
  return textWidthOn(measure_, font, text);
}

QByteArray PdfPainting::finish() {
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
  }
  changed_.notify_all();
  thread_.join();
  if (failure_) std::rethrow_exception(failure_);
  return std::move(document_);
}

// Waits for the next page; false when there is none to paint.
bool PdfPainting::nextPage(Page& page) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !queue_.empty() || ended_ || abandoned_; });
  if (abandoned_ || queue_.empty()) return false;
  page = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  changed_.notify_all();
  return true;
}

void PdfPainting::paint() {
  try {
    QBuffer buffer(&document_);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(layout_.title);
    writer.setCreator(QStringLiteral("salary"));
    PainterCanvas canvas(writer, layout_);
    std::vector<std::pair<QFont, QFont>> fonts;  // the caller's, and this thread's own copy
    Page page;
    while (nextPage(page)) {
      canvas.beginPage(page.number);
      for (PlacedText& text : page.texts) {
        auto own = std::find_if(fonts.begin(), fonts.end(),
                                [&](const auto& f) { return f.first == text.font; });
        if (own == fonts.end()) {
          QFont copy;
          copy.fromString(text.font.toString());
          own = fonts.insert(fonts.end(), {text.font, copy});
        }
        text.font = own->second;
        canvas.drawText(text);
      }
      canvas.endPage();
    }
    canvas.finish();
  } catch (...) {
    std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
  }
  changed_.notify_all();
}

}  // namespace reports
