#include "LinesMemo.h"

#include <QAbstractListModel>
#include <vector>

#include "store/Cp950.h"

namespace toolkit {

class LinesMemo::Lines : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void setBytes(std::shared_ptr<const std::string> bytes) {
    beginResetModel();
    bytes_ = bytes ? std::move(bytes) : std::make_shared<const std::string>();
    starts_.clear();
    const std::string& text = *bytes_;
    for (std::size_t at = 0; at < text.size();) {
      starts_.push_back(at);
      const std::size_t end = text.find('\n', at);
      at = end == std::string::npos ? text.size() : end + 1;
    }
    endResetModel();
  }

  const std::string& bytes() const { return *bytes_; }

  QString line(int index) const {
    const std::size_t begin = starts_.at(index);
    std::size_t end = index + 1 < rowCount() ? starts_[index + 1] : bytes_->size();
    while (end > begin && ((*bytes_)[end - 1] == '\n' || (*bytes_)[end - 1] == '\r')) --end;
    return QString::fromStdString(
        store::cp950::decode(std::string_view(*bytes_).substr(begin, end - begin)));
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(starts_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return line(index.row());
  }

 private:
  std::shared_ptr<const std::string> bytes_ = std::make_shared<const std::string>();
  std::vector<std::size_t> starts_;
};

LinesMemo::LinesMemo(QWidget* parent) : QListView(parent), lines_(new Lines(this)) {
  setModel(lines_);
  // Every line is one row of the same height: the view lays out only what it shows.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

LinesMemo::~LinesMemo() = default;

void LinesMemo::setBytes(std::shared_ptr<const std::string> bytes) {
  lines_->setBytes(std::move(bytes));
}

const std::string& LinesMemo::bytes() const {
  return lines_->bytes();
}

int LinesMemo::lineCount() const {
  return lines_->rowCount();
}

QString LinesMemo::line(int index) const {
  return lines_->line(index);
}

}  // namespace toolkit
