// Ranges on the current index: the purge of months relies on these bounds.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/Table.h"

using Dates = std::vector<std::string>;

namespace {

class RangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEntry(s, "000001", "881201", 100, "本薪");
    testrows::addEntry(s, "000002", "880101", 100, "本薪");
    testrows::addEntry(s, "000001", "871231", 100, "本薪");
    testrows::addEntry(s, "000003", "881130", 100, "本薪");
    testrows::addEntry(s, "000001", "890101", 100, "本薪");
    testrows::addEntry(s, "000001", "880515", 100, "本薪");
    salary.SetIndexFieldNames("SENDDATE");
    salary.Open();
  }
  void applyRange(const std::string& start, const std::string& end) {
    salary.SetRangeStart();
    salary.FieldByName("SENDDATE").setText(start);
    salary.SetRangeEnd();
    salary.FieldByName("SENDDATE").setText(end);
    salary.ApplyRange();
  }
  Dates visible() { return testrows::column(salary, "SENDDATE"); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table salary{s, "salary.DB"};
};

TEST_F(RangeTest, MonthRangeKeepsItsStartMonthAndDropsItsEndMonth) {
  applyRange("8801", "8812");
  EXPECT_EQ(visible(), (Dates{"880101", "880515", "881130"}));
  EXPECT_EQ(salary.RecordCount(), 3);
}

TEST_F(RangeTest, ApplyRangeMakesTheFirstVisibleRowCurrent) {
  salary.Last();
  applyRange("8801", "8812");
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  salary.Last();
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "881130");
  salary.Next();
  EXPECT_TRUE(salary.Eof());
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "881130");
}

TEST_F(RangeTest, RangeOfOneMonthToItselfIsEmpty) {
  applyRange("8805", "8805");
  EXPECT_TRUE(salary.IsEmpty());
  EXPECT_TRUE(salary.Bof());
  EXPECT_TRUE(salary.Eof());
  EXPECT_EQ(salary.RecordCount(), 0);
  EXPECT_EQ(visible(), Dates{});
}

TEST_F(RangeTest, OneMonthAloneEndsAtTheFollowingMonth) {
  applyRange("8805", "8806");
  EXPECT_EQ(visible(), (Dates{"880515"}));
}

TEST_F(RangeTest, BothEndsAreIncluded) {
  applyRange("880101", "881130");
  EXPECT_EQ(visible(), (Dates{"880101", "880515", "881130"}));
}

TEST_F(RangeTest, EmptyStartTextStartsAtTheEarliest) {
  applyRange("", "8812");
  EXPECT_EQ(visible(), (Dates{"871231", "880101", "880515", "881130"}));
}

TEST_F(RangeTest, UnassignedStartStartsAtTheEarliestAndUnassignedEndRunsToTheLast) {
  salary.SetRangeStart();
  salary.SetRangeEnd();
  salary.FieldByName("SENDDATE").setText("8801");
  salary.ApplyRange();
  EXPECT_EQ(visible(), (Dates{"871231"}));
  salary.SetRangeStart();
  salary.FieldByName("SENDDATE").setText("8812");
  salary.SetRangeEnd();
  salary.ApplyRange();
  EXPECT_EQ(visible(), (Dates{"881201", "890101"}));
}

TEST_F(RangeTest, DeletingEveryRowOfARangeLeavesTheOthers) {
  applyRange("8801", "8812");
  while (!salary.IsEmpty()) salary.Delete();
  EXPECT_EQ(salary.RecordCount(), 0);
  EXPECT_EQ(testrows::fileColumn(s, "salary.DB", "SENDDATE", "SENDDATE"),
            (Dates{"871231", "881201", "890101"}));
}

TEST_F(RangeTest, DeletingTheLastRowOfARangeMakesThePreviousRowOfTheRangeCurrent) {
  applyRange("8801", "8812");
  salary.Last();
  salary.Delete();
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880515");
  EXPECT_EQ(salary.RecordCount(), 2);
  salary.First();
  salary.Delete();
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880515");
}

TEST_F(RangeTest, CancelRangeShowsEveryRowAgain) {
  applyRange("8801", "8812");
  salary.CancelRange();
  EXPECT_EQ(salary.RecordCount(), 6);
  EXPECT_EQ(visible(), (Dates{"871231", "880101", "880515", "881130", "881201", "890101"}));
}

TEST_F(RangeTest, NewRangeReplacesTheOldOne) {
  applyRange("8801", "8812");
  applyRange("8812", "9001");
  EXPECT_EQ(visible(), (Dates{"881201", "890101"}));
}

TEST_F(RangeTest, RangeOnTheLeadingFieldOfALongerIndex) {
  salary.Close();
  salary.SetIndexFieldNames("NUMBER");
  salary.Open();
  salary.SetRangeStart();
  salary.FieldByName("NUMBER").setText("000001");
  salary.SetRangeEnd();
  salary.FieldByName("NUMBER").setText("000001");
  salary.ApplyRange();
  EXPECT_EQ(salary.RecordCount(), 4);
  EXPECT_EQ(visible(), (Dates{"871231", "880515", "881201", "890101"}));
}

TEST_F(RangeTest, SearchesStayInsideTheRange) {
  applyRange("8801", "8812");
  EXPECT_FALSE(salary.Locate("SENDDATE", "881201", store::NoLocateOptions));
  salary.SetKey();
  salary.FieldByName("SENDDATE").setText("871231");
  EXPECT_FALSE(salary.GotoKey());
  EXPECT_TRUE(salary.Locate("SENDDATE", "880515", store::NoLocateOptions));
}

}  // namespace
