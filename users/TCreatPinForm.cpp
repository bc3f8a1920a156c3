#include "TCreatPinForm.h"

#include <QApplication>
#include <QScreen>

#include "toolkit/Guard.h"

TCreatPinForm* CreatPinForm = nullptr;

TCreatPinForm::TCreatPinForm(store::Session& session, QWidget* parent)
    : UserDialog(parent), PinChangeTable(session, "pass.DB"), DataSource1(PinChangeTable) {
  setupUi(this);
  PinChangeTable.SetIndexFieldNames("USERID");
  // The window's colour is the system's menu colour.
  const QString menu = QApplication::palette("QMenu").color(QPalette::Window).name();
  setStyleSheet(styleSheet() +
                QStringLiteral(" #TCreatPinForm { background-color: %1; }").arg(menu));
  setAttribute(Qt::WA_StyledBackground);
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  prepare({{CreatUserEdit, "USERID"}, {CreatPinEdit, "PASSWORD"}, {CreatPinAgainEdit, "PASSWORD"}});
  toolkit::connectGuarded(CreatUserPinBitBtnOk, &toolkit::BitBtn::activated, this,
                          &TCreatPinForm::CreatUserPinBitBtnOkClick);
  toolkit::connectGuarded(CreatUserPinBitBtnCancel, &toolkit::BitBtn::activated, this,
                          &TCreatPinForm::CreatUserPinBitBtnCancelClick);
}

void TCreatPinForm::CreatUserPinBitBtnOkClick() {
  report(
      users::addUser(PinChangeTable, CreatUserEdit->text().toStdString(),
                     CreatPinEdit->text().toStdString(), CreatPinAgainEdit->text().toStdString()),
      QStringLiteral("新增使用者代碼及密碼成功"));
}

void TCreatPinForm::CreatUserPinBitBtnCancelClick() {
  closeAndClear();
}

void TCreatPinForm::resizeEvent(QResizeEvent* event) {
  UserDialog::resizeEvent(event);
  const int h = CreatUserPinStatusBar->sizeHint().height();
  CreatUserPinStatusBar->setGeometry(0, height() - h, width(), h);
}
