#pragma once
// SuperViserPage: the password page of the main window. So far it carries its back-to-login button
// only; its explanations and the buttons of the three user dialogs are still to come.

#include <QWidget>

#include "ui_SuperViserPage.h"

class SuperViserPage : public QWidget, public Ui::SuperViserPage {
  Q_OBJECT

 public:
  explicit SuperViserPage(QWidget* parent = nullptr);
};
