#pragma once
// RadioGroup: a captioned frame of radio buttons laid out in columns, one chosen at most, and
// ItemIndex the position of the chosen one (-1 while none is). Each button's caption is one
// item; the group is found by its caption, each button by its item.

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

namespace toolkit {

class RadioGroup : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(QStringList items READ items WRITE setItems)
  Q_PROPERTY(int columns READ columns WRITE setColumns)

 public:
  explicit RadioGroup(QWidget* parent = nullptr);

  QStringList items() const { return items_; }
  void setItems(const QStringList& items);
  int columns() const { return columns_; }
  void setColumns(int columns);

  // The chosen item's position, or -1.
  int ItemIndex() const;
  // Chooses the item at `index`; -1 chooses none.
  void setItemIndex(int index);
  QRadioButton* button(int index) const { return buttons_.at(index); }

 signals:
  // The clerk chose an item.
  void clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void rebuild();
  void place();

  QStringList items_;
  int columns_ = 1;
  std::vector<QRadioButton*> buttons_;
};

}  // namespace toolkit
