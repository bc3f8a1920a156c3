#pragma once
// TMainForm: the entry screen, the program's main form. It stays open for the whole run;
// "進入系統" opens the login dialog and empties the transfer batch afterwards, whatever the
// outcome; "退出本系統" or its close box ends the program.

#include <QWidget>

#include "toolkit/DataSource.h"
#include "store/Table.h"
#include "ui_TMainForm.h"

class TMainForm : public QWidget, public Ui::TMainForm {
  Q_OBJECT

 public:
  explicit TMainForm(store::Session& session, QWidget* parent = nullptr);

  void EntrySystemBitBtn1Click();
  void ExitSystemBitBtn1Click();

  store::Table EmptyTempTable1;
  toolkit::DataSource DataSource1;

 signals:
  // The main form was closed: the program ends.
  void programEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
};

extern TMainForm* MainForm;
