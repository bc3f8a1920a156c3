// The pay-entry page: the copy-forward of 新增, the acceptance rule and refusals of 寫入, 刪除,
// the enabled state of the controls after each event, the batch send date across employees,
// the ways of leaving a new entry, and the grid.

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <functional>

#include "PayFixture.h"
#include "employees/EmployeeSearch.h"
#include "pay/TSalaryItemSetForm.h"
#include "store/Table.h"
#include "support/TestRows.h"

namespace {

using Rows = std::vector<std::string>;

Rows sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

const QString kIncomplete = QStringLiteral("請檢查入帳日期,入帳金額及薪資項目是否確實輸入");
const QString kDuplicate =
    QStringLiteral("本員工在此入帳日期已有一筆相同入帳金額及薪資項目的入帳資料,請修改後再寫入");
const QString kAmountTyping =
    QStringLiteral("入帳金額只能輸入數字,可有一個負號及一個小數點,最多 13 個字");
const QString kAmountTooLong = QStringLiteral("入帳金額超過轉帳檔可容納的 13 位,請重新輸入");
const QString kNothingToPost = QStringLiteral("目前沒有新增的入帳資料可寫入,請先按「新增」");
const QString kNoEmployee = QStringLiteral("目前沒有員工資料,請先新增員工再輸入入帳資料");

class PayPage : public PayFixture {
 protected:
  // 新增 on `number` with `batchDate` as the batch send date.
  void startEntry(const QString& number, const QString& batchDate) {
    pay->FirstBitBtn7->press();
    type(pay->SendDateEdit, batchDate);
    goToEmployee(number);
    pay->SalaryCreatBitBtn->press();
  }
  using Step = std::function<void()>;
  static Step press(toolkit::BitBtn* button) {
    return [button] { button->press(); };
  }
  Step deleteAnswering(int answer) {
    return [this, answer] {
      dialogs.answer(answer);
      pay->SalaryDeleteBitBtn->press();
    };
  }
  void changePage() {
    m->PageControl1->setCurrentIndex(0);
    m->PageControl1->setCurrentIndex(1);
  }
};

TEST_F(PayPage, NewEntryCopiesTheLatestEntryForwardWithTheBatchSendDate) {
  struct Case {
    QString employee, batchDate;
    std::string shown;
  } cases[] = {
      {"000123", "880305", "880305 36000 薪水轉帳"},  // the worked case
      {"000300", "880305", "880305 1200 水費"},       // latest date, then the larger amount
      {"000200", "880305", "880305  "},               // no entry: the batch send date only
      {"000123", "", " 36000 薪水轉帳"},              // no batch send date
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    startEntry(c.employee, c.batchDate);
    EXPECT_EQ(shownEntry(), c.shown);
    EXPECT_EQ(m->EmployeeSalaryTable.State(), store::TableState::Insert);
    EXPECT_EQ(m->focusWidget(), pay->EmployeePayDBEdit);
    EXPECT_FALSE(m->BasicData->FirstBitBtn1->isEnabled());  // the employee row is in edit state
    pay->SalaryCancelBitBtn->press();
  }
  startEntry("000123", "880305");
  pay->SalaryPostBitBtn->press();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_EQ(entriesOnDisk()[2], "000123 880305 36000 薪水轉帳");
  EXPECT_EQ(pay->DBGrid1->rowCount(), 3);
  // What the clerk types in the amount replaces the amount copied forward, not adds to it.
  m->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(m));
  startEntry("000123", "880405");
  QTest::keyClicks(QApplication::focusWidget(), "37000");
  EXPECT_EQ(pay->EmployeePayDBEdit->text(), "37000");
}

TEST_F(PayPage, PostAppliesTheAcceptanceRuleInItsOrder) {
  struct Case {
    QString date, amount, item;
    bool accepted;
  } cases[] = {
      {"", "100", "退稅", false},       {"880305", "", "退稅", false},
      {"880305", "0", "退稅", false},   {"880305", "-", "退稅", false},
      {"880305", "100", "", false},     {"880305", "-100", "退稅", true},
      {"880306", "12.5", "電費", true},
  };
  Rows expected = entriesOnDisk();
  for (const auto& c : cases) {
    SCOPED_TRACE((c.date + "/" + c.amount + "/" + c.item).toStdString());
    dialogs.clear();
    startEntry("000200", "");
    type(pay->EmployeeDateDBEdit, c.date);
    typeKeys(pay->EmployeePayDBEdit, c.amount);
    if (!c.item.isEmpty()) chooseItem(c.item);
    pay->SalaryPostBitBtn->press();
    if (c.accepted) {
      EXPECT_TRUE(dialogs.texts().isEmpty());
      expected.push_back(("000200 " + c.date + " " + c.amount + " " + c.item).toStdString());
      EXPECT_FALSE(pendingEntry());
    } else {
      EXPECT_EQ(dialogs.texts(), QStringList{kIncomplete});
      EXPECT_TRUE(pendingEntry());
      EXPECT_EQ(controls(), (Controls{true, true, true, false}));
    }
    EXPECT_EQ(sorted(entriesOnDisk()), sorted(expected));
  }
  goToEmployee("000200");
  EXPECT_EQ(pay->DBGrid1->item(0, 2)->text(), QStringLiteral("($100.00)"));
}

TEST_F(PayPage, EqualEntryIsRefusedAsExistingAndStaysOpenWhileOtherItemsOnTheDateAreStored) {
  startEntry("000123", "880305");
  pay->SalaryPostBitBtn->press();
  pay->SalaryCreatBitBtn->press();
  chooseItem(QStringLiteral("退稅"));
  pay->SalaryPostBitBtn->press();
  const Rows stored = entriesOnDisk();
  EXPECT_EQ(stored.size(), 7u);
  EXPECT_TRUE(dialogs.texts().isEmpty());

  pay->SalaryCreatBitBtn->press();  // the latest of the two is 薪水轉帳 (Big5 order)
  const std::string copied = shownEntry();
  pay->SalaryPostBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{kDuplicate});
  EXPECT_EQ(entriesOnDisk(), stored);
  EXPECT_TRUE(pendingEntry());
  EXPECT_EQ(shownEntry(), copied);
  EXPECT_EQ(controls(), (Controls{true, true, true, true}));

  typeKeys(pay->EmployeePayDBEdit, "37000");  // corrected, it goes in
  pay->SalaryPostBitBtn->press();
  EXPECT_EQ(entriesOnDisk().size(), 8u);
}

TEST_F(PayPage, AmountThatIsNoNumberOrTooLongIsRefusedWithAMessage) {
  struct Case {
    QString typed, kept;
  } cases[] = {
      {"12a", "12"}, {"1,000", "1000"}, {"-5-", "-5"},
      {"--5", "-5"}, {"1.2.3", "1.23"}, {"12345678901234", "1234567890123"},
  };
  startEntry("000200", "880305");
  chooseItem(QStringLiteral("退稅"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    dialogs.clear();
    typeKeys(pay->EmployeePayDBEdit, c.typed);
    EXPECT_EQ(dialogs.texts(), QStringList{kAmountTyping});
    EXPECT_EQ(pay->EmployeePayDBEdit->text(), c.kept);
    EXPECT_EQ(m->EmployeeSalaryTable.FieldByName("PAY").text(), c.kept.toStdString());
  }
}

// Entries stored by other means can bring, by the copy-forward, what the bank's transfer file
// cannot carry: refused at 寫入, not later when the file is made.
TEST_F(PayPage, CopiedAmountOrItemTheTransferFileCannotCarryIsRefusedAtPost) {
  struct Case {
    std::string date, amount, item;
    QString message;
  } cases[] = {
      {"880305", "123456789012345", "薪水轉帳", kAmountTooLong},
      {"880306", "100", "年終獎金",
       QStringLiteral("薪資項目「年終獎金」不是轉帳檔可用的項目,請從薪資項目清單中選擇")},
  };
  type(pay->SendDateEdit, "880401");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    folder.addEntry("000300", c.date, std::stod(c.amount), c.item);
    const Rows before = entriesOnDisk();
    goToEmployee("000300");
    pay->SalaryCreatBitBtn->press();
    dialogs.clear();
    pay->SalaryPostBitBtn->press();
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(entriesOnDisk(), before);
    EXPECT_TRUE(pendingEntry());
  }
}

// The amount edit takes 13 characters by typing; an amount copied forward that is longer is
// shown whole, as 寫入 judges it, and the clerk shortens it there.
TEST_F(PayPage, CopiedAmountLongerThanTheEditTakesIsShownWholeUntilShortened) {
  folder.addEntry("000300", "880305", 123456789012345, "薪水轉帳");
  type(pay->SendDateEdit, "880401");
  goToEmployee("000300");
  pay->SalaryCreatBitBtn->press();
  auto* amount = pay->EmployeePayDBEdit;
  EXPECT_EQ(amount->text(), "123456789012345");
  pay->SalaryPostBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{kAmountTooLong});

  amount->end(false);
  QTest::keyClick(amount, Qt::Key_Backspace);
  QTest::keyClick(amount, Qt::Key_Backspace);
  EXPECT_EQ(amount->text(), "1234567890123");
  dialogs.clear();
  QTest::keyClick(amount, Qt::Key_4);  // a 14th character is refused again
  EXPECT_EQ(dialogs.texts(), QStringList{kAmountTyping});
  EXPECT_EQ(amount->text(), "1234567890123");
  dialogs.clear();
  pay->SalaryPostBitBtn->press();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  const Rows rows = entriesOnDisk();
  EXPECT_NE(std::find(rows.begin(), rows.end(), "000300 880401 1234567890123 薪水轉帳"),
            rows.end());
}

TEST_F(PayPage, NewWithoutAnEmployeeAndPostWithNothingOpenAreRefusedWithAMessage) {
  const Rows before = entriesOnDisk();
  goToEmployee("000123");
  pay->SalaryCreatBitBtn->press();
  pay->SalaryFirstBitBtn->press();  // drops the new entry; 寫入 stays enabled
  ASSERT_TRUE(pay->SalaryPostBitBtn->isEnabled());
  dialogs.clear();
  pay->SalaryPostBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{kNothingToPost});
  EXPECT_EQ(entriesOnDisk(), before);

  {
    store::Table employees(folder.session(), "basic.DB");
    employees.EmptyTable();
  }
  changePage();
  const Controls shown = controls();
  dialogs.clear();
  pay->SalaryCreatBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{kNoEmployee});
  EXPECT_FALSE(pendingEntry());
  EXPECT_EQ(controls(), shown);
  EXPECT_EQ(pay->DBGrid1->rowCount(), 0);
  EXPECT_EQ(entriesOnDisk(), before);
}

TEST_F(PayPage, BatchSendDateRefusesWhatCp950CannotHold) {
  type(pay->SendDateEdit, "880305");
  type(pay->SendDateEdit, QStringLiteral("88😀"));
  EXPECT_EQ(pay->SendDateEdit->text(), "880305");
}

TEST_F(PayPage, DeleteAsksWithoutLeadingBlankAndNoOnlyMovesTheFocusAndDisablesTheItemBox) {
  goToEmployee("000123");
  pay->SalaryCreatBitBtn->press();
  pay->SalaryCancelBitBtn->press();
  pay->SalaryItemDBComboBox->setEnabled(true);
  const Rows before = entriesOnDisk();
  dialogs.answer(toolkit::mrNo);
  pay->SalaryDeleteBitBtn->press();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("確定刪除 ?"));
  EXPECT_EQ(dialogs.shown()[0].type, toolkit::MsgDlgType::Confirmation);
  EXPECT_EQ(dialogs.shown()[0].buttons, toolkit::mbYes | toolkit::mbNo);
  EXPECT_EQ(entriesOnDisk(), before);
  EXPECT_FALSE(pay->SalaryItemDBComboBox->isEnabled());
  EXPECT_EQ(m->focusWidget(), pay->Panel3);

  pay->SalaryFirstBitBtn->press();
  dialogs.answer(toolkit::mrYes);
  pay->SalaryDeleteBitBtn->press();
  EXPECT_EQ(entriesOnDisk()[0], "000123 880205 36000 薪水轉帳");
  EXPECT_EQ(pay->DBGrid1->rowCount(), 1);

  goToEmployee("000200");
  dialogs.clear();
  const Rows after = entriesOnDisk();
  pay->SalaryDeleteBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("本員工沒有入帳資料可刪除")});
  EXPECT_EQ(dialogs.unscripted(), 0);
  EXPECT_EQ(entriesOnDisk(), after);
}

TEST_F(PayPage, ControlsFollowTheStateTableForEveryEvent) {
  EXPECT_EQ(atCreation, (Controls{false, false, true, true}));
  EXPECT_EQ(controls(), (Controls{false, false, false, true}));  // after a change of page

  const Step creat = press(pay->SalaryCreatBitBtn), nothing = [] {};
  struct Case {
    const char* event;
    Step before, event_;
    Controls expected;
  } cases[] = {
      {"新增", nothing, creat, {true, true, true, true}},
      {"寫入 accepted", creat, press(pay->SalaryPostBitBtn), {false, false, false, true}},
      {"寫入 refused",
       [this, creat] { goToEmployee("000200"), creat(); },
       press(pay->SalaryPostBitBtn),
       {true, true, true, false}},
      {"取消 of the entry bar", creat, press(pay->SalaryCancelBitBtn), {true, false, false, true}},
      {"刪除 answered No", creat, deleteAnswering(toolkit::mrNo), {true, false, true, true}},
      {"entry 第一筆", creat, press(pay->SalaryFirstBitBtn), {true, false, true, true}},
      {"entry 上一筆", creat, press(pay->SalaryPriorBitBtn), {true, false, true, true}},
      {"entry 下一筆", creat, press(pay->SalaryNextBitBtn), {true, false, true, true}},
      {"entry 最後一筆", creat, press(pay->SalaryLastBitBtn), {true, false, true, true}},
      {"employee 第一筆",
       [this, creat] { pay->NextBitBtn9->press(), creat(); },
       press(pay->FirstBitBtn7),
       {false, true, true, true}},
      {"employee 上一筆", creat, press(pay->PriorBitBtn8), {false, true, true, false}},
      {"employee 下一筆", creat, press(pay->NextBitBtn9), {false, true, true, false}},
      {"employee 最後一筆", creat, press(pay->LastBitBtn10), {false, true, true, false}},
      {"employee 取消", creat, press(pay->CancelBitBtn11), {false, true, false, true}},
      {"change of page", creat, [this] { changePage(); }, {true, true, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    pay->FirstBitBtn7->press();  // edits off, batch send date on
    type(pay->SendDateEdit, "880305");
    changePage();
    c.before();
    c.event_();
    EXPECT_EQ(controls(), c.expected);
    dialogs.clear();
  }
}

TEST_F(PayPage, BatchSendDateGoesIntoEveryLaterEmployeeAndStaysReadOnlyAfterNext) {
  pay->FirstBitBtn7->press();
  type(pay->SendDateEdit, "880305");
  pay->SalaryCreatBitBtn->press();
  pay->SalaryPostBitBtn->press();
  for (const char* number : {"000200", "000300"}) {
    pay->NextBitBtn9->press();
    EXPECT_EQ(shownEmployee(), number);
    EXPECT_FALSE(pay->SendDateEdit->isEnabled());
    EXPECT_EQ(pay->SendDateEdit->text(), "880305");
    pay->SalaryCreatBitBtn->press();
    typeKeys(pay->EmployeePayDBEdit, "5000");
    chooseItem(QStringLiteral("代收稅款"));
    pay->SalaryPostBitBtn->press();
  }
  // Kept across a return to the entry screen and the next login.
  pay->LoginBitBtn12->press();
  m->show();
  EXPECT_EQ(pay->SendDateEdit->text(), "880305");
  EXPECT_TRUE(dialogs.texts().isEmpty());
  Rows added;
  for (const auto& row : entriesOnDisk())
    if (row.find(" 880305 ") != std::string::npos) added.push_back(row);
  EXPECT_EQ(added, (Rows{"000123 880305 36000 薪水轉帳", "000200 880305 5000 代收稅款",
                         "000300 880305 5000 代收稅款"}));
}

TEST_F(PayPage, EveryWayOfLeavingANewEntryDropsItUnwritten) {
  const struct Way {
    const char* name;
    Step leave;
  } ways[] = {
      {"新增 again", press(pay->SalaryCreatBitBtn)},
      {"entry 第一筆", press(pay->SalaryFirstBitBtn)},
      {"entry 上一筆", press(pay->SalaryPriorBitBtn)},
      {"entry 下一筆", press(pay->SalaryNextBitBtn)},
      {"entry 最後一筆", press(pay->SalaryLastBitBtn)},
      {"employee 第一筆", press(pay->FirstBitBtn7)},
      {"employee 上一筆", press(pay->PriorBitBtn8)},
      {"employee 下一筆", press(pay->NextBitBtn9)},
      {"employee 最後一筆", press(pay->LastBitBtn10)},
      {"employee 取消", press(pay->CancelBitBtn11)},
      {"刪除 answered Yes", deleteAnswering(toolkit::mrYes)},
      {"取消", press(pay->SalaryCancelBitBtn)},
      {"search for the same employee",
       [this] {
         m->QueryPanel->N11Click();
         type(m->QueryPanel->QueryEdit, "000123");
         m->QueryPanel->QueryBitBtn->press();
       }},
      {"change of page", [this] { m->PageControl1->setCurrentIndex(2); }},
      {"回登錄畫面", press(pay->LoginBitBtn12)},
      {"close box", [this] { m->close(); }},
  };
  const Rows before = entriesOnDisk();
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    m->show();
    m->PageControl1->setCurrentIndex(1);
    goToEmployee("000123");
    pay->SalaryCreatBitBtn->press();
    typeKeys(pay->EmployeePayDBEdit, "77777");
    way.leave();
    EXPECT_NE(m->EmployeeSalaryTable.FieldByName("PAY").text(), "77777");
    if (pay->SalaryPostBitBtn->isEnabled() && !pendingEntry()) {
      pay->SalaryPostBitBtn->press();  // nothing is left to write
    }
    EXPECT_EQ(entriesOnDisk(), before);
    dialogs.clear();
  }
  // The same at the last employee, where 下一筆 does not move.
  pay->LastBitBtn10->press();
  pay->SalaryCreatBitBtn->press();
  typeKeys(pay->EmployeePayDBEdit, "77777");
  pay->NextBitBtn9->press();
  EXPECT_FALSE(pendingEntry());
  pay->SalaryPostBitBtn->press();
  EXPECT_EQ(entriesOnDisk(), before);
}

TEST_F(PayPage, GridShowsTheEntriesInKeyOrderFollowsTheEmployeeBarAndTakesClicks) {
  goToEmployee("000300");
  auto* grid = pay->DBGrid1;
  const auto column = [grid](int c) {
    QString texts = grid->horizontalHeaderItem(c)->text();
    for (int line = 0; line < grid->rowCount(); ++line) texts += "|" + grid->item(line, c)->text();
    return texts;
  };
  EXPECT_EQ(column(0), QStringLiteral("員工編號|000300|000300|000300"));
  EXPECT_EQ(column(1), QStringLiteral("入帳日|880105|880205|880205"));
  EXPECT_EQ(column(2), QStringLiteral("入帳金額|$9,000.00|$500.00|$1,200.00"));
  EXPECT_EQ(column(3), QStringLiteral("薪資項目|薪水轉帳|退稅|水費"));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualItemRect(grid->item(1, 0)).center());
  EXPECT_EQ(shownEntry(), "880205 $500.00 退稅");
  {
    // Another table object removes the line above: 刪除 still deletes exactly the entry clicked.
    store::Table other(folder.session(), "salary.DB");
    other.Open();
    ASSERT_TRUE(testrows::gotoKey(other, "NUMBER", "000300"));
    other.Delete();
  }
  dialogs.answer(toolkit::mrYes);
  pay->SalaryDeleteBitBtn->press();
  const Rows left = entriesOnDisk();
  EXPECT_EQ(std::count_if(left.begin(), left.end(),
                          [](const std::string& r) { return r.starts_with("000300"); }),
            1);
  EXPECT_NE(std::find(left.begin(), left.end(), "000300 880205 1200 水費"), left.end());
  pay->PriorBitBtn8->press();
  EXPECT_EQ(grid->rowCount(), 0);
  pay->PriorBitBtn8->press();
  EXPECT_EQ(column(1), QStringLiteral("入帳日|880105|880205"));
}

// The classic grid: a new entry has a line of its own, the current line, at the line of the entry
// it was begun on (the latest), showing its values as they change, until it is written (then it
// stands in its place in the order) or dropped.
TEST_F(PayPage, GridShowsTheNewEntryAsTheCurrentLineUntilWrittenOrDropped) {
  auto* grid = pay->DBGrid1;
  const auto lines = [grid] {
    Rows out;
    for (int line = 0; line < grid->rowCount(); ++line) {
      QStringList cells;
      for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(line, c) ? grid->item(line, c)->text() : "?");
      out.push_back(cells.join(' ').toStdString());
    }
    return out;
  };
  const auto marked = [grid] {
    const auto rows = grid->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
  };
  startEntry("000123", "880305");
  EXPECT_EQ(lines(), (Rows{"000123 880105 $35,000.00 薪水轉帳", "000123 880305 $36,000.00 薪水轉帳",
                           "000123 880205 $36,000.00 薪水轉帳"}));
  EXPECT_EQ(marked(), 1);
  typeKeys(pay->EmployeePayDBEdit, "37000");
  chooseItem(QStringLiteral("退稅"));
  EXPECT_EQ(lines()[1], "000123 880305 $37,000.00 退稅");
  pay->SalaryPostBitBtn->press();
  const Rows written = {"000123 880105 $35,000.00 薪水轉帳", "000123 880205 $36,000.00 薪水轉帳",
                        "000123 880305 $37,000.00 退稅"};
  EXPECT_EQ(lines(), written);
  EXPECT_EQ(marked(), 2);

  pay->SalaryCreatBitBtn->press();
  EXPECT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(marked(), 2);
  pay->SalaryCancelBitBtn->press();
  EXPECT_EQ(lines(), written);
  EXPECT_EQ(marked(), 2);

  // Clicking a stored entry drops the new one, as every move does.
  pay->SalaryCreatBitBtn->press();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualItemRect(grid->item(3, 0)).center());
  EXPECT_FALSE(pendingEntry());
  EXPECT_EQ(lines(), written);
  EXPECT_EQ(marked(), 2);
  EXPECT_EQ(shownEntry(), "880305 $37,000.00 退稅");

  goToEmployee("000200");  // no entries: the new one is the only line
  pay->SalaryCreatBitBtn->press();
  EXPECT_EQ(lines(), Rows{"000200 880305  "});
  EXPECT_EQ(marked(), 0);
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

// The transfer file knows exactly these texts, byte for byte.
TEST_F(PayPage, ItemPickListOffersTheSixteenItemsInOrder) {
  const QStringList designed = {"薪水轉帳",       "股利發放",       "退稅",       "事業費用",
                                "代收稅款",       "信用卡款",       "代扣保費",   "保險給付",
                                "電話費",         "瓦斯費",         "電費",       "水費",
                                "批次轉帳(扣款)", "批次轉帳(入帳)", "轉帳(扣款)", "轉帳(入帳)"};
  QStringList offered;
  for (int i = 0; i < pay->SalaryItemDBComboBox->count(); ++i)
    offered << pay->SalaryItemDBComboBox->itemText(i);
  EXPECT_EQ(offered, designed);
  EXPECT_FALSE(pay->SalaryItemDBComboBox->isEditable());
}

TEST_F(PayPage, LookupBoxListsTheCatalogueAndSeesChangesAtTheNextPageChange) {
  auto* lookup = pay->EmployeeSalaryItemDBLookupComboBox;
  EXPECT_FALSE(lookup->isVisible());
  ASSERT_EQ(lookup->count(), 3);
  EXPECT_EQ(lookup->itemText(0) + lookup->itemText(1) + lookup->itemText(2),
            QStringLiteral("股利發放退稅薪水轉帳"));
  type(SalaryItemSetForm->SalaryItemSetEdit, QStringLiteral("年終獎金"));
  SalaryItemSetForm->BitBtn1->press();
  m->PageControl1->setCurrentIndex(0);
  EXPECT_EQ(lookup->count(), 4);
  EXPECT_GE(lookup->findText(QStringLiteral("年終獎金")), 0);
}

}  // namespace
