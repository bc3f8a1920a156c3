// Field values read and written as text and as numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

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

// The texts amounts always had: the fewest of up to 15 significant digits, found by printing
// and reading back each precision in turn, written out without an exponent.
std::string formatNumberByPrintf(double d) {
  if (d == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", d);
  const double target = std::strtod(buf, nullptr);
  int digits = 15;
  for (int p = 1; p < 15; ++p) {
    std::snprintf(buf, sizeof buf, "%.*g", p, d);
    if (std::strtod(buf, nullptr) == target) {
      digits = p;
      break;
    }
  }
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, d);
  std::string s(buf);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const size_t e = s.find('e');
  const int pointAt = std::atoi(s.c_str() + e + 1) + 1;
  std::string mantissa;
  for (char c : s.substr(0, e))
    if (c != '.') mantissa += c;
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out = pointAt <= 0 ? "0." + std::string(-pointAt, '0') + mantissa
                    : pointAt >= int(mantissa.size())
                        ? mantissa + std::string(pointAt - mantissa.size(), '0')
                        : mantissa.substr(0, pointAt) + "." + mantissa.substr(pointAt);
  return negative ? "-" + out : out;
}

TEST(FormatNumber, GivesTheSameTextAsPrintingEachPrecisionOnAMillionAmounts) {
  std::mt19937_64 rng(20261207);
  std::uniform_int_distribution<long long> cents(-99999999999999, 99999999999999);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> scale(-9, 14), kind(0, 3);
  int mismatches = 0;
  for (int i = 0; i < 1000000 && mismatches < 5; ++i) {
    double d = 0;
    switch (kind(rng)) {
      case 0:  // whole cents, up to and beyond the transfer file's 13 characters
        d = static_cast<double>(cents(rng)) / 100;
        break;
      case 1:  // any fraction at any size
        d = unit(rng) * std::pow(10.0, scale(rng));
        break;
      case 2:  // a third, a seventh: no short text
        d = static_cast<double>(cents(rng) / 1000) / (i % 2 ? 3 : 7);
        break;
      default:  // a neighbour of a short amount
        d = std::nextafter(static_cast<double>(cents(rng) / 100000) / 10, i % 2 ? 1e300 : -1e300);
    }
    const std::string expected = formatNumberByPrintf(d);
    if (store::formatNumber(d) != expected) {
      ++mismatches;
      ADD_FAILURE() << std::hexfloat << d << ": " << store::formatNumber(d) << " != " << expected;
    }
  }
}

}  // namespace
