// Start-up: the ten single instances, created once and reached through their references;
// a table file missing at start-up is told once and nothing is shown.

#include <QDialog>

#include "pay/TSalaryItemSetForm.h"
#include "reports/TPrintSimpleForm.h"
#include "reports/TQuickReport1.h"
#include "store/DataFolder.h"
#include "support/ProgramFixture.h"
#include "transfer/TSaveDialogBoxForm.h"
#include "users/TChangePinForm.h"
#include "users/TCreatPinForm.h"
#include "users/TDelPinForm.h"

namespace {

class StartUp : public ProgramFixture {
 protected:
  StartUp() { start(); }
};

TEST_F(StartUp, CreatesTheTenFormsHiddenWithTheirCaptions) {
  ASSERT_TRUE(program);
  const std::vector<std::pair<QWidget*, QString>> forms = {
      {MainForm, "Ravek-人事薪資管理系統"},
      {PinForm, "人事薪資管理系統-代碼密碼輸入"},
      {MainMenuForm, "Ravek-人事薪資管理系統-主選單"},
      {CreatPinForm, "Ravek-人事薪資管理系統-新增使用者代碼及密碼"},
      {ChangePinForm, "Ravek-人事薪資管理系統-使用者代碼及密碼變更"},
      {DelPinForm, "Ravek-人事薪資管理系統-刪除使用者代碼及密碼"},
      {QuickReport1, "員工薪資列印報表"},
      {SalaryItemSetForm, "Ravek-人事薪資管理系統-會計科目設定"},
      {SaveDialogBoxForm, "SaveDialogBoxForm"},
      {PrintSimpleForm, "PrintSimpleForm"},
  };
  for (const auto& [form, caption] : forms) {
    ASSERT_NE(form, nullptr) << caption.toStdString();
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_FALSE(form->isVisible()) << caption.toStdString();
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

// Run in both configurations: only the second leaves the salary item catalogue closed.
TEST_F(StartUp, SalaryItemCatalogueIsClosedAtCreationOnlyInTheSecondConfiguration) {
  ASSERT_TRUE(program);
  EXPECT_EQ(SalaryItemSetForm->SalaryItemSetTable1.Active(),
            store::databaseAlias() != "MIRUVIRUDI3");
}

TEST_F(StartUp, DialogsHaveTheirDesignedClientSize) {
  EXPECT_EQ(PinForm->size(), QSize(341, 308));
  EXPECT_EQ(DelPinForm->size(), QSize(435, 300));
}

TEST(StartUpFailure, MissingTableFileOrFolderIsToldOnceAndNothingIsCreated) {
  TestFolder folder;
  std::filesystem::remove(folder.path() / "salary.DB");
  for (const auto& path : {folder.path(), std::filesystem::path("/nonexistent/salary")}) {
    SCOPED_TRACE(path);
    toolkit::ScriptedDialogs dialogs;
    EXPECT_FALSE(Program::start(path));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("salary", Qt::CaseInsensitive));
    // A missing table file is told with the way to have it again.
    EXPECT_EQ(dialogs.shown()[0].text.contains("salary-admin restore --table salary"),
              path == folder.path());
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_EQ(PinForm, nullptr);
  }
}

}  // namespace
