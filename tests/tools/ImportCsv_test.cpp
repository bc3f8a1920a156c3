// salary-admin import: how the CSV text of a file becomes the fields of the rows stored.

#include "ImportFixture.h"
#include "store/Cp950.h"

namespace {

using ImportCsvTest = ImportFixture;

TEST_F(ImportCsvTest, QuotesByteOrderMarkLineEndsAndColumnOrderAreRead) {
  const struct {
    std::string csv;
    std::vector<Row> stored;
  } cases[] = {
      {std::string(kEmployeeHeader) + "000001,\"12,34\",\"王,明\",,,\"A \"\"B\"\"\",\"\"\n",
       {{"000001", "12,34", "王,明", "(empty)", "(empty)", "A \"B\"", "(empty)"}}},
      {"\xEF\xBB\xBFNUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO\r\n000002,111,甲,,,,\r\n"
       "000003,222,乙,,,,",
       {{"000002", "111", "甲", "(empty)", "(empty)", "(empty)", "(empty)"},
        {"000003", "222", "乙", "(empty)", "(empty)", "(empty)", "(empty)"}}},
      {"memo,Name,number,LEVEL,id,InDate,account\nm,甲,000007,L,X1,880101,99\n",
       {{"000007", "99", "甲", "X1", "880101", "L", "m"}}},
  };
  std::vector<Row> all;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    ToolRun r = importBoth(c.csv, "");
    ASSERT_EQ(r.status, 0) << r.err;
    all.insert(all.end(), c.stored.begin(), c.stored.end());
    EXPECT_EQ(employees(), all);
  }
}

// Nothing of a file is silently lost: only the whole byte order mark at the very start is
// dropped, and invisible characters in a cell are refused naming the line and the field.
TEST_F(ImportCsvTest, PartialByteOrderMarksAndInvisibleCharactersRefuseTheFile) {
  folder.addEmployee("000001", "甲");
  const std::string before = tableBytes();
  const std::string e = kEmployeeHeader, s = kEntryHeader;
  const struct {
    std::string employees, entries;
    std::vector<std::string> told;
  } cases[] = {
      {"\xEF\xBB" + e + "000002,1,乙,,,,\n", "", {"e.csv 第 1 行"}},
      {"\xEF" + e + "000002,1,乙,,,,\n", "", {"e.csv 第 1 行"}},
      {"\xEF\xBB\xBF\xEF\xBB\xBF" + e + "000002,1,乙,,,,\n", "", {"e.csv 第 1 行"}},
      {e + "000002,1,\u200B王\u202E,,,,\n", "", {"e.csv 第 2 行", "欄位 NAME", "U+200B"}},
      {e + "000002,1,王\u0080,,,,\n", "", {"e.csv 第 2 行", "欄位 NAME", "U+0080"}},
      {e + "\uFEFF000002,1,乙,,,,\n", "", {"e.csv 第 2 行", "欄位 NUMBER", "U+FEFF"}},
      {"", s + "000001,\uFEFF,1,電費\n", {"s.csv 第 2 行", "欄位 SENDDATE", "U+FEFF"}},
      {"", s + "000001,880305,1,電費\u00AD\n", {"s.csv 第 2 行", "欄位 SALARYITEM", "U+00AD"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.employees + c.entries);
    ToolRun r = importBoth(c.employees, c.entries);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(mentions(r.err, c.told));
    EXPECT_EQ(tableBytes(), before);
  }
}

// What a Taiwanese spreadsheet writes when saved as CSV is Big5: the file is refused once, with
// what to do, not once per field. Bytes that are neither UTF-8 nor Big5 are refused where they are.
TEST_F(ImportCsvTest, AFileSavedAsBig5IsRefusedOnceWithHowToSaveItAsUtf8) {
  const std::string before = tableBytes();
  auto big5 = [](const std::string& utf8) { return store::cp950::encode(utf8).bytes; };
  const ToolRun saved =
      importBoth(big5(std::string(kEmployeeHeader) + "000002,1,王小明,,,,\n000003,1,李大同,,,,\n"),
                 big5(std::string(kEntryHeader) + "000002,880305,100,薪水轉帳\n"));
  EXPECT_EQ(saved.status, 1);
  for (const char* file : {"e.csv: 請將檔案另存為 UTF-8", "s.csv: 請將檔案另存為 UTF-8"}) {
    EXPECT_NE(saved.err.find(file), std::string::npos) << saved.err;
  }
  EXPECT_EQ(saved.err.find("欄位"), std::string::npos) << saved.err;

  const ToolRun broken = importBoth(std::string(kEmployeeHeader) + "000002,1,\xC0\x30,,,,\n", "");
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(mentions(broken.err, {"e.csv 第 2 行", "欄位 NAME"}));
  EXPECT_EQ(broken.err.find("另存為"), std::string::npos) << broken.err;
  EXPECT_EQ(tableBytes(), before);
}

}  // namespace
