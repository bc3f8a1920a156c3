#pragma once
// LinesMemo: a read-only multi-line box over a text of code page 950 bytes, lines ending in
// CR LF. It keeps the text once, shared, and renders only the lines in view, so a text of a
// million lines costs the box an index of line starts, not a copy in the widget.

#include <QListView>
#include <memory>
#include <string>

class QAbstractListModel;

namespace toolkit {

class LinesMemo : public QListView {
  Q_OBJECT

 public:
  explicit LinesMemo(QWidget* parent = nullptr);
  ~LinesMemo() override;

  // Shows `bytes`; an empty text empties the box.
  void setBytes(std::shared_ptr<const std::string> bytes);
  void clear() { setBytes(nullptr); }
  // The text shown, as given (empty when none).
  const std::string& bytes() const;
  int lineCount() const;
  // A line without its line end, decoded.
  QString line(int index) const;

 private:
  class Lines;
  Lines* lines_;
};

}  // namespace toolkit
