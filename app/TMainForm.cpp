#include "TMainForm.h"

#include <QCloseEvent>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "toolkit/Forms.h"
#include "toolkit/Guard.h"
#include "users/TPinForm.h"

TMainForm* MainForm = nullptr;

namespace {

// The entry screen's picture, drawn for the window's size (a drawing stretches without
// blurring): a calm sky, and a card with a payslip, coins and the system's name. The card keeps
// clear of the band where the two buttons stand (rows 400 to 457) and of the title at the top.
QPixmap entryPicture(QSize size) {
  QPixmap picture(size);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(222, 234, 246));
  sky.setColorAt(1, QColor(247, 243, 230));
  p.fillRect(picture.rect(), sky);

  const int buttonsTop = 392, buttonsBottom = 465, titleBottom = 64;
  const QRect above(0, titleBottom, size.width(), buttonsTop - titleBottom);
  const QRect below(0, buttonsBottom, size.width(), size.height() - buttonsBottom);
  QRect room = below.height() > above.height() ? below : above;
  room = room.intersected(picture.rect()).adjusted(24, 16, -24, -16);
  if (room.width() < 120 || room.height() < 70) return picture;

  // The card, 400 by 200, scaled alike in both directions to fit its room.
  const qreal scale = std::min({room.width() / 400.0, room.height() / 200.0, 1.6});
  p.translate(room.center().x() - 200 * scale, room.center().y() - 100 * scale);
  p.scale(scale, scale);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 80, 110, 28));
  p.drawRoundedRect(QRectF(6, 8, 400, 200), 18, 18);
  p.setBrush(QColor(255, 255, 255, 235));
  p.setPen(QPen(QColor(176, 196, 222), 1.5));
  p.drawRoundedRect(QRectF(0, 0, 400, 200), 18, 18);

  // A payslip: a sheet with a blue head and a few lines.
  p.setPen(QPen(QColor(150, 170, 200), 1.2));
  p.setBrush(QColor(250, 252, 255));
  p.drawRect(QRectF(28, 34, 92, 124));
  p.fillRect(QRectF(28, 34, 92, 20), QColor(70, 110, 170));
  p.setPen(QPen(QColor(185, 200, 220), 2));
  for (int i = 0; i < 5; ++i)
    p.drawLine(QPointF(38, 70 + i * 16), QPointF(i == 4 ? 80 : 110, 70 + i * 16));
  // Coins in front of it.
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(QColor(176, 138, 52), 1.5));
    p.setBrush(QColor(226, 190, 100));
    p.drawEllipse(QRectF(92, 136 - i * 12, 48, 18));
  }

  p.setPen(QColor(31, 63, 122));
  QFont name(QStringLiteral("標楷體"));
  name.setPixelSize(30);
  name.setBold(true);
  p.setFont(name);
  p.drawText(QRectF(150, 48, 236, 44), Qt::AlignCenter, QStringLiteral("人事薪資管理系統"));
  p.setPen(QPen(QColor(176, 196, 222), 1.5));
  p.drawLine(QPointF(166, 102), QPointF(370, 102));
  p.setPen(QColor(80, 96, 120));
  QFont line(QStringLiteral("新細明體"));
  line.setPixelSize(15);
  p.setFont(line);
  p.drawText(QRectF(150, 112, 236, 24), Qt::AlignCenter, QStringLiteral("員工資料 ‧ 單月薪資"));
  p.drawText(QRectF(150, 138, 236, 24), Qt::AlignCenter, QStringLiteral("轉帳磁片 ‧ 報表列印"));
  return picture;
}

}  // namespace

TMainForm::TMainForm(store::Session& session, QWidget* parent)
    : QWidget(parent), EmptyTempTable1(session, "temp.DB"), DataSource1(EmptyTempTable1) {
  setupUi(this);
  Image1->setPixmap(entryPicture(size()));
  Image1->lower();
  toolkit::prepareForm(this);
  toolkit::connectGuarded(EntrySystemBitBtn1, &toolkit::BitBtn::activated, this,
                          &TMainForm::EntrySystemBitBtn1Click);
  toolkit::connectGuarded(ExitSystemBitBtn1, &toolkit::BitBtn::activated, this,
                          &TMainForm::ExitSystemBitBtn1Click);
}

void TMainForm::EntrySystemBitBtn1Click() {
  PinForm->ShowModal();
  // Whatever the login's outcome, the transfer batch of the last use is dropped.
  EmptyTempTable1.SetActive(false);
  EmptyTempTable1.EmptyTable();
}

void TMainForm::ExitSystemBitBtn1Click() {
  close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  emit programEnded();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Image1->setGeometry(rect());
  Image1->setPixmap(entryPicture(size()));
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  EntrySystemBitBtn1->setFocus();
}
