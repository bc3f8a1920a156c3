// The main window: its design state, the page change that re-reads the tables, leaving it
// by "回登錄畫面", Esc on each page, and the six control-switching operations.

#include <QTest>

#include "ProgramFixture.h"
#include "employees/BasicDataPage.h"
#include "pay/SalaryMaintainPage.h"
#include "transfer/FileTansferPage.h"
#include "users/SuperViserPage.h"

namespace {

class MainWindow : public ProgramTest {
 protected:
  QWidgetList employeeBrowseButtons() {
    auto* p = MainMenuForm->BasicData;
    return {p->FirstBitBtn1,  p->PriorBitBtn1, p->NextBitBtn1,  p->LastBitBtn1,
            p->InsertBitBtn1, p->EditBitBtn1,  p->DeleteBitBtn1};
  }
  QWidgetList writeButtons() {
    return {MainMenuForm->BasicData->PostBitBtn1, MainMenuForm->BasicData->CancelBitBtn1,
            MainMenuForm->SalaryMaintain->SalaryPostBitBtn};
  }
  QWidgetList employeeEdits() {
    auto* p = MainMenuForm->BasicData;
    return {p->EmployeeNumberDBEdit, p->EmployeeAccountDBEdit, p->EmployeeNameDBEdit,
            p->EmployeeIDDBEdit,     p->EmployeeInDateDBEdit,  p->EmployeeLevelDBEdit,
            p->EmployeeMemoDBEdit};
  }
  static int enabledCount(const QWidgetList& list) {
    int n = 0;
    for (auto* w : list) n += w->isEnabled() ? 1 : 0;
    return n;
  }
  void pressEsc() { QTest::keyClick(MainMenuForm->PageControl1->currentWidget(), Qt::Key_Escape); }
  QString currentNumber() { return MainMenuForm->BasicData->EmployeeNumberDBEdit->text(); }
};

TEST_F(MainWindow, OpensOnTheEmployeePageInItsDesignState) {
  ASSERT_TRUE(program);
  auto* m = MainMenuForm;
  EXPECT_EQ(m->PageControl1->currentWidget(), m->BasicData);
  EXPECT_EQ(enabledCount(employeeEdits()), 0);
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 7);
  EXPECT_EQ(enabledCount(writeButtons()), 3);  // until the first change of page
  EXPECT_TRUE(m->SalaryMaintain->SendDateEdit->isEnabled());
  EXPECT_FALSE(m->SalaryMaintain->EmployeeDateDBEdit->isEnabled());
  EXPECT_FALSE(m->QueryPanel->isVisibleTo(m));
  EXPECT_EQ(currentNumber(), "000001");
  EXPECT_EQ(m->BasicData->EmployeeNameDBEdit->text(), QStringLiteral("王小明"));
}

TEST_F(MainWindow, TabsCarryTheirCaptionsInOrder) {
  QStringList captions;
  for (int i = 0; i < MainMenuForm->PageControl1->count(); ++i) {
    captions << MainMenuForm->PageControl1->tabText(i);
  }
  EXPECT_EQ(captions, (QStringList{"員工基本資料管理", "員工單月薪資維護", "員工薪資轉檔作業",
                                   "密碼設定作業", "清檔作業"}));
}

TEST_F(MainWindow, PageChangePutsTheButtonRowInBrowseStateButLeavesTheEdits) {
  MainMenuForm->EnableEmployeeEdits();
  MainMenuForm->SetEditButtons();
  MainMenuForm->PageControl1->setCurrentIndex(1);
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 7);
  EXPECT_EQ(enabledCount(writeButtons()), 0);
  EXPECT_EQ(enabledCount(employeeEdits()), 7);
}

TEST_F(MainWindow, PageChangeReturnsToTheFirstEmployeeAndRereadsTheFiles) {
  MainMenuForm->EmployeeBasicTable.Last();
  EXPECT_EQ(currentNumber(), "000002");
  folder.addEmployee("000000", "張三");  // written by another program meanwhile
  MainMenuForm->PageControl1->setCurrentIndex(2);
  EXPECT_EQ(currentNumber(), "000000");
  EXPECT_EQ(MainMenuForm->EmployeeBasicTable.RecordCount(), 3);
  MainMenuForm->PageControl1->setCurrentIndex(0);
  EXPECT_EQ(currentNumber(), "000000");
}

TEST_F(MainWindow, PayEntryPageFollowsTheCurrentEmployee) {
  auto* pay = MainMenuForm->SalaryMaintain;
  MainMenuForm->PageControl1->setCurrentIndex(1);
  EXPECT_EQ(pay->DBEdit1->text(), "000001");
  EXPECT_EQ(pay->DBGrid1->rowCount(), 2);
  EXPECT_EQ(pay->DBGrid1->item(0, 1)->text(), "880105");
  MainMenuForm->EmployeeBasicTable.Next();
  EXPECT_EQ(pay->DBEdit3->text(), QStringLiteral("李大同"));
  EXPECT_EQ(pay->DBGrid1->rowCount(), 1);
  EXPECT_EQ(pay->DBGrid1->item(0, 3)->text(), QStringLiteral("薪水轉帳"));
  EXPECT_EQ(MainMenuForm->EmployeeSalaryTable.RecordCount(), 1);
}

TEST_F(MainWindow, PendingInsertIsNotWrittenByAPageChange) {
  MainMenuForm->EmployeeBasicTable.Insert();
  MainMenuForm->EmployeeBasicTable.FieldByName("NUMBER").setText("000009");
  MainMenuForm->PageControl1->setCurrentIndex(1);
  EXPECT_EQ(folder.rows("basic.DB"), 2);
  EXPECT_EQ(MainMenuForm->EmployeeBasicTable.State(), store::TableState::Browse);
}

TEST_F(MainWindow, BackToLoginHidesTheWindowAndKeepsPageAndEmployee) {
  logIn("admin", "admin");
  ASSERT_TRUE(MainMenuForm->isVisible());
  MainMenuForm->PageControl1->setCurrentIndex(3);
  MainMenuForm->EmployeeBasicTable.Next();
  MainMenuForm->SuperViser->BitBtn3->press();
  EXPECT_FALSE(MainMenuForm->isVisible());
  logIn("admin", "admin");
  EXPECT_TRUE(MainMenuForm->isVisible());
  EXPECT_EQ(MainMenuForm->PageControl1->currentIndex(), 3);
  EXPECT_EQ(currentNumber(), "000002");
}

TEST_F(MainWindow, EachBackToLoginButtonClosesTheWindow) {
  auto* m = MainMenuForm;
  const QList<toolkit::BitBtn*> buttons = {m->BasicData->EmployeeExitBitBtn1,
                                           m->SalaryMaintain->LoginBitBtn12,
                                           m->FileTansfer->BitBtn2, m->SuperViser->BitBtn3};
  for (int page = 0; page < buttons.size(); ++page) {
    m->show();
    m->PageControl1->setCurrentIndex(page);
    EXPECT_EQ(buttons[page]->text(), QStringLiteral("回登錄畫面"));
    buttons[page]->press();
    EXPECT_FALSE(m->isVisible()) << "page " << page;
  }
}

TEST_F(MainWindow, EscOnTheFirstDisplayPressesCancelAndKeepsTheWindow) {
  MainMenuForm->show();
  pressEsc();
  EXPECT_TRUE(MainMenuForm->isVisible());
}

TEST_F(MainWindow, EscInBrowseStateLeavesFromEveryPageButPayEntryAndClearing) {
  auto* m = MainMenuForm;
  const bool closes[] = {true, false, true, true, false};
  for (int page = 0; page < 5; ++page) {
    m->show();
    m->PageControl1->setCurrentIndex(page == 0 ? 1 : 0);  // a change of page: browse state
    m->PageControl1->setCurrentIndex(page);
    pressEsc();
    EXPECT_EQ(!m->isVisible(), closes[page]) << "page " << page;
  }
}

TEST_F(MainWindow, EditButtonsAndBrowseButtonsSwitchTheirTenControls) {
  MainMenuForm->SetEditButtons();
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 0);
  EXPECT_EQ(enabledCount(writeButtons()), 3);
  MainMenuForm->SetBrowseButtons();
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 7);
  EXPECT_EQ(enabledCount(writeButtons()), 0);
  EXPECT_TRUE(MainMenuForm->BasicData->EmployeeExitBitBtn1->isEnabled());
}

TEST_F(MainWindow, SalaryEditsIncludeTheEmployeeMemoNotThePayPageMemo) {
  auto* pay = MainMenuForm->SalaryMaintain;
  MainMenuForm->EnableSalaryEdits();
  EXPECT_TRUE(pay->EmployeeDateDBEdit->isEnabled());
  EXPECT_TRUE(pay->EmployeePayDBEdit->isEnabled());
  EXPECT_TRUE(pay->EmployeeSalaryItemDBLookupComboBox->isEnabled());
  EXPECT_FALSE(pay->EmployeeSalaryItemDBLookupComboBox->isVisibleTo(MainMenuForm));
  EXPECT_TRUE(MainMenuForm->BasicData->EmployeeMemoDBEdit->isEnabled());
  EXPECT_FALSE(pay->DBEdit5->isEnabled());
  EXPECT_FALSE(MainMenuForm->BasicData->EmployeeNameDBEdit->isEnabled());
  MainMenuForm->DisableSalaryEdits();
  EXPECT_FALSE(pay->EmployeeDateDBEdit->isEnabled());
  EXPECT_FALSE(MainMenuForm->BasicData->EmployeeMemoDBEdit->isEnabled());
}

TEST_F(MainWindow, EmployeeEditsSwitchAllSeven) {
  MainMenuForm->EnableEmployeeEdits();
  EXPECT_EQ(enabledCount(employeeEdits()), 7);
  MainMenuForm->DisableEmployeeEdits();
  EXPECT_EQ(enabledCount(employeeEdits()), 0);
}

TEST_F(MainWindow, SalaryItemListOffersTheSixteenItems) {
  auto* box = MainMenuForm->SalaryMaintain->SalaryItemDBComboBox;
  ASSERT_EQ(box->count(), 16);
  EXPECT_EQ(box->itemText(0), QStringLiteral("薪水轉帳"));
  EXPECT_EQ(box->itemText(15), QStringLiteral("轉帳(入帳)"));
}

TEST_F(MainWindow, EditsAreNamedByTheirLabels) {
  EXPECT_EQ(MainMenuForm->BasicData->EmployeeNumberDBEdit->accessibleName(),
            QStringLiteral("員工編號"));
  EXPECT_EQ(PinForm->UserID->accessibleName(), QStringLiteral("使用者代碼"));
}

}  // namespace
