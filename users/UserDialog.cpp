#include "UserDialog.h"

#include <QLabel>
#include <QLineEdit>

#include "store/Schema.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Forms.h"

namespace {

QString refusal(users::UserOutcome outcome) {
  using users::UserOutcome;
  switch (outcome) {
    case UserOutcome::UnknownCode:
      return QStringLiteral("使用者代碼不存在,請確認代碼是否存在,並重新輸入");
    case UserOutcome::CodeExists:
      return QStringLiteral("使用者代碼已存在,請另選代碼,並重新輸入");
    case UserOutcome::PasswordsDiffer:
      return QStringLiteral("您所輸入的密碼不一致,請確認所輸入密碼,並重新輸入");
    case UserOutcome::EmptyEntry:
      return QStringLiteral("使用者代碼及密碼不可空白,請重新輸入");
    case UserOutcome::WrongPassword:
      return QStringLiteral("密碼錯誤,請重新輸入");
    case UserOutcome::Done:
      break;
  }
  return {};
}

}  // namespace

UserDialog::UserDialog(QWidget* parent) : QWidget(parent, Qt::Window) {}

void UserDialog::prepare(std::initializer_list<Box> boxes) {
  const store::TableSchema& pass = store::passSchema();
  for (const Box& box : boxes) {
    const store::FieldDef& field = pass.fields.at(pass.fieldIndex(box.field));
    toolkit::limitToField(box.edit, field);
    boxes_.append(box.edit);
  }
  // The coloured captions are as wide as their text, but stop short of the box beside them
  // (prepareForm then sets a longer caption a little closer).
  for (QLabel* label : findChildren<QLabel*>()) {
    label->adjustSize();
    const QWidget* box = label->buddy();
    if (box && label->geometry().right() + 4 >= box->x()) {
      label->resize(box->x() - 4 - label->x(), label->height());
    }
  }
  toolkit::prepareForm(this);
}

void UserDialog::closeAndClear() {
  close();
  for (QLineEdit* box : boxes_) box->clear();
  if (!boxes_.isEmpty()) boxes_.front()->setFocus();
}

void UserDialog::report(users::UserOutcome outcome, const QString& doneMessage) {
  if (outcome == users::UserOutcome::Done) {
    closeAndClear();
    toolkit::ShowMessage(doneMessage);
    return;
  }
  toolkit::ShowMessage(refusal(outcome));
  // An empty code or password is the one refusal the table itself makes (both fields are
  // required): like every refusal of the table, it leaves the dialog open with what was typed.
  if (outcome != users::UserOutcome::EmptyEntry) closeAndClear();
}
