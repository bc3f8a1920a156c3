#pragma once
// TPinForm: the login dialog. It checks a user code and its password against pass.DB and, on
// success, shows the main window. Unknown user codes are counted for the whole run: once three
// have been typed, the next press of OK ends the program, whatever was typed.
//
// Constructing it registers the table password with the session; every table opened later in
// the program relies on that.

#include <QDialog>

#include "toolkit/DataSource.h"
#include "store/Table.h"
#include "ui_TPinForm.h"

class TPinForm : public QDialog, public Ui::TPinForm {
  Q_OBJECT

 public:
  explicit TPinForm(store::Session& session, QWidget* parent = nullptr);

  // The windows the login acts on: the entry screen (closed at the attempt limit) and the
  // main window (shown on success). Set by start-up once both exist.
  void setWindows(QWidget* mainForm, QWidget* mainMenuForm);

  // Shows the dialog and returns when it closes, with its modal result.
  int ShowModal();

  void BitBtn1Click();
  void BitBtn2Click();

  // Unknown user codes typed since the program started; never lowered.
  int PinErrorCount() const { return pinErrorCount_; }

  store::Table TablePass;
  toolkit::DataSource DataSource1;

 private:
  bool findUserCode(const QString& code);
  void closeAndReset();
  void clearBoxes();

  QWidget* mainForm_ = nullptr;
  QWidget* mainMenuForm_ = nullptr;
  int pinErrorCount_ = 0;
};

extern TPinForm* PinForm;
