// The employee page: adding, editing with renumbering of the pay entries, deleting, the
// navigation shared with the pay-entry page, and the one message of a failed 寫入.

#include "EmployeeFixture.h"

namespace {

using Rows = std::vector<std::string>;

const QString kPostFailed = QStringLiteral("請檢查您所輸入之代碼是否已重複,並重新輸入!!");

class EmployeePage : public EmployeeFixture {
 protected:
  // 新增 and the three required fields.
  void insertEmployee(const QString& number, const QString& name) {
    page->InsertBitBtn1->press();
    type(page->EmployeeNumberDBEdit, number);
    type(page->EmployeeAccountDBEdit, "44440000000004");
    type(page->EmployeeNameDBEdit, name);
  }
  // Stands on 002345 (three pay entries) and presses 修改.
  void editEmployeeWithEntries() {
    page->NextBitBtn1->press();
    ASSERT_EQ(shownNumber(), "002345");
    page->EditBitBtn1->press();
  }
  Rows entriesOf(const std::string& number) {
    Rows out;
    for (const auto& row : rowsOnDisk("salary"))
      if (row.rfind(number + " ", 0) == 0) out.push_back(row.substr(7));
    return out;
  }
};

const Rows kEntriesOf2345 = {"880105 35000 薪水轉帳", "880205 1200 退稅", "880205 36000 薪水轉帳"};

TEST_F(EmployeePage, EmptyNameAndTakenNumberAreRefusedAndTheRowKeptUntilCorrected) {
  const Rows entries = rowsOnDisk("salary");
  insertEmployee("004000", "");
  page->PostBitBtn1->press();
  type(page->EmployeeNameDBEdit, QStringLiteral("張三"));
  type(page->EmployeeNumberDBEdit, "002345");
  page->PostBitBtn1->press();
  EXPECT_EQ(dialogs.texts(), (QStringList{kPostFailed, kPostFailed}));
  EXPECT_EQ(rowsOnDisk("basic").size(), 3u);
  EXPECT_EQ(m->EmployeeBasicTable.State(), store::TableState::Insert);
  EXPECT_TRUE(buttonsIn(true));
  EXPECT_TRUE(page->EmployeeNameDBEdit->isEnabled());

  type(page->EmployeeNumberDBEdit, "004000");
  page->PostBitBtn1->press();
  EXPECT_EQ(dialogs.texts().size(), 2);
  EXPECT_EQ(rowsOnDisk("basic").back(), "004000 44440000000004 張三    ");
  EXPECT_EQ(rowsOnDisk("salary"), entries);  // the entry row begun by 新增 is not written
  EXPECT_TRUE(buttonsIn(false));
  EXPECT_FALSE(page->EmployeeNumberDBEdit->isEnabled());
}

TEST_F(EmployeePage, CancelAfterInsertDropsTheRowAndDisablesTheEdits) {
  const Rows before = bothFiles();
  insertEmployee("004000", "張三");
  page->CancelBitBtn1->press();
  EXPECT_EQ(bothFiles(), before);
  EXPECT_EQ(shownNumber(), "000001");
  EXPECT_FALSE(page->EmployeeNumberDBEdit->isEnabled());
  EXPECT_TRUE(buttonsIn(false));
}

TEST_F(EmployeePage, RenumberMovesEveryEntryOnceAndNoOther) {
  editEmployeeWithEntries();
  type(page->EmployeeNumberDBEdit, "009999");
  page->PostBitBtn1->press();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_EQ(entriesOf("009999"), kEntriesOf2345);
  EXPECT_TRUE(entriesOf("002345").empty());
  EXPECT_EQ(entriesOf("000001"), Rows{"880105 30000 薪水轉帳"});
  EXPECT_EQ(rowsOnDisk("basic")[2], "009999 22220000002345 李大同 B223456789   ");
  EXPECT_EQ(m->SalaryMaintain->DBGrid1->rowCount(), 3);
  EXPECT_TRUE(buttonsIn(false));
}

TEST_F(EmployeePage, RenumberOntoATakenNumberOrFailingAfterTheEntriesMovedChangesNothing) {
  const Rows before = bothFiles();
  editEmployeeWithEntries();
  type(page->EmployeeNumberDBEdit, "003000");
  page->PostBitBtn1->press();
  EXPECT_EQ(bothFiles(), before);
  type(page->EmployeeNumberDBEdit, "009999");
  type(page->EmployeeNameDBEdit, "");  // refused only when the employee row is written
  page->PostBitBtn1->press();
  EXPECT_EQ(dialogs.texts(), (QStringList{kPostFailed, kPostFailed}));
  EXPECT_EQ(bothFiles(), before);
  EXPECT_EQ(m->EmployeeBasicTable.State(), store::TableState::Edit);
  EXPECT_TRUE(buttonsIn(true));

  type(page->EmployeeNameDBEdit, QStringLiteral("李小同"));
  page->PostBitBtn1->press();
  EXPECT_EQ(dialogs.texts().size(), 2);
  EXPECT_EQ(entriesOf("009999"), kEntriesOf2345);
}

TEST_F(EmployeePage, EditWithoutANumberChangeTouchesNoEntry) {
  const Rows entries = rowsOnDisk("salary");
  editEmployeeWithEntries();
  type(page->EmployeeNameDBEdit, QStringLiteral("李小同"));
  page->PostBitBtn1->press();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_EQ(rowsOnDisk("basic")[1], "002345 22220000002345 李小同 B223456789   ");
  EXPECT_EQ(rowsOnDisk("salary"), entries);
}

TEST_F(EmployeePage, LeavingAPendingEditByPageChangeOrSearchDropsItSoALaterPostMovesNothing) {
  const Rows before = bothFiles();
  const std::function<void()> leaves[] = {[this] {
                                            m->PageControl1->setCurrentIndex(1);
                                            m->PageControl1->setCurrentIndex(0);
                                          },
                                          [this] {
                                            search->N11Click();
                                            type(search->QueryEdit, "000001");
                                            search->QueryBitBtn->press();
                                          }};
  for (const auto& leave : leaves) {
    editEmployeeWithEntries();
    type(page->EmployeeNumberDBEdit, "009999");
    leave();
    EXPECT_FALSE(m->EditingExisting);
    EXPECT_EQ(bothFiles(), before);
  }
  ASSERT_TRUE(page->PostBitBtn1->isEnabled());  // the search leaves the button row alone
  page->PostBitBtn1->press();
  EXPECT_EQ(dialogs.texts(), QStringList{kPostFailed});
  EXPECT_EQ(bothFiles(), before);
}

TEST_F(EmployeePage, DeleteAnsweredNoKeepsEverythingAndYesRemovesEmployeeAndEntries) {
  const Rows before = bothFiles();
  page->NextBitBtn1->press();
  dialogs.answer(toolkit::mrNo);
  page->DeleteBitBtn1->press();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral(" 確定刪除 ? "));
  EXPECT_EQ(dialogs.shown()[0].buttons, toolkit::mbYes | toolkit::mbNo);
  EXPECT_EQ(bothFiles(), before);

  dialogs.answer(toolkit::mrYes);
  page->DeleteBitBtn1->press();
  EXPECT_EQ(rowsOnDisk("basic").size(), 2u);
  EXPECT_EQ(rowsOnDisk("salary"), Rows{"000001 880105 30000 薪水轉帳"});
  EXPECT_EQ(shownNumber(), "003000");
}

TEST_F(EmployeePage, DeleteThatFailsMidwayKeepsTheEntries) {
  const Rows before = bothFiles();
  refuseEmployeeDeletes();
  page->NextBitBtn1->press();
  dialogs.answer(toolkit::mrYes);
  page->DeleteBitBtn1->press();
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[1].kind, toolkit::ScriptedDialogs::Kind::Error);
  EXPECT_EQ(bothFiles(), before);
  EXPECT_EQ(m->EmployeeSalaryTable.RecordCount(), 3);
}

TEST_F(EmployeePage, FirstEnablesTheBatchSendDateAndOtherMovesDisableIt) {
  auto* pay = m->SalaryMaintain;
  for (auto* move : {page->PriorBitBtn1, page->NextBitBtn1, page->LastBitBtn1}) {
    page->FirstBitBtn1->press();
    EXPECT_TRUE(pay->SendDateEdit->isEnabled());
    move->press();
    EXPECT_FALSE(pay->SendDateEdit->isEnabled()) << move->text().toStdString();
  }
}

}  // namespace
