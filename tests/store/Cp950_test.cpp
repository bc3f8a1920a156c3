// Code page 950 text: what is stored, what is refused, and where over-wide text would break.

#include <gtest/gtest.h>

#include "store/Cp950.h"
#include "support/TestRows.h"

using store::EngineError;
using testrows::Texts;
using testrows::thrownBy;
namespace cp950 = store::cp950;

namespace {

// 許 B3 5C, 功 A5 5C, 蓋 BB 5C: their second byte is the backslash.
const std::string kXuGongGai = "\xB3\x5C\xA5\x5C\xBB\x5C";

TEST(Cp950Codec, EncodesAndDecodesBackslashCharactersTheWindowsExtensionsAndAscii) {
  for (const auto& [text, bytes] : {std::pair<std::string, std::string>{"許功蓋", kXuGongGai},
                                    {"碁", "\xF9\xD6"},
                                    {"€", "\xA3\xE1"},
                                    {"A1 b\\", "A1 b\\"}}) {
    auto r = cp950::encode(text);
    ASSERT_TRUE(r.ok()) << text;
    EXPECT_EQ(r.bytes, bytes) << text;
    EXPECT_EQ(cp950::decode(bytes), text);
  }
  EXPECT_EQ(cp950::decode("a\xA4"), "a\xEF\xBF\xBD");  // a lead byte without its second byte
}

// Invisible characters and C1 controls: the converter alone would drop them or pass them as
// single bytes ("王<U+200B>" stored as "王"); they are refused and shown by their code point.
TEST(Cp950Codec, RefusesWhatCodePage950CannotHoldOrWouldDropAndSaysWhere) {
  for (const auto& [text, bad, index, shown] :
       {std::tuple<const char*, const char*, std::size_t, const char*>{"王堃", "堃", 1, "堃"},
        {"a𠀀", "𠀀", 1, "𠀀"},
        {"😀", "😀", 0, "😀"},
        {"转帐", "转", 0, "转"},
        {"許功转", "转", 2, "转"},
        {"\u200B王\u202E", "\u200B", 0, "U+200B"},
        {"王\u200B", "\u200B", 1, "U+200B"},
        {"\uFEFF", "\uFEFF", 0, "U+FEFF"},
        {"a\u00AD", "\u00AD", 1, "U+00AD"},
        {"王\u2060", "\u2060", 1, "U+2060"},
        {"王\uFE0F", "\uFE0F", 1, "U+FE0F"},
        {"許\u200D功", "\u200D", 1, "U+200D"},
        {"\u0080", "\u0080", 0, "U+0080"},
        {"王\u009F", "\u009F", 1, "U+009F"},
        {"堃\u200B", "堃", 0, "堃"}}) {  // the first refused character is named
    auto r = cp950::encode(text);
    EXPECT_FALSE(r.ok()) << shown;
    EXPECT_EQ(r.badChar.value_or("?"), bad) << shown;
    EXPECT_EQ(r.badCharIndex, index) << shown;
    EXPECT_EQ(r.shownBadChar(), shown);
  }
  EXPECT_TRUE(cp950::encode("ab\xFF").invalidUtf8);
  // The visible neighbours of those in the Latin-1 block are still stored.
  EXPECT_EQ(cp950::encode("§°±").bytes, "\xA1\xB1\xA2\x58\xA1\xD3");
}

class Cp950TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    basic.Open();
    basic.Append();
    basic.FieldByName("NUMBER").setText("000001");
    basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  }
  store::Field name() { return basic.FieldByName("NAME"); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(Cp950TableTest, RoundTripsOfBackslashCharactersAndExtensions) {
  name().setText("許功蓋碁€");
  basic.Post();
  store::Session other(folder.path());
  other.AddPassword(store::kTablePassword);
  store::Table t(other, "basic.DB");
  t.Open();
  EXPECT_EQ(t.FieldByName("NAME").text(), "許功蓋碁€");
  EXPECT_EQ(t.FieldByName("NAME").bytes(), kXuGongGai + "\xF9\xD6\xA3\xE1");
}

TEST_F(Cp950TableTest, BackslashCharactersAreFoundBySearches) {
  name().setText("許功蓋");
  basic.Post();
  testrows::addEmployee(s, "000002", "許");
  testrows::addEmployee(s, "000003", "Amy");
  for (const auto& [text, options] :
       {std::pair{"許功蓋", store::NoLocateOptions}, {"許功", store::PartialKey}}) {
    basic.Last();
    EXPECT_TRUE(basic.Locate("NAME", text, options)) << text;
    EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000001");
  }
  basic.SetIndexFieldNames("NAME");
  ASSERT_TRUE(testrows::gotoKey(basic, "NAME", "許"));
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000002");
}

TEST_F(Cp950TableTest, TextCodePage950CannotHoldIsRefusedNamingTheFieldAndNeverWritten) {
  name().setText("王");
  for (const char* text : {"王堃", "𠀀", "😀", "转", "ab\xC3", "\u200B王\u202E", "王\u0080"}) {
    auto thrown = thrownBy([&] { name().setText(text); });
    EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue) << text;
    EXPECT_NE(thrown.message.find("NAME"), std::string::npos) << thrown.message;
    EXPECT_EQ(name().text(), "王") << text;
  }
  basic.Post();
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), Texts{"王"});
  // A search for such text finds nothing, or is refused, and stays.
  bool found = false;
  auto thrown = thrownBy([&] { found = basic.Locate("NAME", "转", store::NoLocateOptions); });
  EXPECT_FALSE(found);
  EXPECT_EQ(thrown.code.value_or(EngineError::Code::InvalidValue), EngineError::Code::InvalidValue);
  EXPECT_EQ(name().text(), "王");
}

}  // namespace
