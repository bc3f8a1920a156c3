#include "TSaveDialogBoxForm.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <memory>

#include "TransferBatch.h"
#include "TransferSave.h"
#include "store/Schema.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Busy.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Forms.h"
#include "toolkit/Guard.h"

TSaveDialogBoxForm* SaveDialogBoxForm = nullptr;

const QString TSaveDialogBoxForm::SaveDialogTitle =
    QStringLiteral("儲存檔案,請將檔名存成\"BTXXXX20\"模式,其中\"XXXX\"值為0000~9999由您自行決定");

namespace {

const QString kSaveDialogMessage = QStringLiteral(
    "下面之存檔對話盒,請將檔名存成'BTXXXX20'模式,其中'XXXX'值為0000~9999由您自行決定,"
    "例如BT123420");

// Where the diskette drive was: the first removable medium mounted for this user, else the
// home folder.
QString removableMediumOrHome() {
  const QString user = qEnvironmentVariable("USER");
  if (!user.isEmpty()) {
    for (const QString& base : {"/media/" + user, "/run/media/" + user}) {
      const QStringList media = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
      if (!media.isEmpty()) return base + "/" + media.front();
    }
  }
  return QDir::homePath();
}

}  // namespace

TSaveDialogBoxForm::TSaveDialogBoxForm(store::Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
  setupUi(this);
  // Placed where its design puts it, not centred.
  move(197, 139);
  SaveDialogInitialDir = removableMediumOrHome();
  const store::TableSchema& batch = store::tempSchema();
  toolkit::limitToField(FileEdit, batch.fields[batch.fieldIndex("SENDDATE")]);
  toolkit::prepareForm(this);
  connect(FileEdit, &QLineEdit::textChanged, this, &TSaveDialogBoxForm::FileEditChange);
  toolkit::connectGuarded(FileOKBitBtn, &toolkit::BitBtn::activated, this,
                          &TSaveDialogBoxForm::FileOKBitBtnClick);
  toolkit::connectGuarded(FileCancelBitBtn, &toolkit::BitBtn::activated, this,
                          &TSaveDialogBoxForm::FileCancelBitBtnClick);
}

void TSaveDialogBoxForm::FileEditChange() {}

void TSaveDialogBoxForm::FileOKBitBtnClick() {
  // The file dialog and the messages are modal; this only guards against a press that a
  // nested event loop would let through.
  if (running_) return;
  const QScopedValueRollback<bool> running(running_, true);

  const std::string sendDate = FileEdit->text().toStdString();
  {
    toolkit::Busy busy(FileOKBitBtn);
    Memo->clear();
    transfer::TransferText text = transfer::buildTransferBatchAndText(session_, sendDate);
    Memo->setBytes(std::make_shared<const std::string>(std::move(text.bytes)));
  }

  SaveDialogShow();
  const std::optional<QString> chosen =
      toolkit::dialogs().SaveFile({SaveDialogInitialDir, SaveDialogFileName, SaveDialogTitle});
  if (chosen) {
    // The name confirmed is proposed next time also when this save fails: the clerk retrying
    // after a full or write-protected medium wants the name just chosen.
    SaveDialogFileName = *chosen;
    SaveDialogInitialDir = QFileInfo(*chosen).absolutePath();
    const std::string warning = transfer::saveTransferFile(chosen->toStdString(), Memo->bytes());
    // The file is saved; only its reaching the medium is in doubt, which the clerk must know.
    if (!warning.empty()) toolkit::ShowMessage(QString::fromStdString(warning));
  }
  close();
  FileEdit->setText("");
}

void TSaveDialogBoxForm::FileCancelBitBtnClick() {
  FileEdit->setText("");
  close();
}

void TSaveDialogBoxForm::SaveDialogShow() {
  toolkit::ShowMessage(kSaveDialogMessage);
}
