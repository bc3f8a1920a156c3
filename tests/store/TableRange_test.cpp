// Ranges on the current index: the purge of months relies on these bounds.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using testrows::Texts;

namespace {

class RangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [number, date] : {std::pair{"000001", "881201"},
                                       {"000002", "880101"},
                                       {"000001", "871231"},
                                       {"000003", "881130"},
                                       {"000001", "890101"},
                                       {"000001", "880515"}}) {
      testrows::addEntry(s, number, date, 100, "本薪");
    }
    salary.SetIndexFieldNames("SENDDATE");
    salary.Open();
  }
  // An absent end is left unassigned.
  void applyRange(std::optional<std::string> start, std::optional<std::string> end,
                  const char* field = "SENDDATE") {
    salary.SetRangeStart();
    if (start) salary.FieldByName(field).setText(*start);
    salary.SetRangeEnd();
    if (end) salary.FieldByName(field).setText(*end);
    salary.ApplyRange();
  }
  std::string date() { return salary.FieldByName("SENDDATE").text(); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table salary{s, "salary.DB"};
};

TEST_F(RangeTest, RangeKeepsRowsFromItsStartUpToItsEndInclusive) {
  using End = std::optional<std::string>;
  const std::tuple<End, End, Texts> cases[] = {
      // A month range keeps its start month and drops its end month.
      {"8801", "8812", {"880101", "880515", "881130"}},
      {"8805", "8805", {}},
      {"8805", "8806", {"880515"}},
      {"880101", "881130", {"880101", "880515", "881130"}},
      {"", "8812", {"871231", "880101", "880515", "881130"}},
      {std::nullopt, "8801", {"871231"}},
      {"8812", std::nullopt, {"881201", "890101"}},
  };
  for (const auto& [start, end, dates] : cases) {
    SCOPED_TRACE(start.value_or("-") + ".." + end.value_or("-"));
    applyRange(start, end);
    EXPECT_EQ(salary.RecordCount(), static_cast<long long>(dates.size()));
    EXPECT_EQ(salary.IsEmpty(), dates.empty());
    EXPECT_EQ(salary.Bof() && salary.Eof(), dates.empty());
    EXPECT_EQ(testrows::column(salary, "SENDDATE"), dates);
  }
  salary.CancelRange();
  EXPECT_EQ(salary.RecordCount(), 6);
}

TEST_F(RangeTest, MovesSearchesAndDeletesStayInsideTheRange) {
  salary.Last();
  applyRange("8801", "8812");
  EXPECT_EQ(date(), "880101");  // the first visible row becomes current
  salary.Last();
  salary.Next();
  EXPECT_TRUE(salary.Eof());
  EXPECT_EQ(date(), "881130");
  EXPECT_FALSE(salary.Locate("SENDDATE", "881201", store::NoLocateOptions));
  EXPECT_FALSE(testrows::gotoKey(salary, "SENDDATE", "871231"));
  salary.Delete();
  EXPECT_EQ(date(), "880515");  // the previous row of the range
  while (!salary.IsEmpty()) salary.Delete();
  EXPECT_EQ(testrows::fileColumn(s, "salary.DB", "SENDDATE", "SENDDATE"),
            (Texts{"871231", "881201", "890101"}));
}

TEST_F(RangeTest, RangeOnTheLeadingFieldOfALongerIndex) {
  salary.SetIndexFieldNames("NUMBER");
  applyRange("000001", "000001", "NUMBER");
  EXPECT_EQ(testrows::column(salary, "SENDDATE"), (Texts{"871231", "880515", "881201", "890101"}));
}

}  // namespace
