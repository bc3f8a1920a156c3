#pragma once
// BitBtn: a button with a picture (beside or above its caption), and the properties the forms
// give their buttons:
//  - cancel: Esc presses it (see DialogKeys);
//  - defaultButton: Enter presses it when the focus is not on another button;
//  - modalResult: once the handlers of activated() have run, a modal dialog holding it closes
//    with this result, whatever the handlers did;
//  - glyph: the name of its picture ("ok", "cancel", "first", "prior", "next", "last",
//    "insert", "edit", "delete", "post", "exit", "enter", "save", "print", "preview", "user");
//    a disabled button shows its caption and its picture greyed, whatever colour its form
//    gives the caption, so that a clerk sees at once which buttons work.

#include <QToolButton>

namespace toolkit {

class BitBtn : public QToolButton {
  Q_OBJECT
  Q_PROPERTY(bool cancel READ cancel WRITE setCancel)
  Q_PROPERTY(bool defaultButton READ defaultButton WRITE setDefaultButton)
  Q_PROPERTY(int modalResult READ modalResult WRITE setModalResult)
  Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)
  Q_PROPERTY(bool glyphAbove READ glyphAbove WRITE setGlyphAbove)

 public:
  explicit BitBtn(QWidget* parent = nullptr);

  bool cancel() const { return cancel_; }
  void setCancel(bool on) { cancel_ = on; }
  bool defaultButton() const { return default_; }
  void setDefaultButton(bool on) { default_ = on; }
  int modalResult() const { return modalResult_; }
  void setModalResult(int result) { modalResult_ = result; }
  QString glyph() const { return glyph_; }
  void setGlyph(const QString& name);
  bool glyphAbove() const { return toolButtonStyle() == Qt::ToolButtonTextUnderIcon; }
  void setGlyphAbove(bool above);

  // Presses the button as a click of the user would. Does nothing when it is disabled.
  void press();

 protected:
  void paintEvent(QPaintEvent* event) override;

 signals:
  // A click, by mouse, keyboard or press(): the signal the forms connect their handlers to.
  void activated();

 private:
  void applyModalResult();

  bool cancel_ = false;
  bool default_ = false;
  int modalResult_ = 0;
  QString glyph_;
};

}  // namespace toolkit
