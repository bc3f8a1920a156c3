#include "TMainForm.h"

#include <QCloseEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "toolkit/Forms.h"
#include "toolkit/Guard.h"
#include "users/TPinForm.h"

TMainForm* MainForm = nullptr;

namespace {

// The entry screen's picture: a quiet sky over a ledger grid, 406 by 400, stretched.
QPixmap entryPicture() {
  QPixmap picture(406, 400);
  QPainter p(&picture);
  QLinearGradient sky(0, 0, 0, 400);
  sky.setColorAt(0, QColor(214, 232, 248));
  sky.setColorAt(1, QColor(250, 246, 226));
  p.fillRect(picture.rect(), sky);
  p.setPen(QPen(QColor(180, 200, 220), 1));
  for (int y = 120; y < 400; y += 20) p.drawLine(40, y, 366, y);
  for (int x = 40; x <= 366; x += 326 / 4) p.drawLine(x, 120, x, 380);
  return picture;
}

}  // namespace

TMainForm::TMainForm(store::Session& session, QWidget* parent)
    : QWidget(parent), EmptyTempTable1(session, "temp.DB"), DataSource1(EmptyTempTable1) {
  setupUi(this);
  Image1->setPixmap(entryPicture());
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
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  EntrySystemBitBtn1->setFocus();
}
