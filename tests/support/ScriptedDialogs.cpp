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

namespace {

ScriptedDialogs::Shown make(ScriptedDialogs::Kind kind, const QString& text) {
  ScriptedDialogs::Shown s;
  s.kind = kind;
  s.text = text;
  return s;
}

}  // namespace

void ScriptedDialogs::ShowMessage(const QString& text) {
  record(make(Kind::Message, text));
}

int ScriptedDialogs::MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons) {
  Shown s = make(Kind::Question, text);
  s.type = type;
  s.buttons = buttons;
  record(std::move(s));
  if (answers_.empty()) {
    ++unscripted_;
    return mrNo;
  }
  int a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<QString> ScriptedDialogs::SaveFile(const SaveDialogRequest& request) {
  Shown s = make(Kind::SaveFile, request.title);
  s.save = request;
  record(std::move(s));
  if (saves_.empty()) {
    ++unscripted_;
    return {};
  }
  bool chosen = saves_.front().has_value();
  QString name = saves_.front().value_or(QString());
  saves_.pop_front();
  if (!chosen) return std::nullopt;
  return name;
}

void ScriptedDialogs::ShowException(const QString& message) {
  record(make(Kind::Error, message));
}

}  // namespace toolkit
