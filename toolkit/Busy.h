#pragma once
// Busy: while a handler does work that takes seconds on a large table (building a batch,
// verifying a backup), the wait cursor shows, and the button that started it cannot be
// pressed again. Both are undone when the object goes, however the handler ends.

class QWidget;

namespace toolkit {

class Busy {
 public:
  explicit Busy(QWidget* button);
  ~Busy();
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  QWidget* button_;
};

}  // namespace toolkit
