#include "BitBtn.h"

#include <QDialog>
#include <QStyle>

namespace toolkit {

namespace {

QStyle::StandardPixmap pixmapFor(const QString& name) {
  static const std::pair<const char*, QStyle::StandardPixmap> table[] = {
      {"ok", QStyle::SP_DialogOkButton},
      {"cancel", QStyle::SP_DialogCancelButton},
      {"first", QStyle::SP_MediaSkipBackward},
      {"prior", QStyle::SP_MediaSeekBackward},
      {"next", QStyle::SP_MediaSeekForward},
      {"last", QStyle::SP_MediaSkipForward},
      {"insert", QStyle::SP_FileDialogNewFolder},
      {"edit", QStyle::SP_FileDialogDetailedView},
      {"delete", QStyle::SP_TrashIcon},
      {"post", QStyle::SP_DialogSaveButton},
      {"exit", QStyle::SP_ArrowBack},
      {"enter", QStyle::SP_ArrowForward},
      {"save", QStyle::SP_DriveFDIcon},
      {"print", QStyle::SP_FileIcon},
      {"preview", QStyle::SP_FileDialogContentsView},
      {"user", QStyle::SP_DirHomeIcon},
      {"quit", QStyle::SP_DialogCloseButton},
  };
  for (const auto& [n, p] : table) {
    if (name == QLatin1String(n)) return p;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

BitBtn::BitBtn(QWidget* parent) : QToolButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  setAutoRaise(false);
  connect(this, &QToolButton::clicked, this, [this] {
    emit activated();
    applyModalResult();
  });
}

void BitBtn::setGlyph(const QString& name) {
  glyph_ = name;
  auto p = pixmapFor(name);
  setIcon(p == QStyle::SP_CustomBase ? QIcon() : style()->standardIcon(p));
}

void BitBtn::setGlyphAbove(bool above) {
  setToolButtonStyle(above ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
}

void BitBtn::press() {
  if (isEnabled()) click();
}

void BitBtn::applyModalResult() {
  if (modalResult_ == 0) return;
  if (auto* dialog = qobject_cast<QDialog*>(window()); dialog && dialog->isVisible()) {
    dialog->done(modalResult_);
  }
}

}  // namespace toolkit
