// Finding rows: exact key search (SetKey/GotoKey) and Locate with its options.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Table.h"

using store::CaseInsensitive;
using store::NoLocateOptions;
using store::PartialKey;
using testrows::thrownBy;

namespace {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(s, "000001", "王小明", "A123456789");
    testrows::addEmployee(s, "000002", "Wang", "b223456789");
    testrows::addEmployee(s, "000003", "王大同", "C323456789");
    testrows::addEmployee(s, "000004", "wang", "D423456789");
    testrows::addEmployee(s, "000005", "Amy", "E523456789");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
  }
  std::string number() { return basic.FieldByName("NUMBER").text(); }
  bool gotoNumber(const std::string& n) {
    basic.SetKey();
    basic.FieldByName("NUMBER").setText(n);
    return basic.GotoKey();
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(SearchTest, GotoKeyFindsTheExactKeyAndMovesThere) {
  EXPECT_TRUE(gotoNumber("000003"));
  EXPECT_EQ(number(), "000003");
  EXPECT_EQ(basic.FieldByName("NAME").text(), "王大同");
  EXPECT_EQ(basic.State(), store::TableState::Browse);
  basic.Next();
  EXPECT_EQ(number(), "000004");  // the cursor moved, not just the buffer
}

TEST_F(SearchTest, GotoKeyNotFoundReturnsFalseAndStays) {
  basic.Next();
  EXPECT_FALSE(gotoNumber("000009"));
  EXPECT_EQ(number(), "000002");
  EXPECT_EQ(basic.State(), store::TableState::Browse);
  EXPECT_FALSE(gotoNumber("00000"));  // a prefix is not an exact key
  EXPECT_EQ(number(), "000002");
  EXPECT_FALSE(gotoNumber("0000010"));  // wider than the field: matches no row
  EXPECT_EQ(number(), "000002");
}

TEST_F(SearchTest, GotoKeyDoesNotChangeTheCurrentRowsValues) {
  basic.Next();
  gotoNumber("000009");
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NUMBER", "NUMBER"),
            (std::vector<std::string>{"000001", "000002", "000003", "000004", "000005"}));
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Wang");
}

TEST_F(SearchTest, GotoKeySearchesTheCurrentIndex) {
  basic.SetIndexFieldNames("NAME");
  basic.SetKey();
  basic.FieldByName("NAME").setText("王大同");
  EXPECT_TRUE(basic.GotoKey());
  EXPECT_EQ(number(), "000003");
  basic.SetKey();
  basic.FieldByName("NAME").setText("WANG");  // exact: letter case counts
  EXPECT_FALSE(basic.GotoKey());
  EXPECT_EQ(number(), "000003");
}

TEST_F(SearchTest, GotoKeyOnTwoFieldsComparesOnlyTheAssignedOnes) {
  testrows::addEntry(s, "000002", "880301", 300, "本薪");
  testrows::addEntry(s, "000002", "880101", 100, "本薪");
  testrows::addEntry(s, "000003", "880101", 200, "本薪");
  store::Table salary(s, "salary.DB");
  salary.SetIndexFieldNames("NUMBER;SENDDATE");
  salary.Open();
  salary.SetKey();
  salary.FieldByName("NUMBER").setText("000002");
  salary.FieldByName("SENDDATE").setText("880301");
  ASSERT_TRUE(salary.GotoKey());
  EXPECT_EQ(salary.FieldByName("PAY").number(), 300);
  salary.SetKey();
  salary.FieldByName("NUMBER").setText("000003");
  ASSERT_TRUE(salary.GotoKey());
  EXPECT_EQ(salary.FieldByName("PAY").number(), 200);
}

TEST_F(SearchTest, LocateWithoutOptionsMatchesWholeValueAndCase) {
  EXPECT_TRUE(basic.Locate("NAME", "wang", NoLocateOptions));
  EXPECT_EQ(number(), "000004");
  EXPECT_TRUE(basic.Locate("NAME", "Wang", NoLocateOptions));
  EXPECT_EQ(number(), "000002");
  EXPECT_FALSE(basic.Locate("NAME", "WANG", NoLocateOptions));
  EXPECT_EQ(number(), "000002");
  EXPECT_FALSE(basic.Locate("NAME", "Wan", NoLocateOptions));
  EXPECT_EQ(number(), "000002");
}

TEST_F(SearchTest, LocateNotFoundReturnsFalseAndStays) {
  basic.Last();
  EXPECT_FALSE(basic.Locate("ID", "Z999999999", NoLocateOptions));
  EXPECT_EQ(number(), "000005");
  EXPECT_FALSE(basic.Locate("NAME", "王", NoLocateOptions));
  EXPECT_EQ(number(), "000005");
}

TEST_F(SearchTest, LocateWithPartialKeyMatchesTheBeginning) {
  basic.Last();
  EXPECT_TRUE(basic.Locate("NAME", "王大", PartialKey));
  EXPECT_EQ(number(), "000003");
  EXPECT_TRUE(basic.Locate("NAME", "王", PartialKey));
  EXPECT_EQ(number(), "000001");
  EXPECT_FALSE(basic.Locate("NAME", "小明", PartialKey));  // a middle part is not a beginning
  EXPECT_EQ(number(), "000001");
  EXPECT_FALSE(basic.Locate("NAME", "WA", PartialKey));
  EXPECT_EQ(number(), "000001");
}

TEST_F(SearchTest, LocateCaseInsensitiveIgnoresLetterCase) {
  EXPECT_TRUE(basic.Locate("ID", "b223456789", CaseInsensitive));
  EXPECT_EQ(number(), "000002");
  EXPECT_TRUE(basic.Locate("ID", "c323456789", CaseInsensitive));
  EXPECT_EQ(number(), "000003");
  EXPECT_FALSE(basic.Locate("ID", "c3234567", CaseInsensitive));
  EXPECT_TRUE(basic.Locate("NAME", "WANG", CaseInsensitive));
  EXPECT_EQ(number(), "000002");  // the first in NUMBER order of "Wang" and "wang"
}

TEST_F(SearchTest, LocateWithBothOptions) {
  basic.Last();
  EXPECT_TRUE(basic.Locate("ID", "d42", PartialKey | CaseInsensitive));
  EXPECT_EQ(number(), "000004");
  EXPECT_TRUE(basic.Locate("NAME", "AM", PartialKey | CaseInsensitive));
  EXPECT_EQ(number(), "000005");
}

TEST_F(SearchTest, LocateCaseInsensitiveDoesNotFoldBytesInsideChineseCharacters) {
  // 乙 is A4 41 and 兀 is A4 61 in code page 950: their second bytes are 'A' and 'a'.
  testrows::addEmployee(s, "000006", "兀");
  basic.Refresh();
  EXPECT_FALSE(basic.Locate("NAME", "乙", CaseInsensitive));
  EXPECT_FALSE(basic.Locate("NAME", "乙", PartialKey | CaseInsensitive));
  EXPECT_TRUE(basic.Locate("NAME", "兀", CaseInsensitive));
  EXPECT_EQ(number(), "000006");
}

TEST_F(SearchTest, LocateFindsTheFirstRowInTheCurrentOrder) {
  // Two employees share an ID; NAME order puts 000002 ("Wang") before 000001 ("王小明"),
  // while the ID and NUMBER orders put 000001 first.
  store::Table t(s, "basic.DB");
  t.Open();
  t.Next();
  t.Edit();
  t.FieldByName("ID").setText("A123456789");
  t.Post();
  basic.Close();
  basic.SetIndexFieldNames("NAME");
  basic.Open();
  basic.Last();
  EXPECT_TRUE(basic.Locate("ID", "A123456789", NoLocateOptions));
  EXPECT_EQ(number(), "000002");
  basic.SetIndexFieldNames("NUMBER");
  basic.Last();
  EXPECT_TRUE(basic.Locate("ID", "A123456789", NoLocateOptions));
  EXPECT_EQ(number(), "000001");
}

TEST_F(SearchTest, LocateFindsRowsBeforeTheCurrentOne) {
  basic.Last();
  EXPECT_TRUE(basic.Locate("NUMBER", "000001", NoLocateOptions));
  EXPECT_EQ(basic.FieldByName("NAME").text(), "王小明");
}

TEST_F(SearchTest, LocateOnAnUnknownFieldFails) {
  EXPECT_EQ(thrownBy([&] { basic.Locate("NOSUCH", "x", NoLocateOptions); }).code,
            store::EngineError::Code::UnknownField);
}

}  // namespace
