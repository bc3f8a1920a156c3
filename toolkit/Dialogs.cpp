#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace toolkit {

namespace {

QtDialogs& qtDialogs() {
  static QtDialogs service;
  return service;
}

Dialogs* current = nullptr;

// Messages belong to the window the user is working in.
QWidget* messageParent() {
  return QApplication::activeWindow();
}

}  // namespace

Dialogs& dialogs() {
  return current ? *current : qtDialogs();
}

Dialogs* setDialogs(Dialogs* service) {
  Dialogs* previous = current;
  current = service;
  return previous;
}

void QtDialogs::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, messageParent());
  box.exec();
}

int QtDialogs::MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (type) {
    case MsgDlgType::Warning:
      icon = QMessageBox::Warning;
      break;
    case MsgDlgType::Error:
      icon = QMessageBox::Critical;
      break;
    case MsgDlgType::Information:
      icon = QMessageBox::Information;
      break;
    case MsgDlgType::Confirmation:
      icon = QMessageBox::Question;
      break;
  }
  QMessageBox::StandardButtons standard;
  if (buttons & mbYes) standard |= QMessageBox::Yes;
  if (buttons & mbNo) standard |= QMessageBox::No;
  if (buttons & mbOK) standard |= QMessageBox::Ok;
  if (buttons & mbCancel) standard |= QMessageBox::Cancel;
  QMessageBox box(icon, QApplication::applicationDisplayName(), text, standard, messageParent());
  switch (box.exec()) {
    case QMessageBox::Yes:
      return mrYes;
    case QMessageBox::No:
      return mrNo;
    case QMessageBox::Ok:
      return mrOk;
    default:
      return mrCancel;
  }
}

std::optional<QString> QtDialogs::SaveFile(const SaveDialogRequest& request) {
  QFileDialog dialog(messageParent(), request.title, request.initialDir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // A name that exists is replaced without asking; nothing is added to the name typed.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void QtDialogs::ShowException(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message,
                  QMessageBox::Ok, messageParent());
  box.exec();
}

}  // namespace toolkit
