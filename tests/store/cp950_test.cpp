// Code page 950 text: what is stored, what is refused, and where over-wide text would break.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/Cp950.h"
#include "store/EngineError.h"
#include "store/Table.h"

using store::EngineError;
using testrows::thrownBy;
namespace cp950 = store::cp950;

namespace {

// 許 B3 5C, 功 A5 5C, 蓋 BB 5C: their second byte is the backslash.
const std::string kXuGongGai = "\xB3\x5C\xA5\x5C\xBB\x5C";

TEST(Cp950Codec, EncodesCharactersWhoseSecondByteIsABackslash) {
  auto r = cp950::encode("許功蓋");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, kXuGongGai);
  EXPECT_EQ(cp950::decode(kXuGongGai), "許功蓋");
}

TEST(Cp950Codec, EncodesTheWindowsExtensions) {
  auto qi = cp950::encode("碁");
  ASSERT_TRUE(qi.ok());
  EXPECT_EQ(qi.bytes, "\xF9\xD6");
  auto euro = cp950::encode("€");
  ASSERT_TRUE(euro.ok());
  EXPECT_EQ(euro.bytes, "\xA3\xE1");
  EXPECT_EQ(cp950::decode("\xF9\xD6\xA3\xE1"), "碁€");
}

TEST(Cp950Codec, AsciiPassesUnchanged) {
  auto r = cp950::encode("A123456789 abc\\");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, "A123456789 abc\\");
}

TEST(Cp950Codec, RefusesWhatCodePage950CannotHoldAndSaysWhere) {
  struct Case {
    const char* text;
    const char* bad;
    std::size_t index;
  };
  for (const Case& c : {Case{"王堃", "堃", 1}, Case{"a𠀀", "𠀀", 1}, Case{"😀", "😀", 0},
                        Case{"转帐", "转", 0}, Case{"許功转", "转", 2}}) {
    auto r = cp950::encode(c.text);
    EXPECT_FALSE(r.ok()) << c.text;
    ASSERT_TRUE(r.badChar.has_value()) << c.text;
    EXPECT_EQ(*r.badChar, c.bad);
    EXPECT_EQ(r.badCharIndex, c.index) << c.text;
  }
}

TEST(Cp950Codec, RefusesInvalidUtf8) {
  auto r = cp950::encode("ab\xFF");
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.invalidUtf8);
}

TEST(Cp950Codec, DecodingBrokenBytesGivesReplacementCharacters) {
  EXPECT_EQ(cp950::decode("a\xA4"), "a\xEF\xBF\xBD");  // a lead byte without its second byte
}

TEST(Cp950Codec, FitPrefixNeverCutsADoubleByteCharacter) {
  const std::string ab = "ab" + kXuGongGai;  // 61 62 B3 5C A5 5C BB 5C
  EXPECT_EQ(cp950::fitPrefix(ab, 2), 2u);
  EXPECT_EQ(cp950::fitPrefix(ab, 3), 2u);
  EXPECT_EQ(cp950::fitPrefix(ab, 4), 4u);
  EXPECT_EQ(cp950::fitPrefix(ab, 5), 4u);
  EXPECT_EQ(cp950::fitPrefix(ab, 8), 8u);
  EXPECT_EQ(cp950::fitPrefix(ab, 100), 8u);
  EXPECT_EQ(cp950::fitPrefix(ab, 0), 0u);
}

TEST(Cp950Codec, FitPrefixCountsFromTheStartWhenSecondBytesLookLikeLeadBytes) {
  // 中 is A4 A4: every byte looks like a lead byte, only counting from the start tells.
  const std::string zhong3 = "\xA4\xA4\xA4\xA4\xA4\xA4";
  EXPECT_EQ(cp950::fitPrefix(zhong3, 3), 2u);
  EXPECT_EQ(cp950::fitPrefix(zhong3, 5), 4u);
  const std::string aZhong = "a\xA4\xA4\xA4\xA4";
  EXPECT_EQ(cp950::fitPrefix(aZhong, 2), 1u);
  EXPECT_EQ(cp950::fitPrefix(aZhong, 3), 3u);
  EXPECT_EQ(cp950::fitPrefix(aZhong, 4), 3u);
}

class Cp950TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    basic.Open();
    basic.Append();
    basic.FieldByName("NUMBER").setText("000001");
    basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(Cp950TableTest, RoundTripsOfBackslashCharactersAndExtensions) {
  basic.FieldByName("NAME").setText("許功蓋碁€");
  basic.Post();
  store::Session other(folder.path());
  other.AddPassword(store::kTablePassword);
  store::Table t(other, "basic.DB");
  t.Open();
  EXPECT_EQ(t.FieldByName("NAME").text(), "許功蓋碁€");
  EXPECT_EQ(t.FieldByName("NAME").bytes(), kXuGongGai + "\xF9\xD6\xA3\xE1");
}

TEST_F(Cp950TableTest, BackslashCharactersAreFoundBySearches) {
  basic.FieldByName("NAME").setText("許功蓋");
  basic.Post();
  testrows::addEmployee(s, "000002", "許");
  testrows::addEmployee(s, "000003", "Amy");
  basic.Refresh();
  basic.Last();
  EXPECT_TRUE(basic.Locate("NAME", "許功蓋", store::NoLocateOptions));
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000001");
  basic.Last();
  EXPECT_TRUE(basic.Locate("NAME", "許功", store::PartialKey));
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000001");
  basic.SetIndexFieldNames("NAME");
  basic.SetKey();
  basic.FieldByName("NAME").setText("許");
  EXPECT_TRUE(basic.GotoKey());
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000002");
}

TEST_F(Cp950TableTest, BytesAreStoredAsGivenAndDecodedOnReading) {
  basic.FieldByName("NAME").setBytes("\xA4\xA4\xA4\xE5");  // 中文
  EXPECT_EQ(basic.FieldByName("NAME").text(), "中文");
  basic.Post();
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), std::vector<std::string>{"中文"});
  basic.Edit();
  EXPECT_EQ(thrownBy([&] { basic.FieldByName("NAME").setBytes("12345678901"); }).code,
            EngineError::Code::InvalidValue);
}

TEST_F(Cp950TableTest, TextCodePage950CannotHoldIsRefusedAndNothingWritten) {
  basic.FieldByName("NAME").setText("王");
  for (const char* text : {"王堃", "𠀀", "😀", "转"}) {
    auto thrown = thrownBy([&] { basic.FieldByName("NAME").setText(text); });
    EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue) << text;
    EXPECT_NE(thrown.message.find("NAME"), std::string::npos) << thrown.message;
    EXPECT_EQ(basic.FieldByName("NAME").text(), "王") << text;
  }
  basic.Post();
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), std::vector<std::string>{"王"});
}

TEST_F(Cp950TableTest, RefusedNameLeavesTheRowUnwritten) {
  EXPECT_EQ(thrownBy([&] { basic.FieldByName("NAME").setText("转"); }).code,
            EngineError::Code::InvalidValue);
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::RequiredField);
  basic.Cancel();
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
}

TEST_F(Cp950TableTest, InvalidUtf8IsRefused) {
  EXPECT_EQ(thrownBy([&] { basic.FieldByName("NAME").setText("ab\xC3"); }).code,
            EngineError::Code::InvalidValue);
}

TEST_F(Cp950TableTest, SearchForUnencodableTextFindsNothingOrIsRefused) {
  basic.FieldByName("NAME").setText("王");
  basic.Post();
  bool found = false;
  auto thrown = thrownBy([&] { found = basic.Locate("NAME", "转", store::NoLocateOptions); });
  EXPECT_FALSE(found);
  if (thrown.code) {
    EXPECT_EQ(*thrown.code, EngineError::Code::InvalidValue);
  }
  EXPECT_EQ(basic.FieldByName("NAME").text(), "王");
}

}  // namespace
