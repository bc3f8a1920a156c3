#include "BandReport.h"

namespace reports {

QFont fontOf(const ReportFont& font) {
  QFont f(font.family);
  f.setPointSizeF(font.points);
  f.setBold(font.bold);
  return f;
}

BandReport::BandReport(const ReportLayout& layout, ReportData& data, ReportCanvas& canvas,
                       QDate today)
    : layout_(layout), data_(data), canvas_(canvas), today_(today) {}

int BandReport::run() {
  page_ = 0;
  beginPage();
  for (data_.First(layout_.master); !data_.Eof(layout_.master); data_.Next(layout_.master)) {
    printAll(BandType::Detail);
    if (!layout_.subDetail.isEmpty()) walkSubDetail();
  }
  printAll(BandType::Summary);
  endPage();
  return page_;
}

void BandReport::walkSubDetail() {
  data_.First(layout_.subDetail);
  if (data_.Eof(layout_.subDetail)) return;
  printAll(BandType::SubDetailHeader);
  for (; !data_.Eof(layout_.subDetail); data_.Next(layout_.subDetail)) {
    printAll(BandType::SubDetail);
  }
  printAll(BandType::SubDetailFooter);
}

const ReportBand* BandReport::pageFooter() const {
  for (const auto& b : layout_.bands)
    if (b.type == BandType::PageFooter) return &b;
  return nullptr;
}

void BandReport::beginPage() {
  ++page_;
  y_ = 0;
  canvas_.beginPage(page_);
  for (BandType t : {BandType::PageHeader, BandType::Title, BandType::ColumnHeader}) {
    if (t == BandType::Title && page_ > 1) continue;
    for (const auto& b : layout_.bands)
      if (b.type == t) {
        paint(b, y_);
        y_ += b.height;
      }
  }
  bodyTop_ = y_;
}

void BandReport::endPage() {
  if (const ReportBand* footer = pageFooter()) {
    paint(*footer, layout_.printableHeight() - footer->height);
  }
  canvas_.endPage();
}

void BandReport::printAll(BandType type) {
  for (const auto& b : layout_.bands)
    if (b.type == type) printWithChildren(b);
}

void BandReport::printWithChildren(const ReportBand& band) {
  print(band);
  for (const auto& child : layout_.bands)
    if (child.type == BandType::Child && child.parent == band.name) printWithChildren(child);
}

void BandReport::print(const ReportBand& band) {
  const ReportBand* footer = pageFooter();
  const double bottom = layout_.printableHeight() - (footer ? footer->height : 0);
  // A band taller than a whole page is painted where it starts rather than pushing pages
  // out without end.
  if (y_ + band.height > bottom + 1e-9 && y_ > bodyTop_) {
    endPage();
    beginPage();
  }
  paint(band, y_);
  y_ += band.height;
}

void BandReport::paint(const ReportBand& band, double top) {
  data_.openQueries(band);
  for (const auto& e : band.elements) {
    PlacedText t;
    t.band = band.name;
    t.element = e.name;
    t.font = fontOf(e.font);
    t.color = e.font.color;
    switch (e.kind) {
      case ReportElement::Kind::Label:
        t.text = e.caption;
        break;
      case ReportElement::Kind::DBText:
        t.text = data_.text(e);
        break;
      case ReportElement::Kind::SysData:
        t.text = e.system == SystemData::Date ? dateText(today_) : QString::number(page_);
        break;
    }
    t.x = e.centred ? (layout_.printableWidth() - canvas_.textWidth(t.font, t.text)) / 2 : e.left;
    t.y = top + e.top;
    if (!t.text.isEmpty()) canvas_.drawText(t);
  }
  data_.closeQueries(band);
}

}  // namespace reports
