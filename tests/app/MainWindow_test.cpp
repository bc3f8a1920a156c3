// The main window: its design state, the page change that re-reads the tables, leaving it
// by "回登錄畫面", and Esc on each page.

#include <QTest>

#include "employees/BasicDataPage.h"
#include "pay/SalaryMaintainPage.h"
#include "support/ProgramFixture.h"
#include "transfer/FileTansferPage.h"
#include "users/SuperViserPage.h"

namespace {

// User admin/admin, employees 000001 and 000002, two pay entries of the first and one of the
// second.
class MainWindow : public ProgramFixture {
 protected:
  MainWindow() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    folder.addEntry("000001", "880105", 35000, "薪水轉帳");
    folder.addEntry("000001", "880205", 36000, "薪水轉帳");
    folder.addEntry("000002", "880205", 42000, "薪水轉帳");
    start();
  }
  QWidgetList employeeBrowseButtons() {
    auto* p = m->BasicData;
    return {p->FirstBitBtn1,  p->PriorBitBtn1, p->NextBitBtn1,  p->LastBitBtn1,
            p->InsertBitBtn1, p->EditBitBtn1,  p->DeleteBitBtn1};
  }
  QWidgetList writeButtons() {
    return {m->BasicData->PostBitBtn1, m->BasicData->CancelBitBtn1,
            m->SalaryMaintain->SalaryPostBitBtn};
  }
  QWidgetList employeeEdits() {
    auto* p = m->BasicData;
    return {p->EmployeeNumberDBEdit, p->EmployeeAccountDBEdit, p->EmployeeNameDBEdit,
            p->EmployeeIDDBEdit,     p->EmployeeInDateDBEdit,  p->EmployeeLevelDBEdit,
            p->EmployeeMemoDBEdit};
  }
  static int enabledCount(const QWidgetList& list) {
    int n = 0;
    for (auto* w : list) n += w->isEnabled() ? 1 : 0;
    return n;
  }
  void pressEsc() { QTest::keyClick(m->PageControl1->currentWidget(), Qt::Key_Escape); }
  QString currentNumber() { return m->BasicData->EmployeeNumberDBEdit->text(); }
};

TEST_F(MainWindow, OpensOnTheEmployeePageInItsDesignState) {
  ASSERT_TRUE(program);
  QStringList captions;
  for (int i = 0; i < m->PageControl1->count(); ++i) captions << m->PageControl1->tabText(i);
  EXPECT_EQ(captions, (QStringList{"員工基本資料管理", "員工單月薪資維護", "員工薪資轉檔作業",
                                   "密碼設定作業", "清檔作業"}));
  EXPECT_EQ(m->PageControl1->currentWidget(), m->BasicData);
  EXPECT_EQ(enabledCount(employeeEdits()), 0);
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 7);
  EXPECT_EQ(enabledCount(writeButtons()), 3);  // until the first change of page
  EXPECT_FALSE(m->QueryPanel->isVisibleTo(m));
  EXPECT_EQ(m->BasicData->EmployeeNameDBEdit->text(), QStringLiteral("王小明"));
  EXPECT_EQ(m->BasicData->EmployeeNumberDBEdit->accessibleName(), QStringLiteral("員工編號"));
}

TEST_F(MainWindow, PageChangeRereadsTheFilesReturnsToTheFirstAndPutsTheButtonsInBrowse) {
  m->EnableEmployeeEdits();
  m->SetEditButtons();
  m->EmployeeBasicTable.Last();
  m->EmployeeBasicTable.Insert();  // a pending row, never written
  m->EmployeeBasicTable.FieldByName("NUMBER").setText("000009");
  folder.addEmployee("000000", "張三");  // written by another program meanwhile
  m->PageControl1->setCurrentIndex(2);
  EXPECT_EQ(currentNumber(), "000000");
  EXPECT_EQ(m->EmployeeBasicTable.RecordCount(), 3);
  EXPECT_EQ(m->EmployeeBasicTable.State(), store::TableState::Browse);
  EXPECT_EQ(folder.rows("basic.DB"), 3);
  EXPECT_EQ(enabledCount(employeeBrowseButtons()), 7);
  EXPECT_EQ(enabledCount(writeButtons()), 0);
  EXPECT_EQ(enabledCount(employeeEdits()), 7);  // the edits are left as they were
}

TEST_F(MainWindow, BackToLoginHidesTheWindowFromEachPageAndKeepsPageAndEmployee) {
  const QList<toolkit::BitBtn*> buttons = {m->BasicData->EmployeeExitBitBtn1,
                                           m->SalaryMaintain->LoginBitBtn12,
                                           m->FileTansfer->BitBtn2, m->SuperViser->BitBtn3};
  for (int page = 0; page < buttons.size(); ++page) {
    SCOPED_TRACE(page);
    logIn("admin", "admin");
    m->PageControl1->setCurrentIndex(page);
    EXPECT_EQ(buttons[page]->text(), QStringLiteral("回登錄畫面"));
    buttons[page]->press();
    EXPECT_FALSE(m->isVisible());
  }
  m->EmployeeBasicTable.Next();
  logIn("admin", "admin");
  EXPECT_TRUE(m->isVisible());
  EXPECT_EQ(m->PageControl1->currentIndex(), 3);
  EXPECT_EQ(currentNumber(), "000002");
}

TEST_F(MainWindow, EscPressesCancelOnTheFirstDisplayThenLeavesFromAllButPayEntryAndClearing) {
  m->show();
  pressEsc();
  EXPECT_TRUE(m->isVisible());
  const bool closes[] = {true, false, true, true, false};
  for (int page = 0; page < 5; ++page) {
    SCOPED_TRACE(page);
    m->show();
    m->PageControl1->setCurrentIndex(page == 0 ? 1 : 0);  // a change of page: browse state
    m->PageControl1->setCurrentIndex(page);
    pressEsc();
    EXPECT_EQ(!m->isVisible(), closes[page]);
  }
}

}  // namespace
