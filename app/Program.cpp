#include "Program.h"

#include <exception>

#include "store/DataFolder.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "toolkit/Dialogs.h"

#include "app/TMainForm.h"
#include "app/TMainMenuForm.h"
#include "pay/TSalaryItemSetForm.h"
#include "reports/TPrintSimpleForm.h"
#include "reports/TQuickReport1.h"
#include "transfer/TSaveDialogBoxForm.h"
#include "users/TChangePinForm.h"
#include "users/TCreatPinForm.h"
#include "users/TDelPinForm.h"
#include "users/TPinForm.h"

const char* Program::title() {
  return "Ravek-人事薪資管理系統";
}

Program::Program(const std::filesystem::path& dataFolder)
    : lock_(dataFolder),
      session_(dataFolder),
      mainForm_(MainForm),
      pinForm_(PinForm),
      mainMenuForm_(MainMenuForm),
      creatPinForm_(CreatPinForm),
      changePinForm_(ChangePinForm),
      delPinForm_(DelPinForm),
      quickReport1_(QuickReport1),
      salaryItemSetForm_(SalaryItemSetForm),
      saveDialogBoxForm_(SaveDialogBoxForm),
      printSimpleForm_(PrintSimpleForm) {
  mainForm_.create(session_);
  pinForm_.create(session_);
  mainMenuForm_.create(session_);
  creatPinForm_.create(session_);
  changePinForm_.create(session_);
  delPinForm_.create(session_);
  quickReport1_.create(session_);
  salaryItemSetForm_.create(session_);
  saveDialogBoxForm_.create(session_);
  printSimpleForm_.create(session_);
  PinForm->setWindows(MainForm, MainMenuForm);
}

Program::~Program() = default;

namespace {

template <class Folder>
std::unique_ptr<Program> startOn(Folder folder) {
  try {
    return std::make_unique<Program>(folder());
  } catch (const store::EngineError& e) {
    // A live table that is missing: the clerk is told how to have it again.
    std::string text = e.what();
    if (e.code() == store::EngineError::Code::MissingFile) {
      if (const store::LiveTable* live = store::liveTableNamed(e.file())) {
        text += "\n\n" + store::missingTableAdvice(live->fileName);
      }
    }
    toolkit::dialogs().ShowException(QString::fromStdString(text));
    return nullptr;
  } catch (...) {
    const store::EngineError error = store::EngineError::from(std::current_exception());
    toolkit::dialogs().ShowException(QString::fromUtf8(error.what()));
    return nullptr;
  }
}

}  // namespace

std::unique_ptr<Program> Program::start(const std::filesystem::path& dataFolder) {
  return startOn([&] { return dataFolder; });
}

std::unique_ptr<Program> Program::start() {
  return startOn([] { return store::aliasFolder(); });
}
