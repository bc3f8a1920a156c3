// Finding rows: exact key search (SetKey/GotoKey), Locate with its options, and the row order
// that SetIndexFieldNames chooses.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using store::CaseInsensitive;
using store::EngineError;
using store::NoLocateOptions;
using store::PartialKey;
using testrows::Texts;
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
    // 乙 is A4 41 and 兀 is A4 61 in code page 950: their second bytes are 'A' and 'a'.
    testrows::addEmployee(s, "000006", "兀");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
  }
  std::string at() {
    return basic.FieldByName("NUMBER").text() + " " + basic.FieldByName("NAME").text();
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(SearchTest, GotoKeyFindsTheExactKeyOrReturnsFalseAndStays) {
  for (const auto& [index, key, found, row] : {
           std::tuple{"NUMBER", "000003", true, "000003 王大同"},
           {"NUMBER", "000009", false, "000003 王大同"},
           {"NUMBER", "00000", false, "000003 王大同"},    // a prefix is not the key
           {"NUMBER", "0000010", false, "000003 王大同"},  // wider than the field
           {"NUMBER", "000002", true, "000002 Wang"},
           {"NAME", "wang", true, "000004 wang"},   // the current index is searched
           {"NAME", "WANG", false, "000004 wang"},  // letter case counts
       }) {
    SCOPED_TRACE(key);
    basic.SetIndexFieldNames(index);
    EXPECT_EQ(testrows::gotoKey(basic, index, key), found);
    EXPECT_EQ(at(), row);
    EXPECT_EQ(basic.State(), store::TableState::Browse);
  }
  basic.SetIndexFieldNames("NUMBER");
  basic.Next();
  EXPECT_EQ(at(), "000005 Amy");  // the cursor moved, not just the buffer
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NUMBER"),
            (Texts{"000001", "000002", "000003", "000004", "000005", "000006"}));
}

TEST_F(SearchTest, LocateFindsTheFirstMatchInTheCurrentOrderOrReturnsFalseAndStays) {
  using Case = std::tuple<const char*, const char*, unsigned, const char*>;
  const Case cases[] = {
      // field, value, options, the number then current (null when not found)
      {"NAME", "wang", NoLocateOptions, "000004"},
      {"NAME", "Wang", NoLocateOptions, "000002"},  // before the current row
      {"NAME", "WANG", NoLocateOptions, nullptr},
      {"NAME", "Wan", NoLocateOptions, nullptr},
      {"ID", "Z999999999", NoLocateOptions, nullptr},
      {"NAME", "王大", PartialKey, "000003"},
      {"NAME", "王", PartialKey, "000001"},
      {"NAME", "小明", PartialKey, nullptr},  // a middle part is not a beginning
      {"NAME", "WA", PartialKey, nullptr},
      {"ID", "c323456789", CaseInsensitive, "000003"},
      {"ID", "c3234567", CaseInsensitive, nullptr},
      {"NAME", "WANG", CaseInsensitive, "000002"},  // the first of "Wang" and "wang"
      {"ID", "d42", PartialKey | CaseInsensitive, "000004"},
      {"NAME", "AM", PartialKey | CaseInsensitive, "000005"},
      {"NAME", "乙", CaseInsensitive, nullptr},  // no folding inside Chinese characters
      {"NAME", "乙", PartialKey | CaseInsensitive, nullptr},
      {"NAME", "兀", CaseInsensitive, "000006"},
      {"NUMBER", "000001", NoLocateOptions, "000001"},
  };
  basic.Last();
  std::string number = "000006";
  for (const auto& [field, value, options, found] : cases) {
    SCOPED_TRACE(std::string(field) + " " + value);
    EXPECT_EQ(basic.Locate(field, value, options), found != nullptr);
    if (found) number = found;
    EXPECT_EQ(basic.FieldByName("NUMBER").text(), number);
  }
  EXPECT_EQ(thrownBy([&] { basic.Locate("NOSUCH", "x", NoLocateOptions); }).code,
            EngineError::Code::UnknownField);
}

TEST_F(SearchTest, LocateFindsTheFirstRowInTheCurrentOrder) {
  // Two employees share an ID; NAME order puts 000002 ("Wang") before 000001 ("王小明").
  basic.Next();
  basic.Edit();
  basic.FieldByName("ID").setText("A123456789");
  basic.Post();
  for (const auto& [index, first] : {std::pair{"NAME", "000002"}, {"NUMBER", "000001"}}) {
    basic.SetIndexFieldNames(index);
    basic.Last();
    EXPECT_TRUE(basic.Locate("ID", "A123456789", NoLocateOptions));
    EXPECT_EQ(basic.FieldByName("NUMBER").text(), first) << index;
  }
}

class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEntry(s, "000002", "880101", 100, "本薪");
    testrows::addEntry(s, "000001", "880301", 100, "本薪");
    testrows::addEntry(s, "000001", "870101", 100, "本薪");
    testrows::addEntry(s, "000002", "860101", 100, "本薪");
    testrows::addEntry(s, "000001", "880101", 100, "本薪");
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table salary{s, "salary.DB"};
};

TEST_F(IndexTest, FieldNamesChooseAnIndexRegardlessOfCaseOrTheFirstThatBeginsWithThem) {
  const Texts byNumber{"000001 870101", "000001 880101", "000001 880301", "000002 860101",
                       "000002 880101"};
  const std::pair<const char*, Texts> cases[] = {
      {"senddate",
       {"000002 860101", "000001 870101", "000001 880101", "000002 880101", "000001 880301"}},
      {"Number", byNumber},  // no index on NUMBER alone: the one on NUMBER;SENDDATE
      {"", byNumber},        // the primary key
  };
  salary.Open();
  for (const auto& [names, rows] : cases) {
    SCOPED_TRACE(names);
    salary.SetIndexFieldNames(names);
    EXPECT_EQ(testrows::column(salary, "NUMBER SENDDATE"), rows);
  }
}

TEST_F(IndexTest, ChangingTheOrderOfAnOpenTableKeepsTheCurrentRow) {
  salary.SetIndexFieldNames("NUMBER");
  salary.Open();
  salary.Next();
  ASSERT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  salary.SetIndexFieldNames("SENDDATE");
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000001");
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880101");
  salary.Next();
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
}

TEST_F(IndexTest, GotoKeyComparesOnlyTheAssignedKeyFields) {
  salary.SetIndexFieldNames("NUMBER;SENDDATE");
  salary.Open();
  ASSERT_TRUE(testrows::gotoKey(salary, "NUMBER", "000002"));
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "860101");
  salary.SetKey();
  salary.FieldByName("NUMBER").setText("000001");
  salary.FieldByName("SENDDATE").setText("880301");
  ASSERT_TRUE(salary.GotoKey());
  salary.Next();  // from 000001 880301 on
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000002");
}

TEST_F(IndexTest, UnknownFieldOrFieldWithoutAnIndexIsRefused) {
  // On a closed table the names may be checked when it opens.
  EXPECT_EQ(thrownBy([&] {
              salary.SetIndexFieldNames("NOSUCH");
              salary.Open();
            }).code,
            EngineError::Code::UnknownField);
  salary.SetIndexFieldNames("");
  salary.Open();
  for (const char* names : {"NUMBER;NOSUCH", "PAY"}) {
    EXPECT_EQ(thrownBy([&] { salary.SetIndexFieldNames(names); }).code,
              EngineError::Code::UnknownField)
        << names;
  }
}

}  // namespace
