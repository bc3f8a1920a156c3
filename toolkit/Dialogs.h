#pragma once
// Dialogs: the one service through which the program shows every message, asks every
// question and offers the file-save dialog.
//
// The program runs with QtDialogs (QMessageBox, QFileDialog). Tests install a ScriptedDialogs
// instead, which records each text and answers from a script: a real modal message box would
// block a headless test for ever.

#include <QString>
#include <optional>

class QWidget;

namespace toolkit {

// The buttons and answers of MessageDlg, with the classic values.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum class MsgDlgType { Warning, Error, Information, Confirmation };

enum MsgDlgButton : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using MsgDlgButtons = unsigned;

struct SaveDialogRequest {
  QString initialDir;
  QString fileName;
  QString title;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal message with one OK button.
  virtual void ShowMessage(const QString& text) = 0;
  // A modal message of the given type and buttons; returns the button pressed (mrYes, mrNo,
  // mrOk, mrCancel).
  virtual int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) = 0;
  // The file-save dialog; the chosen file name, or nothing when the user cancels.
  virtual std::optional<QString> SaveFile(const SaveDialogRequest& request) = 0;
  // The default report of an error that a handler did not catch: its message in a box.
  virtual void ShowException(const QString& message) = 0;
};

// The service in use. Never null: QtDialogs until another is installed.
Dialogs& dialogs();
// Installs a service (not owned) and returns the one it replaces; nullptr restores QtDialogs.
Dialogs* setDialogs(Dialogs* service);

// Shorthands for the program's two common calls.
inline void ShowMessage(const QString& text) {
  dialogs().ShowMessage(text);
}
inline int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) {
  return dialogs().MessageDlg(text, type, buttons);
}

class QtDialogs : public Dialogs {
 public:
  void ShowMessage(const QString& text) override;
  int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) override;
  std::optional<QString> SaveFile(const SaveDialogRequest& request) override;
  void ShowException(const QString& message) override;
};

}  // namespace toolkit
