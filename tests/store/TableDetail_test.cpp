// Master and detail: the pay entries of the current employee.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using testrows::Texts;

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
  // The row count and "NUMBER SENDDATE" of every visible detail row.
  void expectDetail(const Texts& rows) {
    EXPECT_EQ(salary.RecordCount(), static_cast<long long>(rows.size()));
    EXPECT_EQ(testrows::column(salary, "NUMBER SENDDATE"), rows);
  }
  void postEntry(const std::string& date, double pay) {
    salary.FieldByName("SENDDATE").setText(date);
    salary.FieldByName("PAY").setNumber(pay);
    salary.FieldByName("SALARYITEM").setText("本薪");
    salary.Post();
  }

  const Texts amy{"000001 880101", "000001 880201"};
  const Texts bob{"000002 880101", "000002 880201", "000002 880301"};
  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
  store::Table salary{s, "salary.DB"};
};

TEST_F(DetailTest, FollowsTheMasterAsItMoves) {
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  expectDetail(amy);
  basic.Next();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
  expectDetail(bob);
  basic.Next();
  EXPECT_TRUE(salary.IsEmpty());
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "");
  expectDetail({});
  basic.First();
  expectDetail(amy);
  ASSERT_TRUE(testrows::gotoKey(basic, "NUMBER", "000002"));
  expectDetail(bob);
}

TEST_F(DetailTest, FollowsTheMastersLinkFieldAssignedInEditOrInsertState) {
  basic.Edit();
  basic.FieldByName("NUMBER").setText("000002");
  expectDetail(bob);
  basic.FieldByName("NUMBER").setText("000009");
  expectDetail({});
  basic.Cancel();
  expectDetail(amy);
  basic.Insert();
  expectDetail({});
  basic.FieldByName("NUMBER").setText("000002");
  expectDetail(bob);
}

TEST_F(DetailTest, NewDetailRowsTakeTheMastersNumber) {
  basic.Next();
  salary.Insert();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
  postEntry("880401", 230);
  EXPECT_EQ(salary.RecordCount(), 4);
  basic.Next();
  salary.Append();
  postEntry("880401", 300);
  expectDetail({"000003 880401"});
  basic.Insert();
  basic.FieldByName("NUMBER").setText("000004");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  basic.FieldByName("NAME").setText("Dan");
  basic.Post();
  salary.Insert();
  postEntry("880401", 400);
  EXPECT_EQ(testrows::fileColumn(s, "salary.DB", "NUMBER PAY", "NUMBER"),
            (Texts{"000001 100", "000001 110", "000002 210", "000002 200", "000002 220",
                   "000002 230", "000003 300", "000004 400"}));
}

TEST_F(DetailTest, DeletingInTheDetailStaysWithTheEmployeeAndAnEmptyMasterShowsNone) {
  salary.Last();
  salary.Delete();
  expectDetail({"000001 880101"});
  store::Table(s, "basic.DB").EmptyTable();
  basic.Refresh();
  expectDetail({});
  salary.SetMasterSource(nullptr, "");  // unlinked: every row
  EXPECT_EQ(salary.RecordCount(), 4);
}

TEST_F(DetailTest, FollowsTheMasterThroughCloseAndOpenAndStaysPutWhenNothingChanged) {
  basic.Next();
  salary.Next();
  basic.Close();
  EXPECT_TRUE(salary.IsEmpty());
  expectDetail({});
  basic.Open();  // back on the first employee
  expectDetail(amy);
  basic.Next();
  salary.Next();
  basic.Refresh();  // the same employee, nothing written: the detail keeps its row
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880201");
  testrows::addEntry(s, "000002", "880001", 1, "本薪");  // written by another object
  basic.Refresh();
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880001");
  expectDetail({"000002 880001", "000002 880101", "000002 880201", "000002 880301"});
}

}  // namespace
