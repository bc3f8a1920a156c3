#pragma once
// FileTansferPage: the transfer page of the main window. Its explanations tell the clerk the
// month's order of work: 產生薪資轉帳磁片 (the transfer dialog, shown without blocking), then
// the report style and 預覽 or 列印報表. The report style chosen stays while the program runs.

#include <QWidget>

#include "ui_FileTansferPage.h"

class FileTansferPage : public QWidget, public Ui::FileTansferPage {
  Q_OBJECT

 public:
  explicit FileTansferPage(QWidget* parent = nullptr);

  void SaveFileBitBtnClick();
  void PrintRadioGroupClick();
};
