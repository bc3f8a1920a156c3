#include "ReportPages.h"

#include "SalaryReport.h"

namespace reports {

ReportPages::ReportPages(SalaryReport& report, QDate today) : report_(report) {
  walk_ = report_.pageWalk(today);
  report_.readTables([&] {
    walk_->forget();
    points_.push_back(walk_->start());
  });
}

ReportPages::~ReportPages() = default;

// `next` begins the page after the last one known.
void ReportPages::found(const WalkPoint& next) {
  if (next.done()) {
    complete_ = true;
  } else {
    points_.push_back(next);
  }
}

void ReportPages::layOut(int pages) {
  if (complete_) return;
  report_.readTables([&] {
    walk_->forget();
    for (int i = 0; i < pages && !complete_; ++i) {
      const int number = known();
      found(walk_->layoutPage(number, points_.back()));
    }
  });
}

void ReportPages::paint(int number, ReportCanvas& canvas) {
  report_.readTables([&] {
    walk_->forget();
    const WalkPoint next = walk_->paintPage(canvas, number, points_.at(number - 1));
    // The page after the last one known begins where this one ended.
    if (number == known()) found(next);
  });
}

}  // namespace reports
