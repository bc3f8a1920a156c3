#include "UserFixture.h"

#include <QLineEdit>

#include "support/TestRows.h"

UserFixture::UserFixture() {
  folder.addUser("admin", "admin");
  CreatPinForm = &creat;
  ChangePinForm = &changer;
  DelPinForm = &deleter;
  entryScreen.show();
  pin.setWindows(&entryScreen, &mainMenu);
}

UserFixture::~UserFixture() {
  CreatPinForm = nullptr;
  ChangePinForm = nullptr;
  DelPinForm = nullptr;
}

void UserFixture::add(const QString& code, const QString& password, const QString& again) {
  creat.show();
  creat.CreatUserEdit->setText(code);
  creat.CreatPinEdit->setText(password);
  creat.CreatPinAgainEdit->setText(again);
  creat.CreatUserPinBitBtnOk->press();
}

void UserFixture::change(const QString& oldCode, const QString& newCode, const QString& password,
                         const QString& again) {
  changer.show();
  changer.ChangeOldUserEdit->setText(oldCode);
  changer.ChangeNewUserEdit->setText(newCode);
  changer.ChangePinEdit->setText(password);
  changer.ChangePinAgainEdit->setText(again);
  changer.ChangePinBitBtnOk->press();
}

void UserFixture::remove(const QString& code, const QString& password) {
  deleter.show();
  deleter.DelUserEdit->setText(code);
  deleter.DelPinEdit->setText(password);
  deleter.DelPinBitBtnOk->press();
}

std::vector<std::string> UserFixture::users() {
  return testrows::fileColumn(folder.session(), "pass.DB", "USERID PASSWORD");
}

bool UserFixture::logsIn(const QString& code, const QString& password) {
  mainMenu.hide();
  pin.UserID->setText(code);
  pin.Password->setText(password);
  pin.BitBtn1->press();
  return mainMenu.isVisible();
}

QString UserFixture::boxes(const QWidget& dialog) {
  QStringList texts;
  for (const QLineEdit* box : dialog.findChildren<QLineEdit*>()) texts << box->text();
  return texts.join('|');
}
