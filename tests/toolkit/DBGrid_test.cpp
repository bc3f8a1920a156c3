// The pay entries' grid: the current employee's entries, and what happens when other table
// objects, or another program, change the rows between the grid's reading of its lines and the
// clerk's click or key: the row made current is the one shown at the chosen line, or none.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <functional>

#include "employees/EmployeeRules.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DataSource.h"

namespace {

using toolkit::ScriptedDialogs;

const QString kRowGone = QStringLiteral("此筆資料已被刪除或修改,表格已重新讀取");

struct Entry {
  std::string date, pay, item;
  std::string text() const { return date + " " + pay + " " + item; }
};

// Employee 000001's entries, in the grid's order.
const Entry kLines[] = {{"880105", "35000", "薪水轉帳"},
                        {"880205", "1200", "退稅"},
                        {"880205", "36000", "薪水轉帳"},
                        {"880305", "36000", "薪水轉帳"}};

void click(toolkit::DBGrid& grid, int line) {
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                    grid.visualItemRect(grid.item(line, 0)).center());
}

// The pay page's arrangement: employees, their entries as the detail, and the grid over them.
struct EntriesGrid {
  EntriesGrid() : basic(folder.session(), "basic.DB"), salary(folder.session(), "salary.DB") {
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    for (const auto& e : kLines) folder.addEntry("000001", e.date, std::stod(e.pay), e.item);
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
    salary.SetIndexFieldNames("NUMBER");
    salary.SetMasterSource(&basic, "NUMBER");
    salary.Open();
    grid.setMasterLink(&basic, "NUMBER");
    grid.setDataSource(&entries, {{"SENDDATE", QStringLiteral("入帳日")},
                                  {"PAY", QStringLiteral("入帳金額")},
                                  {"SALARYITEM", QStringLiteral("薪資項目")}});
    grid.resize(400, 300);
    grid.show();
  }

  std::string current() {
    if (salary.IsEmpty()) return "";
    return Entry{salary.FieldByName("SENDDATE").text(), salary.FieldByName("PAY").text(),
                 salary.FieldByName("SALARYITEM").text()}
        .text();
  }
  int marked() const {
    const auto rows = grid.selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
  }
  void click(int line) { ::click(grid, line); }

  ScriptedDialogs dialogs;
  TestFolder folder;
  store::Table basic, salary;
  toolkit::DataSource employees{basic}, entries{salary};
  toolkit::DBGrid grid;
};

// Another table object (or another program's, when `session` is another session) standing on
// one entry of employee 000001.
struct OtherObject {
  OtherObject(store::Session& session, const Entry& e) : salary(session, "salary.DB") {
    salary.Open();
    salary.SetKey();
    salary.FieldByName("NUMBER").setText("000001");
    salary.FieldByName("SENDDATE").setText(e.date);
    salary.FieldByName("PAY").setText(e.pay);
    salary.FieldByName("SALARYITEM").setText(e.item);
    if (!salary.GotoKey()) throw std::runtime_error("no entry " + e.text());
  }
  void set(const char* field, const std::string& text) {
    salary.Edit();
    salary.FieldByName(field).setText(text);
    salary.Post();
  }
  store::Table salary;
};

// Another program on the same folder: a session of its own deletes one of 000001's entries.
void deleteInAnotherProgram(const std::filesystem::path& folder, const Entry& e) {
  store::Session program(folder);
  program.AddPassword(store::kTablePassword);
  OtherObject(program, e).salary.Delete();
}

TEST(DBGrid, ShowsItsTitlesAndTheEntriesOfTheCurrentEmployee) {
  EntriesGrid g;
  EXPECT_EQ(g.grid.horizontalHeaderItem(0)->text(), QStringLiteral("入帳日"));
  EXPECT_EQ(g.grid.item(3, 2)->text(), QStringLiteral("薪水轉帳"));
  g.folder.addEntry("000002", "880205", 42000, "股利發放");
  g.basic.Next();
  ASSERT_EQ(g.grid.rowCount(), 1);
  EXPECT_EQ(g.grid.item(0, 2)->text(), QStringLiteral("股利發放"));
}

TEST(DBGrid, ReadsOnlyTheLinesInViewAndFollowsRowsAddedAndDeletedByAnotherObject) {
  EntriesGrid g;
  for (int i = 0; i < 100; ++i)
    g.folder.addEntry("000001", std::to_string(900100 + i), 100, "退稅");
  g.salary.Refresh();
  ASSERT_EQ(g.grid.rowCount(), 104);
  EXPECT_EQ(g.grid.item(103, 0), nullptr);  // far below the view: not read
  g.grid.scrollToBottom();
  ASSERT_NE(g.grid.item(103, 0), nullptr);
  EXPECT_EQ(g.grid.item(103, 0)->text(), "900199");
  OtherObject(g.folder.session(), kLines[0]).salary.Delete();
  g.folder.addEntry("000001", "900300", 1, "退稅");
  g.salary.Last();
  ASSERT_EQ(g.grid.rowCount(), 104);
  EXPECT_EQ(g.grid.item(102, 0)->text(), "900199");
  EXPECT_EQ(g.grid.item(103, 0)->text(), "900300");
  EXPECT_EQ(g.marked(), 103);
  g.click(101);
  EXPECT_EQ(g.current(), "900198 100 退稅");
  EXPECT_EQ(g.marked(), 101);
  EXPECT_TRUE(g.dialogs.texts().isEmpty());
}

TEST(DBGrid, ATableReopenedShowsItsRowsAsTheyAreAndOneLeftClosedShowsNone) {
  EntriesGrid g;
  g.salary.Close();
  g.folder.addEntry("000001", "880401", 100, "退稅");  // written while closed
  g.salary.Open();
  ASSERT_EQ(g.grid.rowCount(), 5);
  EXPECT_EQ(g.grid.item(4, 0)->text(), "880401");
  EXPECT_EQ(g.marked(), 0);
  g.salary.Close();
  QCoreApplication::processEvents();  // the handler that closed it is over
  EXPECT_EQ(g.grid.rowCount(), 0);
}

TEST(DBGrid, AClickMakesTheClickedLinesRowCurrentOrNoneWhateverChangedSinceTheFill) {
  using Change = std::function<void(EntriesGrid&)>;
  const struct {
    const char* name;
    Change change;
    int line;
    bool gone;       // the clicked line's row is no longer there
    int linesAfter;  // when gone: the lines read again
  } cases[] = {
      {"an earlier entry deleted",
       [](EntriesGrid& g) { OtherObject(g.folder.session(), kLines[0]).salary.Delete(); }, 1, false,
       0},
      {"an earlier entry inserted",
       [](EntriesGrid& g) { g.folder.addEntry("000001", "880201", 500, "退稅"); }, 2, false, 0},
      {"the clicked entry deleted",
       [](EntriesGrid& g) { OtherObject(g.folder.session(), kLines[1]).salary.Delete(); }, 1, true,
       3},
      {"the clicked entry's date changed",
       [](EntriesGrid& g) { OtherObject(g.folder.session(), kLines[2]).set("SENDDATE", "880206"); },
       2, true, 4},
      {"the clicked entry moved to another employee",
       [](EntriesGrid& g) { OtherObject(g.folder.session(), kLines[2]).set("NUMBER", "000002"); },
       2, true, 3},
      {"the employee renumbered with its entries",
       [](EntriesGrid& g) {
         store::Table basic(g.folder.session(), "basic.DB"),
             salary(g.folder.session(), "salary.DB");
         basic.Open();
         salary.Open();
         basic.Edit();
         basic.FieldByName("NUMBER").setText("000009");
         employees::renumberEmployee(basic, salary, "000001", "000009");
       },
       1, true, 0},
      {"another program deleted an earlier entry",
       [](EntriesGrid& g) { deleteInAnotherProgram(g.folder.path(), kLines[0]); }, 1, false, 0},
      {"another program deleted the clicked entry",
       [](EntriesGrid& g) { deleteInAnotherProgram(g.folder.path(), kLines[3]); }, 3, true, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EntriesGrid g;
    ASSERT_EQ(g.grid.rowCount(), 4);
    ASSERT_EQ(g.current(), kLines[0].text());
    c.change(g);
    g.click(c.line);
    if (c.gone) {
      EXPECT_EQ(g.current(), kLines[0].text());  // stays where it was
      EXPECT_EQ(g.dialogs.texts(), QStringList{kRowGone});
      EXPECT_EQ(g.grid.rowCount(), c.linesAfter);
      EXPECT_EQ(g.marked(), c.linesAfter > 0 ? 0 : -1);
    } else {
      EXPECT_EQ(g.current(), kLines[c.line].text());
      EXPECT_TRUE(g.dialogs.texts().isEmpty());
      EXPECT_EQ(g.marked(), c.line);
    }
  }
}

TEST(DBGrid, KeysMakeTheRowShownAtTheNewLineCurrentNotTheTablesNeighbour) {
  EntriesGrid g;
  // Rows the table's own Next and Last would reach, which the grid does not show.
  g.folder.addEntry("000001", "880201", 500, "退稅");
  g.folder.addEntry("000001", "880401", 36000, "薪水轉帳");
  g.grid.setFocus();
  const struct {
    Qt::Key key;
    int line;
  } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_End, 3},      {Qt::Key_Up, 2},
               {Qt::Key_Home, 0}, {Qt::Key_PageDown, 3}, {Qt::Key_PageUp, 0}};
  for (const auto& s : steps) {
    SCOPED_TRACE(QTest::toString(s.key));
    QTest::keyClick(&g.grid, s.key);
    EXPECT_EQ(g.grid.currentRow(), s.line);
    EXPECT_EQ(g.current(), kLines[s.line].text());
    EXPECT_EQ(g.marked(), s.line);
  }
  EXPECT_TRUE(g.dialogs.texts().isEmpty());

  // A key onto a line whose row another object deleted: nothing else becomes current.
  OtherObject(g.folder.session(), kLines[1]).salary.Delete();
  QTest::keyClick(&g.grid, Qt::Key_Down);
  EXPECT_EQ(g.current(), kLines[0].text());
  EXPECT_EQ(g.dialogs.texts(), QStringList{kRowGone});
  EXPECT_EQ(g.grid.rowCount(), 5);
  EXPECT_EQ(g.marked(), 0);
}

TEST(DBGrid, ADragMakesTheLineUnderTheMouseCurrent) {
  EntriesGrid g;
  g.folder.addEntry("000001", "880201", 500, "退稅");
  const auto at = [&](int line) { return g.grid.visualItemRect(g.grid.item(line, 0)).center(); };
  QTest::mousePress(g.grid.viewport(), Qt::LeftButton, {}, at(0));
  QTest::mouseMove(g.grid.viewport(), at(2));
  QTest::mouseRelease(g.grid.viewport(), Qt::LeftButton, {}, at(2));
  EXPECT_EQ(g.current(), kLines[2].text());
  EXPECT_EQ(g.marked(), 2);
}

// A new row takes the line of the row current when it was begun, as the current line, and shows
// its values as they are assigned; choosing another line drops it.
TEST(DBGrid, ANewRowIsTheCurrentLineUntilAChosenLineDropsIt) {
  EntriesGrid g;
  g.salary.Next();
  g.salary.Insert();
  ASSERT_EQ(g.grid.rowCount(), 5);
  EXPECT_EQ(g.marked(), 1);
  EXPECT_EQ(g.grid.item(1, 0)->text(), "");
  EXPECT_EQ(g.grid.item(2, 0)->text(), QString::fromStdString(kLines[1].date));
  g.salary.FieldByName("SENDDATE").setText("880401");
  g.salary.FieldByName("PAY").setText("500");
  EXPECT_EQ(g.grid.item(1, 0)->text(), "880401");
  EXPECT_EQ(g.grid.item(1, 1)->text(), "$500.00");
  g.click(3);  // the line of the third entry
  EXPECT_EQ(g.salary.State(), store::TableState::Browse);
  EXPECT_EQ(g.current(), kLines[2].text());
  EXPECT_EQ(g.grid.rowCount(), 4);
  EXPECT_EQ(g.marked(), 2);
}

TEST(DBGrid, LinesReadInAnotherOrderAreReadAgainInsteadOfNamingAnotherRow) {
  // Two entries whose number and date are each other's: in date order the first line's key
  // would name the second entry.
  ScriptedDialogs dialogs;
  TestFolder folder;
  folder.addEntry("000001", "880105", 100, "退稅");
  folder.addEntry("880105", "000001", 100, "退稅");
  store::Table salary(folder.session(), "salary.DB");
  salary.SetIndexFieldNames("NUMBER");
  salary.Open();
  toolkit::DataSource entries(salary);
  toolkit::DBGrid grid;
  grid.setDataSource(&entries, {{"NUMBER", "員工編號"}, {"SENDDATE", "入帳日"}});
  grid.resize(400, 300);
  grid.show();
  salary.SetIndexFieldNames("SENDDATE");
  click(grid, 0);
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000001");
  ASSERT_EQ(grid.item(0, 0)->text(), "880105");  // read again, in date order
  click(grid, 0);
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "880105");
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

}  // namespace
