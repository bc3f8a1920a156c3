#include "TPinForm.h"

#include <QCoreApplication>

#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Forms.h"
#include "toolkit/Guard.h"
#include "store/Cp950.h"
#include "store/Schema.h"
#include "store/Session.h"

TPinForm* PinForm = nullptr;

namespace {

constexpr int kAttemptLimit = 3;
const QString kLimitMessage = QStringLiteral("錯誤次數超過限制,請確認後再重新輸入!! ");
const QString kUnknownCodeMessage = QStringLiteral("使用者代碼輸入錯誤,請確認後重新輸入!! ");
const QString kWrongPasswordMessage = QStringLiteral("密碼輸入錯誤,請確認後重新輸入!! ");

}  // namespace

TPinForm::TPinForm(store::Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      TablePass(session, "pass.DB"),
      DataSource1(TablePass) {
  setupUi(this);
  setFixedSize(size());
  // The standard kinds' captions, in the language of Qt's own texts (Traditional Chinese when
  // its catalogue is installed).
  BitBtn1->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
  BitBtn2->setText(QCoreApplication::translate("QPlatformTheme", "Cancel"));
  const store::TableSchema& pass = store::passSchema();
  toolkit::limitToField(UserID, pass.fields[pass.fieldIndex("USERID")]);
  toolkit::limitToField(Password, pass.fields[pass.fieldIndex("PASSWORD")]);
  session.AddPassword(store::kTablePassword);
  toolkit::prepareForm(this);
  toolkit::connectGuarded(BitBtn1, &toolkit::BitBtn::activated, this, &TPinForm::BitBtn1Click);
  toolkit::connectGuarded(BitBtn2, &toolkit::BitBtn::activated, this, &TPinForm::BitBtn2Click);
}

void TPinForm::setWindows(QWidget* mainForm, QWidget* mainMenuForm) {
  mainForm_ = mainForm;
  mainMenuForm_ = mainMenuForm;
}

int TPinForm::ShowModal() {
  int result = exec();
  // The main window opened by a successful login stays in front of the entry screen, which
  // the closing dialog would otherwise hand the activation back to.
  if (mainMenuForm_ && mainMenuForm_->isVisible()) {
    mainMenuForm_->raise();
    mainMenuForm_->activateWindow();
  }
  return result;
}

void TPinForm::BitBtn1Click() {
  if (pinErrorCount_ >= kAttemptLimit) {
    toolkit::ShowMessage(kLimitMessage);
    if (mainForm_) mainForm_->close();
    clearBoxes();
    UserID->setFocus();
    return;
  }

  TablePass.Close();
  TablePass.SetIndexFieldNames("USERID");
  TablePass.Open();
  if (!findUserCode(UserID->text())) {
    toolkit::ShowMessage(kUnknownCodeMessage);
    TablePass.Close();
    closeAndReset();
    ++pinErrorCount_;
    return;
  }

  // Only the password stored with this user code opens the program: another user's password
  // must not.
  auto typed = store::cp950::encode(Password->text().toStdString());
  if (!typed.ok() || typed.bytes != TablePass.FieldByName("PASSWORD").bytes()) {
    toolkit::ShowMessage(kWrongPasswordMessage);
    closeAndReset();
    return;
  }

  if (mainMenuForm_) toolkit::showMaximized(mainMenuForm_);
  clearBoxes();
}

void TPinForm::BitBtn2Click() {
  closeAndReset();
}

bool TPinForm::findUserCode(const QString& code) {
  // A code that no USERID can hold (too wide, or not code page 950) is simply not there.
  auto field = TablePass.FieldByName("USERID");
  if (code.isEmpty() || !toolkit::fitsCp950(code, field.width())) return false;
  TablePass.SetKey();
  field.setText(code.toStdString());
  return TablePass.GotoKey();
}

void TPinForm::closeAndReset() {
  done(toolkit::mrCancel);
  clearBoxes();
  UserID->setFocus();
}

void TPinForm::clearBoxes() {
  UserID->clear();
  Password->clear();
}
