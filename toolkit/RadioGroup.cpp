#include "RadioGroup.h"

#include <QRadioButton>

namespace toolkit {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {}

void RadioGroup::setItems(const QStringList& items) {
  items_ = items;
  rebuild();
}

void RadioGroup::setColumns(int columns) {
  columns_ = columns < 1 ? 1 : columns;
  place();
}

int RadioGroup::ItemIndex() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

void RadioGroup::setItemIndex(int index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    // An exclusive button cannot be unchecked directly: lift the exclusivity for a moment.
    buttons_[i]->setAutoExclusive(false);
    buttons_[i]->setChecked(static_cast<int>(i) == index);
    buttons_[i]->setAutoExclusive(true);
  }
}

void RadioGroup::rebuild() {
  for (QRadioButton* b : buttons_) delete b;
  buttons_.clear();
  for (const QString& item : items_) {
    auto* b = new QRadioButton(item, this);
    b->setAccessibleName(item);
    connect(b, &QRadioButton::clicked, this, &RadioGroup::clicked);
    buttons_.push_back(b);
  }
  place();
}

// The buttons fill the frame below its caption column by column, each row as high as the
// space allows, as the classic radio group lays them out.
void RadioGroup::place() {
  if (buttons_.empty()) return;
  const int top = fontMetrics().height();
  const int margin = 8;
  const int rows = static_cast<int>((buttons_.size() + columns_ - 1) / columns_);
  const int columnWidth = (width() - 2 * margin) / columns_;
  const int rowHeight = (height() - top - margin / 2) / rows;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const int column = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    buttons_[i]->setGeometry(margin + column * columnWidth, top + row * rowHeight, columnWidth,
                             rowHeight);
  }
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  place();
}

}  // namespace toolkit
