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

TEST_F(Search, NumberSearchIsExactAndAFailureLandsOnTheFirstEmployee) {
  find(search->N11, "002345");
  EXPECT_EQ(shownNumber(), "002345");
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(search->QueryEdit->text().isEmpty());

  for (const QString& text : {QStringLiteral("2345"), QStringLiteral("😀")}) {
    page->LastBitBtn1->press();
    find(search->N11, text);
    EXPECT_EQ(shownNumber(), "000001");
    EXPECT_FALSE(panelShown());
    EXPECT_TRUE(search->QueryEdit->text().isEmpty());
  }
  EXPECT_EQ(dialogs.texts(), (QStringList{kNotFound, kNotFound}));
}

// From the pay-entry page, whose employee bar follows the search.
TEST_F(Search, PrefixSearchesMatchTheBeginningInItsLetterCaseOrStay) {
  m->PageControl1->setCurrentIndex(1);
  const struct {
    QAction* criterion;
    QString text;
    QString lands;  // empty: not found, the employee stays
  } cases[] = {
      {search->N41, "c12", {}},
      {search->N21, QStringLiteral("李"), "002345"},
      {search->N21, QStringLiteral("王大"), "003000"},
      {search->N21, QStringLiteral("張"), {}},
      {search->N31, "2222", "002345"},
      {search->N41, "C12", "003000"},
  };
  QString at = "000001";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    dialogs.clear();
    find(c.criterion, c.text);
    if (!c.lands.isEmpty()) at = c.lands;
    EXPECT_EQ(m->SalaryMaintain->DBEdit1->text(), at);
    EXPECT_EQ(dialogs.texts(), c.lands.isEmpty() ? QStringList{kNotFound} : QStringList{});
    EXPECT_FALSE(panelShown());
  }
}

TEST_F(Search, ChangingTheCriterionChangesThePromptAndKeepsTheText) {
  search->N21->trigger();
  EXPECT_TRUE(panelShown());
  EXPECT_EQ(search->QueryLabel->text(), QStringLiteral("請輸入員工姓名 :"));
  type(search->QueryEdit, "2222");
  search->N31->trigger();
  EXPECT_EQ(search->QueryLabel->text(), QStringLiteral("請輸入員工帳號 :"));
  EXPECT_EQ(search->QueryEdit->accessibleName(), QStringLiteral("請輸入員工帳號 :"));
  EXPECT_EQ(search->QueryEdit->text(), "2222");
  search->QueryBitBtn->press();
  EXPECT_EQ(shownNumber(), "002345");
}

TEST_F(Search, SearchWithoutACriterionAsksForOneAndKeepsThePanel) {
  search->show();
  type(search->QueryEdit, "002345");
  search->QueryBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("請選擇查詢條件")});
  EXPECT_TRUE(panelShown());
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
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_EQ(menu->actions()[3]->text(), QStringLiteral("4.請輸入員工身分證號以查詢員工資料"));
    menu->hide();
  }
}

}  // namespace
