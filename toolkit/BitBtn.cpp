#include "BitBtn.h"

#include <QDialog>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QStylePainter>

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

// The caption colour of every disabled button: the forms colour their captions through style
// sheets, which the style would keep for the disabled state as well.
const QColor kDisabledCaption(128, 128, 128);

// A picture in light grey: the style's own disabled mode leaves some pictures almost unchanged.
QPixmap greyed(const QPixmap& picture) {
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = 160 + qGray(line[x]) * 80 / 255;
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
    }
  }
  QPixmap result = QPixmap::fromImage(image);
  result.setDevicePixelRatio(picture.devicePixelRatio());
  return result;
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

void BitBtn::paintEvent(QPaintEvent* event) {
  if (isEnabled()) {
    QToolButton::paintEvent(event);
    return;
  }
  QStyleOptionToolButton option;
  initStyleOption(&option);
  QStyleOptionToolButton bevel = option;
  bevel.text.clear();
  bevel.icon = QIcon();
  QStylePainter painter(this);
  painter.drawComplexControl(QStyle::CC_ToolButton, bevel);

  // The picture and the caption laid out as the style lays them out for an enabled button.
  QRect area = style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, this);
  const int margin = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  area.adjust(margin, margin, -margin, -margin);
  QRect textArea = area;
  if (!option.icon.isNull()) {
    const QPixmap picture = greyed(option.icon.pixmap(option.iconSize, devicePixelRatio()));
    const QSize size = option.iconSize;
    QRect pictureArea = area;
    if (option.toolButtonStyle == Qt::ToolButtonTextUnderIcon) {
      pictureArea.setHeight(size.height() + 4);
      textArea.adjust(0, pictureArea.height() - 1, 0, 0);
    } else if (!option.text.isEmpty()) {
      pictureArea.setWidth(size.width() + 4);
      textArea.adjust(pictureArea.width(), 0, 0, 0);
    }
    painter.drawPixmap(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, pictureArea),
                       picture);
  }
  int alignment = Qt::TextShowMnemonic | Qt::AlignVCenter;
  alignment |= option.toolButtonStyle == Qt::ToolButtonTextBesideIcon && !option.icon.isNull()
                   ? Qt::AlignLeft
                   : Qt::AlignHCenter;
  painter.setFont(font());
  painter.setPen(kDisabledCaption);
  painter.drawText(textArea, alignment, option.text);
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
