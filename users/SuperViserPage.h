#pragma once
// SuperViserPage: the password page of the main window. Its explanations tell a first-time user
// to replace the default user code and password, and that letter case counts in both. Its three
// buttons show the add, change and delete dialogs without blocking (the single instances made at
// start-up: showing one again brings the same form to the front, and several may be open at
// once). 回登錄畫面 (BitBtn3) and the hidden Button1 are connected by the main window.

#include <QWidget>

#include "ui_SuperViserPage.h"

class SuperViserPage : public QWidget, public Ui::SuperViserPage {
  Q_OBJECT

 public:
  explicit SuperViserPage(QWidget* parent = nullptr);

  void PinCreatButtonClick();
  void PinChangeButtonClick();
  void DelUserPinButtonClick();
};
