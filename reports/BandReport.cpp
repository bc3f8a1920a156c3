#include "BandReport.h"

#include "store/EngineError.h"

namespace reports {

namespace {

using Phase = WalkPoint::Phase;

BandType typeOf(Phase phase) {
  switch (phase) {
    case Phase::Detail:
      return BandType::Detail;
    case Phase::SubHeader:
      return BandType::SubDetailHeader;
    case Phase::SubDetail:
      return BandType::SubDetail;
    case Phase::SubFooter:
      return BandType::SubDetailFooter;
    default:
      return BandType::Summary;
  }
}

// A band and, after it, its child bands and theirs.
void withChildren(const ReportLayout& layout, const ReportBand& band,
                  std::vector<const ReportBand*>& out) {
  out.push_back(&band);
  for (const auto& child : layout.bands)
    if (child.type == BandType::Child && child.parent == band.name)
      withChildren(layout, child, out);
}

bool samePlace(const WalkPoint& a, const WalkPoint& b) {
  return a.phase == b.phase && a.band == b.band && a.master == b.master && a.sub == b.sub;
}

}  // namespace

QFont fontOf(const ReportFont& font) {
  QFont f(font.family);
  f.setPointSizeF(font.points);
  f.setBold(font.bold);
  return f;
}

BandReport::BandReport(const ReportLayout& layout, ReportData& data, QDate today)
    : layout_(layout), data_(data), today_(today) {
  for (Phase p :
       {Phase::Detail, Phase::SubHeader, Phase::SubDetail, Phase::SubFooter, Phase::Summary}) {
    for (const auto& b : layout_.bands)
      if (b.type == typeOf(p)) withChildren(layout_, b, groups_[static_cast<int>(p)]);
  }
  for (const auto& b : layout_.bands) {
    if (b.type == BandType::PageFooter) pageFooter_ = &b;
    for (const auto& e : b.elements) fonts_.emplace(&e, fontOf(e.font));
  }
}

const std::vector<const ReportBand*>& BandReport::bands(Phase phase) const {
  return groups_[static_cast<int>(phase)];
}

int BandReport::run(ReportCanvas& canvas) {
  int page = 0;
  WalkPoint at = start();
  do {
    at = paintPage(canvas, ++page, at);
  } while (!at.done());
  return page;
}

WalkPoint BandReport::start() {
  WalkPoint at;
  data_.First(layout_.master);
  enterMasterRow(at);
  positioned_ = true;
  standing_ = at;
  return at;
}

WalkPoint BandReport::paintPage(ReportCanvas& canvas, int number, const WalkPoint& from) {
  return walkPage(&canvas, number, from);
}

WalkPoint BandReport::layoutPage(int number, const WalkPoint& from) {
  return walkPage(nullptr, number, from);
}

WalkPoint BandReport::walkPage(ReportCanvas* canvas, int number, WalkPoint at) {
  restore(at);
  positioned_ = false;  // until this page is walked whole
  beginPage(canvas, number);
  const double bottom = layout_.printableHeight() - (pageFooter_ ? pageFooter_->height : 0);
  while (!at.done()) {
    const ReportBand& band = *bands(at.phase)[at.band];
    // A band taller than a whole page is painted where it starts rather than pushing pages
    // out without end.
    if (y_ + band.height > bottom + 1e-9 && y_ > bodyTop_) break;
    paint(canvas, band, y_, number);
    y_ += band.height;
    advance(at);
  }
  if (pageFooter_)
    paint(canvas, *pageFooter_, layout_.printableHeight() - pageFooter_->height, number);
  if (canvas) canvas->endPage();
  positioned_ = true;
  standing_ = at;
  return at;
}

// Puts the data sets on the rows of `at`, unless they stand there already.
void BandReport::restore(const WalkPoint& at) {
  if (positioned_ && samePlace(at, standing_)) return;
  if (at.phase == Phase::Summary || at.done()) return;  // the summary reads only queries
  data_.seek(layout_.master, at.master);
  if (at.phase != Phase::Detail && !layout_.subDetail.isEmpty()) {
    data_.seek(layout_.subDetail, at.sub);
  }
}

// The next band of the walk, moving the data sets as the walk goes on to other rows.
void BandReport::advance(WalkPoint& at) {
  if (++at.band < static_cast<int>(bands(at.phase).size())) return;
  at.band = 0;
  switch (at.phase) {
    case Phase::Detail:
      if (!layout_.subDetail.isEmpty()) {
        data_.First(layout_.subDetail);
        if (!data_.Eof(layout_.subDetail)) {
          at.sub = data_.position(layout_.subDetail);
          at.phase = Phase::SubHeader;
          if (bands(at.phase).empty()) advance(at);
          return;
        }
      }
      break;
    case Phase::SubHeader:
      at.phase = Phase::SubDetail;
      if (bands(at.phase).empty()) advance(at);
      return;
    case Phase::SubDetail:
      data_.Next(layout_.subDetail);
      if (!data_.Eof(layout_.subDetail)) {
        at.sub = data_.position(layout_.subDetail);
        if (bands(at.phase).empty()) advance(at);
        return;
      }
      at.phase = Phase::SubFooter;
      if (bands(at.phase).empty()) advance(at);
      return;
    case Phase::SubFooter:
      break;
    case Phase::Summary:
    case Phase::End:
      at.phase = Phase::End;
      return;
  }
  // The master row is done: the next one, or the summary after the last.
  data_.Next(layout_.master);
  enterMasterRow(at);
}

// Enters the master row the data set stands on, or the summary when there is none.
void BandReport::enterMasterRow(WalkPoint& at) {
  at.band = 0;
  at.sub.clear();
  if (data_.Eof(layout_.master)) {
    at.master.clear();
    at.phase = bands(Phase::Summary).empty() ? Phase::End : Phase::Summary;
    return;
  }
  at.master = data_.position(layout_.master);
  at.phase = Phase::Detail;
  if (bands(at.phase).empty()) advance(at);
}

void BandReport::beginPage(ReportCanvas* canvas, int number) {
  y_ = 0;
  if (canvas) canvas->beginPage(number);
  for (BandType t : {BandType::PageHeader, BandType::Title, BandType::ColumnHeader}) {
    if (t == BandType::Title && number > 1) continue;
    for (const auto& b : layout_.bands)
      if (b.type == t) {
        paint(canvas, b, y_, number);
        y_ += b.height;
      }
  }
  bodyTop_ = y_;
}

// The centred texts are the same on every page: each is measured once.
double BandReport::widthOf(const ReportCanvas& canvas, const QFont& font, const QString& text) {
  const auto key = std::make_pair(font.key(), text);
  auto it = widths_.find(key);
  if (it == widths_.end()) it = widths_.emplace(key, canvas.textWidth(font, text)).first;
  return it->second;
}

void BandReport::paint(ReportCanvas* canvas, const ReportBand& band, double top, int page) {
  if (!canvas) return;
  data_.openQueries(band);
  for (const auto& e : band.elements) {
    PlacedText t;
    t.band = band.name;
    t.element = e.name;
    t.font = fonts_.at(&e);
    t.color = e.font.color;
    switch (e.kind) {
      case ReportElement::Kind::Label:
        t.text = e.caption;
        break;
      case ReportElement::Kind::DBText:
        t.text = data_.text(e);
        break;
      case ReportElement::Kind::SysData:
        t.text = e.system == SystemData::Date ? dateText(today_) : QString::number(page);
        break;
    }
    t.x = e.centred ? (layout_.printableWidth() - widthOf(*canvas, t.font, t.text)) / 2 : e.left;
    t.y = top + e.top;
    if (!t.text.isEmpty()) canvas->drawText(t);
  }
  data_.closeQueries(band);
}

}  // namespace reports
