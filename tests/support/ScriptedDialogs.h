#pragma once
// ScriptedDialogs: the dialogs service of the tests. It records every message, question and
// error report in the order shown, and answers questions and file-save dialogs from a script.
// While installed (for the lifetime of the object) it replaces the real dialogs.
//
// A question or save dialog with no scripted answer is answered No (or Cancel) and recorded
// as unscripted, so that a test can tell an unexpected question from an expected one.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "toolkit/Dialogs.h"

namespace toolkit {

class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { Message, Question, SaveFile, Error };
  struct Shown {
    Kind kind = Kind::Message;
    QString text;  // the message, the question, the error's text, or the save dialog's title
    MsgDlgType type = MsgDlgType::Information;
    MsgDlgButtons buttons = 0;
    SaveDialogRequest save;
  };

  ScriptedDialogs();
  ~ScriptedDialogs() override;
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  // The answer to the next question (mrYes, mrNo, ...).
  void answer(int button) { answers_.push_back(button); }
  // The answer to the next file-save dialog; nothing means the user cancels.
  void answerSave(std::optional<QString> fileName) { saves_.push_back(std::move(fileName)); }
  // Runs whenever a message box would be shown, after it is recorded (for example to look at
  // the screen while the box is up).
  void onShown(std::function<void(const Shown&)> hook) { hook_ = std::move(hook); }

  const std::vector<Shown>& shown() const { return shown_; }
  // The texts of every box shown, in order, whatever its kind.
  QStringList texts() const;
  int unscripted() const { return unscripted_; }
  void clear();

  void ShowMessage(const QString& text) override;
  int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) override;
  std::optional<QString> SaveFile(const SaveDialogRequest& request) override;
  void ShowException(const QString& message) override;

 private:
  void record(Shown shown);

  Dialogs* previous_ = nullptr;
  std::vector<Shown> shown_;
  std::deque<int> answers_;
  std::deque<std::optional<QString>> saves_;
  std::function<void(const Shown&)> hook_;
  int unscripted_ = 0;
};

}  // namespace toolkit
