#pragma once
// TSaveDialogBoxForm: the transfer diskette dialog. Created once at start-up, hidden, and shown
// without blocking by the transfer page. 確定 builds the batch of the send date typed into
// FileEdit in temp.DB, shows the transfer file's lines in Memo, asks where to save the file and
// saves it; 取消 only closes. Either way the dialog closes and its date box is emptied; a
// refusal or a failed save is reported and leaves the dialog open with its date, the batch in
// temp.DB and an earlier file of the chosen name as it was.

#include <QString>
#include <QWidget>

#include "ui_TSaveDialogBoxForm.h"

namespace store {
class Session;
}

class TSaveDialogBoxForm : public QWidget, public Ui::TSaveDialogBoxForm {
  Q_OBJECT

 public:
  explicit TSaveDialogBoxForm(store::Session& session, QWidget* parent = nullptr);

  void FileEditChange();
  void FileOKBitBtnClick();
  void FileCancelBitBtnClick();
  void SaveDialogShow();

  // The file-save dialog's settings: where it starts the first time, the name it proposes
  // (the name last confirmed, with its folder, whether or not its save succeeded) and its title.
  QString SaveDialogInitialDir;
  QString SaveDialogFileName = QStringLiteral("BT");
  static const QString SaveDialogTitle;

 private:
  store::Session& session_;
  bool running_ = false;
};

extern TSaveDialogBoxForm* SaveDialogBoxForm;
