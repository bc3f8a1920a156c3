// Field values read and written as text and as numbers.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using store::EngineError;
using testrows::Texts;
using testrows::thrownBy;

namespace {

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override { salary.Open(); }
  void startEntry(const std::string& number = "000001") {
    salary.Append();
    salary.FieldByName("NUMBER").setText(number);
    salary.FieldByName("SENDDATE").setText("880101");
    salary.FieldByName("SALARYITEM").setText("本薪");
  }
  store::Field pay() { return salary.FieldByName("PAY"); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table salary{s, "salary.DB"};
};

TEST_F(FieldTest, PayWrittenAsNumberOrTextReadsBackAsBoth) {
  startEntry("000001");
  pay().setNumber(1234.5);
  salary.Post();
  startEntry("000123");
  pay().setText("35000");
  salary.Post();
  store::Table t(s, "salary.DB");
  t.Open();
  EXPECT_DOUBLE_EQ(t.FieldByName("PAY").number(), 1234.5);
  EXPECT_EQ(t.FieldByName("PAY").text(), "1234.5");
  t.Next();
  EXPECT_DOUBLE_EQ(t.FieldByName("PAY").number(), 35000);
  EXPECT_EQ(t.FieldByName("PAY").text(), "35000");
  EXPECT_DOUBLE_EQ(t.FieldByName("NUMBER").number(), 123);  // a string field read as a number
  EXPECT_EQ(t.FieldByName("NUMBER").text(), "000123");
}

TEST_F(FieldTest, EmptyPayIsDistinctFromZero) {
  startEntry();
  pay().setNumber(0);
  salary.Post();
  startEntry();  // PAY left empty
  salary.Post();
  EXPECT_EQ(testrows::entries(s), (Texts{"000001 880101  本薪", "000001 880101 0 本薪"}));
  startEntry();
  pay().setText("500");
  pay().setText("");  // empties the amount again
  EXPECT_TRUE(pay().isNull());
  EXPECT_EQ(thrownBy([&] { salary.Post(); }).code, EngineError::Code::KeyViolation);
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 2);
}

TEST_F(FieldTest, MalformedOrOverWideTextIsRefusedNamingTheFieldAndKeepsTheValue) {
  startEntry();
  pay().setNumber(100);
  for (const auto& [field, text] : {std::pair{"PAY", "abc"},
                                    {"PAY", "12a"},
                                    {"PAY", "1,000"},
                                    {"PAY", "$100"},
                                    {"NUMBER", "0000001"}}) {
    auto thrown = thrownBy([&] { salary.FieldByName(field).setText(text); });
    EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue) << text;
    EXPECT_NE(thrown.message.find(field), std::string::npos) << thrown.message;
  }
  salary.Post();
  EXPECT_EQ(testrows::entries(s), Texts{"000001 880101 100 本薪"});
}

}  // namespace

namespace {

// The amount's text in the transfer file and on the forms: the shortest plain decimal that reads
// back as the same number, never an exponent.
TEST(FormatNumber, GivesTheShortestPlainText) {
  const std::pair<double, const char*> cases[] = {
      {35000, "35000"},
      {-20, "-20"},
      {1234.5, "1234.5"},
      {0.1, "0.1"},
      {0.07, "0.07"},
      {-0.05, "-0.05"},
      {1.005, "1.005"},
      {100.25, "100.25"},
      {999999999999.99, "999999999999.99"},
      {1e15, "1000000000000000"},
      {123456789012345, "123456789012345"},
      {12345678901234.56, "12345678901234.6"},
      {1e-7, "0.0000001"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(store::formatNumber(value), text) << value;
}

}  // namespace
