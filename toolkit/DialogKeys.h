#pragma once
// DialogKeys: Enter and Esc on a form, as the form's buttons declare them.
//
// Esc presses the first button with cancel set, in the form's control order, that is shown
// and enabled (on a page control, the shown page's buttons only). Enter presses the focused
// button when a button has the focus, and otherwise the first shown, enabled button with
// defaultButton set. When no such button exists the key goes on as usual.

#include <QObject>

class QWidget;

namespace toolkit {

class BitBtn;

class DialogKeys : public QObject {
  Q_OBJECT

 public:
  // Installs the keys on `form` (a top-level window); owned by the form.
  static DialogKeys* install(QWidget* form);

  // The button that Esc or Enter would press now, or nullptr.
  BitBtn* cancelButton() const;
  BitBtn* defaultButton() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit DialogKeys(QWidget* form);
  QWidget* form_;
};

}  // namespace toolkit
