#include "PdfPainting.h"

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
  current_ = Page();
  current_.number = number;
}

void PdfPainting::drawText(const PlacedText& text) {
  auto font = std::find(fonts_.begin(), fonts_.end(), text.font);
  if (font == fonts_.end()) {
    font = fonts_.insert(fonts_.end(), text.font);
    current_.newFonts.append(text.font.toString());
  }
  current_.texts.push_back(
      {text.x, text.y, static_cast<std::size_t>(font - fonts_.begin()), text.color, text.text});
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
    std::vector<QFont> fonts;  // this thread's own
    Page page;
    while (nextPage(page)) {
      for (const QString& description : page.newFonts) fonts.emplace_back().fromString(description);
      canvas.beginPage(page.number);
      PlacedText placed;
      for (Text& text : page.texts) {
        placed.x = text.x;
        placed.y = text.y;
        placed.font = fonts.at(text.font);
        placed.color = text.color;
        placed.text = std::move(text.text);
        canvas.drawText(placed);
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
