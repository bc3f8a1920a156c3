// The pay-entry page and the salary item catalogue dialog against their designs, control by
// control: the panel each stands on, its place and size where the design gives them, its caption,
// its hint, the name screen readers get from the label beside it, and the tab order.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTabWidget>
#include <array>

#include "app/TMainMenuForm.h"
#include "pay/SalaryMaintainPage.h"
#include "pay/TSalaryItemSetForm.h"
#include "support/ProgramFixture.h"

namespace {

constexpr int kNone = -1;  // the design gives no value here

// One control as its design draws it: the panel it stands on (empty: the page or the window
// itself), its left, top, width and height relative to that panel, its caption and its hint.
struct Designed {
  const char* name;
  const char* panel;
  int left, top, width, height;
  QString caption = {};  // null: none is given (edits, lists, grids, panels)
  QString hint = {};     // empty: no hint
};

QString captionOf(const QWidget* w) {
  if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
  return {};
}

// What the design states of a control, as one line (values it leaves open read "-"), so that a
// fault shows as the difference of two lines.
std::string line(const Designed& d, const QString& panel, const std::array<int, 4>& place,
                 const QString& caption, const QString& hint) {
  QString out = QString(d.name) + " on " + panel + " at";
  const int given[] = {d.left, d.top, d.width, d.height};
  for (int i = 0; i < 4; ++i) {
    out += given[i] == kNone ? QStringLiteral(" -") : QStringLiteral(" %1").arg(place[i]);
  }
  if (!d.caption.isNull()) out += " 「" + caption + "」";
  out += " hint 「" + hint + "」";
  return out.toStdString();
}

void checkDesign(QWidget* root, std::initializer_list<Designed> controls) {
  for (const Designed& d : controls) {
    auto* w = root->findChild<QWidget*>(d.name);
    ASSERT_TRUE(w) << d.name;
    const QWidget* panel = w->parentWidget();
    const QRect g = w->geometry();
    EXPECT_EQ(line(d, panel == root ? QString() : panel->objectName(),
                   {g.x(), g.y(), g.width(), g.height()}, captionOf(w), w->toolTip()),
              line(d, d.panel, {d.left, d.top, d.width, d.height}, d.caption, d.hint));
  }
}

// Each label's caption names the control it stands beside, for screen readers and test clients
// (its runs of blanks read as one).
void checkLabelNames(QWidget* root) {
  for (const QLabel* label : root->findChildren<QLabel*>()) {
    if (!label->buddy()) continue;
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_EQ(label->buddy()->accessibleName(), label->text().simplified());
  }
}

// The order in which Tab reaches `names`, starting at `first`.
QStringList tabOrder(QWidget* first, const QStringList& names) {
  QStringList order;
  QWidget* w = first;
  do {
    if (names.contains(w->objectName())) order << w->objectName();
    w = w->nextInFocusChain();
  } while (w != first && order.size() < names.size());
  return order;
}

// The first control of `root` that Tab reaches.
QString firstTabStop(QWidget* root) {
  for (QWidget* w = root->nextInFocusChain(); w != root; w = w->nextInFocusChain()) {
    if (root->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus)) return w->objectName();
  }
  return {};
}

class Design : public ProgramFixture {
 protected:
  Design() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    start();
  }
};

TEST_F(Design, PayEntryPageIsPlacedCaptionedAndHintedAsDesigned) {
  ASSERT_TRUE(program);
  SalaryMaintainPage* page = m->SalaryMaintain;
  EXPECT_EQ(m->PageControl1->widget(1), page);
  EXPECT_EQ(m->PageControl1->tabText(1), QStringLiteral("員工單月薪資維護"));

  const QString employeeMove = QStringLiteral("本按鍵為控制員工編號之前進,後退");
  const QString entryMove =
      QStringLiteral("本按鍵為控制員工編號內之所有入帳日期,金額及薪資項目之前一筆,下一筆");
  const QString entryCreat =
      QStringLiteral("本按鍵為控制員工編號內之所有入帳日期,金額及薪資項目之新增");
  const QString entryDelete =
      QStringLiteral("本按鍵為控制員工編號內之所有入帳日期,金額及薪資項目之刪除");
  const QString entryPost =
      QStringLiteral("本按鍵為控制員工編號內之所有入帳日期,金額及薪資項目新增後之寫入");
  const QString sendDateHint = QStringLiteral("若使用本欄,務必於第一位員工中輸入.");
  const QString dateHint = QStringLiteral("請輸入年月日,如880101");
  const QString amountHint = QStringLiteral("請輸入入帳之金額");
  const QString lookupHint = QStringLiteral("請按右邊箭頭,以下拉選單選擇薪資項目");
  checkDesign(
      page,
      {
          {"Panel3", "", 8, 8, 617, 273},
          {"Label1", "Panel3", 16, 8, kNone, kNone, QStringLiteral("員工編號")},
          {"DBEdit1", "Panel3", 104, 8, 137, kNone},
          {"Label2", "Panel3", 272, 8, kNone, kNone, QStringLiteral("員工帳號")},
          {"DBEdit2", "Panel3", 368, 8, 137, kNone},
          {"Label3", "Panel3", 16, 40, kNone, kNone, QStringLiteral("員工姓名")},
          {"DBEdit3", "Panel3", 104, 40, 137, kNone},
          {"Label4", "Panel3", 272, 40, kNone, kNone, QStringLiteral("身分證號")},
          {"DBEdit4", "Panel3", 368, 40, 137, kNone},
          {"Label5", "Panel3", 16, 72, kNone, kNone, QStringLiteral("備       註")},
          {"DBEdit5", "Panel3", 104, 72, 137, kNone},
          {"Panel16", "Panel3", 264, 72, 289, 25, QStringLiteral("請按滑鼠右鍵選擇查詢條件")},
          {"Label6", "Panel3", 16, 104, kNone, kNone, QStringLiteral("請輸入整批入帳日期")},
          {"SendDateEdit", "Panel3", 184, 104, 89, kNone, {}, sendDateHint},
          {"Label7", "Panel3", 16, 136, kNone, kNone, QStringLiteral("入帳日期")},
          {"EmployeeDateDBEdit", "Panel3", 104, 136, 121, kNone, {}, dateHint},
          {"Label8", "Panel3", 272, 136, kNone, kNone, QStringLiteral(" 薪資項目")},
          {"SalaryItemDBComboBox", "Panel3", 352, 136, 153, kNone},
          {"Label9", "Panel3", 16, 168, kNone, kNone, QStringLiteral("入帳金額")},
          {"EmployeePayDBEdit", "Panel3", 104, 168, 217, kNone, {}, amountHint},
          {"EmployeeSalaryItemDBLookupComboBox", "Panel3", 352, 168, 153, kNone, {}, lookupHint},
          {"Panel4", "Panel3", 56, 200, 497, 65},
          {"FirstBitBtn7", "Panel4", 8, kNone, 73, 49, QStringLiteral("第一筆"), employeeMove},
          {"PriorBitBtn8", "Panel4", 80, kNone, 73, 49, QStringLiteral("上一筆"), employeeMove},
          {"NextBitBtn9", "Panel4", 152, kNone, 73, 49, QStringLiteral("下一筆"), employeeMove},
          {"LastBitBtn10", "Panel4", 224, kNone, 81, 49, QStringLiteral("最後一筆"), employeeMove},
          {"CancelBitBtn11", "Panel4", 304, kNone, 73, 49, QStringLiteral("取消"), employeeMove},
          {"LoginBitBtn12", "Panel4", 376, kNone, 97, 49, QStringLiteral("回登錄畫面")},
          {"Panel5", "", 8, 288, 617, 145},
          {"Panel8", "Panel5", 8, 0, 593, 49},
          {"SalaryFirstBitBtn", "Panel8", 8, kNone, kNone, 49, QStringLiteral("第一筆"), entryMove},
          {"SalaryPriorBitBtn", "Panel8", 80, kNone, kNone, 49, QStringLiteral("上一筆"),
           entryMove},
          {"SalaryNextBitBtn", "Panel8", 152, kNone, kNone, 49, QStringLiteral("下一筆"),
           entryMove},
          {"SalaryLastBitBtn", "Panel8", 224, kNone, 89, 49, QStringLiteral("最後一筆"), entryMove},
          {"SalaryCreatBitBtn", "Panel8", 312, kNone, kNone, 49, QStringLiteral("新增"),
           entryCreat},
          {"SalaryDeleteBitBtn", "Panel8", 376, kNone, kNone, 49, QStringLiteral("刪除"),
           entryDelete},
          {"SalaryPostBitBtn", "Panel8", 440, kNone, kNone, 49, QStringLiteral("寫入"), entryPost},
          {"SalaryCancelBitBtn", "Panel8", 512, kNone, kNone, 49, QStringLiteral("取消")},
          {"DBGrid1", "Panel5", 7, 56, 601, 89},
      });
  checkLabelNames(page);

  // The batch send date comes first; the employee's own fields are reached last.
  const QStringList designedOrder = {"SendDateEdit",
                                     "EmployeeDateDBEdit",
                                     "EmployeePayDBEdit",
                                     "SalaryItemDBComboBox",
                                     "DBEdit1",
                                     "DBEdit2",
                                     "DBEdit3",
                                     "DBEdit4",
                                     "DBEdit5"};
  EXPECT_EQ(firstTabStop(page), "SendDateEdit");
  EXPECT_EQ(tabOrder(page->SendDateEdit, designedOrder), designedOrder);

  // As the window is created: the employee shown read-only, the entry edits off, the lookup box
  // off and out of sight.
  for (QWidget* off : std::initializer_list<QWidget*>{
           page->DBEdit1, page->DBEdit2, page->DBEdit3, page->DBEdit4, page->DBEdit5,
           page->EmployeeDateDBEdit, page->EmployeePayDBEdit, page->SalaryItemDBComboBox,
           page->EmployeeSalaryItemDBLookupComboBox}) {
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  }
  EXPECT_TRUE(page->SendDateEdit->isEnabled());
  EXPECT_FALSE(page->EmployeeSalaryItemDBLookupComboBox->isVisibleTo(page));
  EXPECT_EQ(page->SendDateEdit->maxLength(), 6);
  EXPECT_EQ(page->EmployeePayDBEdit->typingLength(), 13);
}

TEST_F(Design, SalaryItemCatalogueIsPlacedAndCaptionedAsDesigned) {
  ASSERT_TRUE(program);
  TSalaryItemSetForm* form = SalaryItemSetForm;
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Ravek-人事薪資管理系統-會計科目設定"));
  EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(form->size(), QSize(808, 608));  // its design size, until it is shown maximised

  checkDesign(
      form,
      {
          {"Panel3", "", 24, 8, 601, 137},
          {"Label3", "Panel3", 104, 8, kNone, kNone, QStringLiteral("本頁操作方式:")},
          {"Label4", "Panel3", 3, 40, kNone, kNone,
           QStringLiteral(
               "1.請先檢查系統預設之薪資項目是否符合貴公司需求 , 若欲刪除預設值 , 請直接")},
          {"Label5", "Panel3", 16, 64, kNone, kNone,
           QStringLiteral("以滑鼠點選該項目使之反白 , 再按刪除鍵即可 .")},
          {"Label6", "Panel3", 5, 92, kNone, kNone,
           QStringLiteral(
               "2.若欲薪資項目 , 請直接於右下表中輸入貴公司之薪資項目後 , 再按 \" 確定 \" 鍵")},
          {"Label7", "Panel3", 0, 112, kNone, kNone, QStringLiteral("    即可.")},
          {"Panel1", "", 24, 160, 289, 273},
          {"Label2", "Panel1", 27, 24, kNone, kNone, QStringLiteral("貴公司目前已存在的薪資項目")},
          {"DBLookupListBox1", "Panel1", 40, 56, 193, 79},
          // Two pixels narrower than designed: at its designed 121 it would run three pixels
          // under 取消 beside it.
          {"DeleteSalaryItemSetBitBtn", "Panel1", 40, 200, 119, 57, QStringLiteral("刪除薪資項目")},
          {"BitBtn3", "Panel1", 158, 200, 75, 57, QStringLiteral("取消")},
          {"Panel2", "", 336, 160, 289, 273},
          {"Label1", "Panel2", 46, 56, kNone, kNone, QStringLiteral("請輸入貴公司薪資項目")},
          {"SalaryItemSetEdit", "Panel2", 40, 88, 193, kNone},
          {"BitBtn1", "Panel2", 38, 200, 75, 57, QStringLiteral("確定")},
          {"BitBtn2", "Panel2", 158, 200, 75, 57, QStringLiteral("取消")},
      });
  checkLabelNames(form);

  // The focus starts in the edit of a new item.
  EXPECT_EQ(form->focusWidget(), form->SalaryItemSetEdit);
}

}  // namespace
