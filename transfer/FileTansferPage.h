#pragma once
// FileTansferPage: the transfer page of the main window: the transfer diskette and the reports. So
// far it carries its back-to-login button only; its explanations, its other buttons and the
// print-style choice are still to come.

#include <QWidget>

#include "ui_FileTansferPage.h"

class FileTansferPage : public QWidget, public Ui::FileTansferPage {
  Q_OBJECT

 public:
  explicit FileTansferPage(QWidget* parent = nullptr);
};
