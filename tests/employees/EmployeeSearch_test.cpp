// The employee search: the criterion menu on both pages, the floating panel, the exact number
// search and the case-sensitive prefix searches, and their messages.

#include <QContextMenuEvent>
#include <QMenu>

#include "EmployeeFixture.h"

namespace {

const QString kNotFound = QStringLiteral("查無此資料,請確認資料是否存在,並重新輸入");

class Search : public EmployeeFixture {
 protected:
  // Chooses the criterion from the menu, types the text and presses 開始查詢.
  void find(QAction* criterion, const QString& text) {
    criterion->trigger();
    type(search->QueryEdit, text);
    search->QueryBitBtn->press();
  }
  bool panelShown() const { return search->isVisibleTo(m); }
};

TEST_F(Search, NumberSearchIsExact) {
  find(search->N11, "002345");
  EXPECT_EQ(shownNumber(), "002345");
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(search->QueryEdit->text().isEmpty());

  find(search->N11, "2345");
  EXPECT_EQ(dialogs.texts(), QStringList{kNotFound});
  EXPECT_EQ(shownNumber(), "000001");  // the first employee, not the one shown before
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(search->QueryEdit->text().isEmpty());
}

TEST_F(Search, NumberSearchForTextTheTableCannotHoldFindsNothing) {
  page->LastBitBtn1->press();
  find(search->N11, QStringLiteral("😀"));
  EXPECT_EQ(dialogs.texts(), QStringList{kNotFound});
  EXPECT_EQ(shownNumber(), "000001");
  EXPECT_EQ(m->EmployeeBasicTable.State(), store::TableState::Browse);
}

TEST_F(Search, FailedPrefixSearchKeepsTheCurrentEmployee) {
  page->LastBitBtn1->press();
  find(search->N21, QStringLiteral("張"));
  EXPECT_EQ(dialogs.texts(), QStringList{kNotFound});
  EXPECT_EQ(shownNumber(), "003000");
  EXPECT_FALSE(panelShown());
}

TEST_F(Search, NameSearchFindsANameBeginningWithTheText) {
  find(search->N21, QStringLiteral("李"));
  EXPECT_EQ(shownNumber(), "002345");
  page->FirstBitBtn1->press();
  find(search->N21, QStringLiteral("王大"));
  EXPECT_EQ(shownNumber(), "003000");
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(Search, IdSearchMatchesLetterCase) {
  find(search->N41, "c12");
  EXPECT_EQ(dialogs.texts(), QStringList{kNotFound});
  EXPECT_EQ(shownNumber(), "000001");
  find(search->N41, "C12");
  EXPECT_EQ(shownNumber(), "003000");
  EXPECT_EQ(dialogs.texts().size(), 1);
}

TEST_F(Search, ChangingTheCriterionChangesThePromptAndKeepsTheText) {
  search->N21->trigger();
  EXPECT_TRUE(panelShown());
  EXPECT_EQ(search->QueryLabel->text(), QStringLiteral("請輸入員工姓名 :"));
  type(search->QueryEdit, "2222");
  search->N31->trigger();
  EXPECT_EQ(search->QueryLabel->text(), QStringLiteral("請輸入員工帳號 :"));
  EXPECT_EQ(search->QueryEdit->text(), "2222");
  EXPECT_EQ(m->SearchCriterion, 3);
  search->QueryBitBtn->press();
  EXPECT_EQ(shownNumber(), "002345");
}

TEST_F(Search, SearchWithoutACriterionAsksForOneAndKeepsThePanel) {
  search->show();
  type(search->QueryEdit, "002345");
  search->QueryBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("請選擇查詢條件")});
  EXPECT_TRUE(panelShown());
  EXPECT_TRUE(search->QueryEdit->text().isEmpty());
  EXPECT_EQ(shownNumber(), "000001");
}

TEST_F(Search, CancelEmptiesAndHidesThePanelAndKeepsTheCriterion) {
  search->N41->trigger();
  type(search->QueryEdit, "B2");
  search->BitBtn5->press();
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(search->QueryEdit->text().isEmpty());
  search->show();
  type(search->QueryEdit, "B2");
  search->QueryBitBtn->press();
  EXPECT_EQ(shownNumber(), "002345");
}

TEST_F(Search, RightClickOnEitherPagesPanelOpensTheCriterionMenu) {
  QWidget* panels[] = {page->Panel15, m->SalaryMaintain->Panel16};
  for (int i = 0; i < 2; ++i) {
    m->PageControl1->setCurrentIndex(i);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            panels[i]->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panels[i], &click);
    QMenu* menu = search->EmployeeSearchPopupMenu;
    ASSERT_TRUE(menu->isVisible()) << "page " << i;
    QStringList captions;
    for (auto* a : menu->actions()) captions << a->text();
    EXPECT_EQ(
        captions,
        (QStringList{"1.請輸入員工編號以查詢員工資料", "2.請輸入員工姓名以查詢員工資料",
                     "3.請輸入員工帳號以查詢員工資料", "4.請輸入員工身分證號以查詢員工資料"}));
    menu->hide();
  }
}

TEST_F(Search, SearchFromThePayEntryPageShowsTheFoundEmployeesEntries) {
  auto* pay = m->SalaryMaintain;
  m->PageControl1->setCurrentIndex(1);
  find(search->N21, QStringLiteral("李"));
  EXPECT_EQ(pay->DBEdit1->text(), "002345");
  EXPECT_EQ(pay->DBGrid1->rowCount(), 3);
}

}  // namespace
