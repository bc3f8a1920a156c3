#include "ScriptedDialogs.h"

namespace toolkit {

ScriptedDialogs::ScriptedDialogs() : previous_(setDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
  setDialogs(previous_);
}

QStringList ScriptedDialogs::texts() const {
  QStringList list;
  for (const auto& s : shown_) list << s.text;
  return list;
}

void ScriptedDialogs::clear() {
  shown_.clear();
  answers_.clear();
  saves_.clear();
  unscripted_ = 0;
}

void ScriptedDialogs::record(Shown shown) {
  shown_.push_back(std::move(shown));
  if (hook_) hook_(shown_.back());
}

void ScriptedDialogs::ShowMessage(const QString& text) {
  record({Kind::Message, text, MsgDlgType::Information, 0, {}});
}

int ScriptedDialogs::MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) {
  record({Kind::Question, text, type, buttons, {}});
  if (answers_.empty()) {
    ++unscripted_;
    return mrNo;
  }
  int a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<QString> ScriptedDialogs::SaveFile(const SaveDialogRequest& request) {
  record({Kind::SaveFile, request.title, MsgDlgType::Information, 0, request});
  if (saves_.empty()) {
    ++unscripted_;
    return {};
  }
  const bool chosen = saves_.front().has_value();
  const QString name = saves_.front().value_or(QString());
  saves_.pop_front();
  if (!chosen) return std::nullopt;
  return name;
}

void ScriptedDialogs::ShowException(const QString& message) {
  record({Kind::Error, message, MsgDlgType::Information, 0, {}});
}

}  // namespace toolkit
