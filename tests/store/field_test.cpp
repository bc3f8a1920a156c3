// Field values read and written as text and as numbers.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Table.h"

using store::EngineError;
using testrows::thrownBy;

namespace {

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override { salary.Open(); }
  void startEntry(const std::string& number, const std::string& date, const std::string& item) {
    salary.Append();
    salary.FieldByName("NUMBER").setText(number);
    salary.FieldByName("SENDDATE").setText(date);
    salary.FieldByName("SALARYITEM").setText(item);
  }
  // A table object of its own reading the single row written.
  store::Field reread(store::Table& t, const char* field) {
    t.Open();
    EXPECT_EQ(t.RecordCount(), 1);
    return t.FieldByName(field);
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table salary{s, "salary.DB"};
};

TEST_F(FieldTest, PayWrittenAsNumberReadsBackAsNumberAndText) {
  startEntry("000001", "880101", "本薪");
  salary.FieldByName("PAY").setNumber(1234.5);
  salary.Post();
  store::Table t(s, "salary.DB");
  store::Field pay = reread(t, "PAY");
  EXPECT_FALSE(pay.isNull());
  EXPECT_DOUBLE_EQ(pay.number(), 1234.5);
  EXPECT_EQ(pay.text(), "1234.5");
  EXPECT_EQ(pay.type(), store::FieldType::Currency);
}

TEST_F(FieldTest, PayWrittenAsTextReadsBackAsNumber) {
  startEntry("000001", "880101", "本薪");
  salary.FieldByName("PAY").setText("35000");
  salary.Post();
  store::Table t(s, "salary.DB");
  store::Field pay = reread(t, "PAY");
  EXPECT_DOUBLE_EQ(pay.number(), 35000);
  EXPECT_EQ(pay.text(), "35000");
}

TEST_F(FieldTest, StringFieldReadsAsNumber) {
  startEntry("000123", "880101", "本薪");
  salary.Post();
  EXPECT_DOUBLE_EQ(salary.FieldByName("NUMBER").number(), 123);
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000123");
}

TEST_F(FieldTest, EmptyPayIsNullAndDistinctFromZero) {
  startEntry("000001", "880101", "本薪");
  salary.FieldByName("PAY").setNumber(0);
  salary.Post();
  startEntry("000001", "880101", "本薪");  // PAY left empty
  salary.Post();
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 2);

  store::Table t(s, "salary.DB");
  t.Open();
  int nulls = 0, zeros = 0;
  do {
    store::Field pay = t.FieldByName("PAY");
    if (pay.isNull()) {
      ++nulls;
      EXPECT_EQ(pay.text(), "");
    } else if (pay.number() == 0) {
      ++zeros;
      EXPECT_EQ(pay.text(), "0");
    }
    t.Next();
  } while (!t.Eof());
  EXPECT_EQ(nulls, 1);
  EXPECT_EQ(zeros, 1);
}

TEST_F(FieldTest, SecondEmptyPayEntryIsADuplicate) {
  startEntry("000001", "880101", "本薪");
  salary.Post();
  startEntry("000001", "880101", "本薪");
  EXPECT_EQ(thrownBy([&] { salary.Post(); }).code, EngineError::Code::KeyViolation);
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 1);
}

TEST_F(FieldTest, EmptyTextEmptiesANumberField) {
  startEntry("000001", "880101", "本薪");
  salary.FieldByName("PAY").setText("500");
  salary.FieldByName("PAY").setText("");
  EXPECT_TRUE(salary.FieldByName("PAY").isNull());
  salary.Post();
  store::Table t(s, "salary.DB");
  EXPECT_TRUE(reread(t, "PAY").isNull());
}

TEST_F(FieldTest, MalformedAmountIsRefusedAndNothingWritten) {
  startEntry("000001", "880101", "本薪");
  salary.FieldByName("PAY").setNumber(100);
  for (const char* text : {"abc", "12a", "1,000", "$100"}) {
    auto thrown = thrownBy([&] { salary.FieldByName("PAY").setText(text); });
    EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue) << text;
    EXPECT_NE(thrown.message.find("PAY"), std::string::npos) << thrown.message;
  }
  EXPECT_DOUBLE_EQ(salary.FieldByName("PAY").number(), 100);
  salary.Cancel();
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 0);
}

TEST_F(FieldTest, TextWiderThanItsFieldIsRefusedNotCut) {
  startEntry("000001", "880101", "本薪");
  auto thrown = thrownBy([&] { salary.FieldByName("NUMBER").setText("0000001"); });
  EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue);
  EXPECT_NE(thrown.message.find("NUMBER"), std::string::npos) << thrown.message;
  EXPECT_EQ(salary.FieldByName("NUMBER").text(), "000001");
  salary.Post();
  EXPECT_EQ(testrows::fileColumn(s, "salary.DB", "NUMBER"), std::vector<std::string>{"000001"});
}

TEST_F(FieldTest, FieldDescribesItsDefinition) {
  store::Field name = salary.FieldByName("salaryitem");  // names match in any letter case
  EXPECT_EQ(name.name(), "SALARYITEM");
  EXPECT_EQ(name.type(), store::FieldType::String);
  EXPECT_EQ(name.width(), 20);
}

TEST_F(FieldTest, UnknownFieldNameIsAnError) {
  auto thrown = thrownBy([&] { salary.FieldByName("SALARY"); });
  EXPECT_EQ(thrown.code, EngineError::Code::UnknownField);
  EXPECT_NE(thrown.message.find("SALARY"), std::string::npos) << thrown.message;
}

TEST_F(FieldTest, FieldHandleFollowsTheCurrentRow) {
  testrows::addEntry(s, "000001", "880101", 100, "本薪");
  testrows::addEntry(s, "000002", "880101", 200, "本薪");
  salary.Refresh();
  salary.First();
  store::Field pay = salary.FieldByName("PAY");
  EXPECT_DOUBLE_EQ(pay.number(), 100);
  salary.Next();
  EXPECT_DOUBLE_EQ(pay.number(), 200);
}

}  // namespace
