// Master and detail: the pay entries of the current employee.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/Table.h"

using Texts = std::vector<std::string>;

namespace {

class DetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(s, "000001", "Amy");
    testrows::addEmployee(s, "000002", "Bob");
    testrows::addEmployee(s, "000003", "Cid");  // no entries
    testrows::addEntry(s, "000002", "880201", 200, "本薪");
    testrows::addEntry(s, "000001", "880201", 110, "本薪");
    testrows::addEntry(s, "000002", "880101", 210, "加班費");
    testrows::addEntry(s, "000001", "880101", 100, "本薪");
    testrows::addEntry(s, "000002", "880301", 220, "本薪");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
    salary.SetIndexFieldNames("NUMBER");
    salary.SetMasterSource(&basic, "NUMBER");
    salary.Open();
  }
  // "NUMBER SENDDATE" of every visible detail row.
  Texts detailRows() {
    Texts out;
    salary.First();
    if (salary.IsEmpty()) return out;
    do {
      out.push_back(salary.FieldByName("NUMBER").text() + " " +
                    salary.FieldByName("SENDDATE").text());
      salary.Next();
    } while (!salary.Eof());
    return out;
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
  store::Table salary{s, "salary.DB"};
};

TEST_F(DetailTest, ShowsOnlyTheCurrentEmployeesEntries) {
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  EXPECT_EQ(salary.RecordCount(), 2);
  EXPECT_EQ(detailRows(), (Texts{"000001 880101", "000001 880201"}));
}

TEST_F(DetailTest, FollowsTheMasterAsItMoves) {
  basic.Next();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  EXPECT_EQ(salary.RecordCount(), 3);
  EXPECT_EQ(detailRows(), (Texts{"000002 880101", "000002 880201", "000002 880301"}));
  basic.Next();
  EXPECT_TRUE(salary.IsEmpty());
  EXPECT_EQ(salary.RecordCount(), 0);
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "");
  basic.First();
  EXPECT_EQ(detailRows(), (Texts{"000001 880101", "000001 880201"}));
  basic.SetKey();
  basic.FieldByName("NUMBER").setText("000002");
  ASSERT_TRUE(basic.GotoKey());
  EXPECT_EQ(salary.RecordCount(), 3);
}

TEST_F(DetailTest, FollowsTheMastersLinkFieldAssignedInEditState) {
  basic.Edit();
  basic.FieldByName("NUMBER").setText("000002");
  EXPECT_EQ(salary.RecordCount(), 3);
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
  basic.FieldByName("NUMBER").setText("000009");
  EXPECT_TRUE(salary.IsEmpty());
  basic.Cancel();
  EXPECT_EQ(detailRows(), (Texts{"000001 880101", "000001 880201"}));
}

TEST_F(DetailTest, RenumberingAnEmployeeWithItsEntries) {
  // The employee page's renumbering: the master is edited, the entries shown under the old
  // number are rewritten one by one.
  basic.Edit();
  basic.FieldByName("NUMBER").setText("000009");
  basic.Post();
  EXPECT_TRUE(salary.IsEmpty());
  store::Table entries(s, "salary.DB");
  entries.SetIndexFieldNames("NUMBER");
  entries.Open();
  while (entries.Locate("NUMBER", "000001", store::NoLocateOptions)) {
    entries.Edit();
    entries.FieldByName("NUMBER").setText("000009");
    entries.Post();
  }
  salary.Refresh();
  EXPECT_EQ(detailRows(), (Texts{"000009 880101", "000009 880201"}));
}

TEST_F(DetailTest, NewEmployeeBeingInsertedShowsNoEntriesUntilNumbered) {
  basic.Insert();
  EXPECT_TRUE(salary.IsEmpty());
  basic.FieldByName("NUMBER").setText("000002");
  EXPECT_EQ(salary.RecordCount(), 3);
  basic.FieldByName("NUMBER").setText("000004");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  basic.FieldByName("NAME").setText("Dan");
  basic.Post();
  EXPECT_TRUE(salary.IsEmpty());
  salary.Insert();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000004");
}

TEST_F(DetailTest, NewDetailRowsTakeTheMastersNumber) {
  basic.Next();
  salary.Insert();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
  salary.FieldByName("SENDDATE").setText("880401");
  salary.FieldByName("PAY").setNumber(230);
  salary.FieldByName("SALARYITEM").setText("本薪");
  salary.Post();
  EXPECT_EQ(salary.RecordCount(), 4);
  basic.Next();
  salary.Append();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000003");
  salary.FieldByName("SENDDATE").setText("880401");
  salary.FieldByName("PAY").setNumber(300);
  salary.FieldByName("SALARYITEM").setText("本薪");
  salary.Post();
  EXPECT_EQ(salary.RecordCount(), 1);
  EXPECT_EQ(testrows::entries(s),
            (Texts{"000001 880101 100 本薪", "000001 880201 110 本薪", "000002 880101 210 加班費",
                   "000002 880201 200 本薪", "000002 880301 220 本薪", "000002 880401 230 本薪",
                   "000003 880401 300 本薪"}));
}

TEST_F(DetailTest, DeletingTheLastDetailRowStaysWithTheEmployee) {
  salary.Last();
  salary.Delete();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000001");
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  salary.Delete();
  EXPECT_TRUE(salary.IsEmpty());
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 3);
  basic.Next();
  EXPECT_EQ(salary.RecordCount(), 3);
}

TEST_F(DetailTest, DetailOfAnEmptyMasterShowsNothing) {
  basic.Close();
  store::Table(s, "basic.DB").EmptyTable();
  basic.Open();
  EXPECT_TRUE(basic.IsEmpty());
  EXPECT_TRUE(salary.IsEmpty());
  EXPECT_EQ(salary.RecordCount(), 0);
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 5);
}

TEST_F(DetailTest, UnlinkedDetailShowsEveryRow) {
  salary.SetMasterSource(nullptr, "");
  EXPECT_EQ(salary.RecordCount(), 5);
}

}  // namespace
