// salary-admin import: how the CSV text of a file becomes the fields of the rows stored.

#include "ImportFixture.h"

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
      {"\xEF\xBB" + e + "000002,1,乙,,,,\n", "", {"e.csv line 1"}},
      {"\xEF" + e + "000002,1,乙,,,,\n", "", {"e.csv line 1"}},
      {"\xEF\xBB\xBF\xEF\xBB\xBF" + e + "000002,1,乙,,,,\n", "", {"e.csv line 1"}},
      {e + "000002,1,\u200B王\u202E,,,,\n", "", {"e.csv line 2", "field NAME", "U+200B"}},
      {e + "000002,1,王\u0080,,,,\n", "", {"e.csv line 2", "field NAME", "U+0080"}},
      {e + "\uFEFF000002,1,乙,,,,\n", "", {"e.csv line 2", "field NUMBER", "U+FEFF"}},
      {"", s + "000001,\uFEFF,1,電費\n", {"s.csv line 2", "field SENDDATE", "U+FEFF"}},
      {"", s + "000001,880305,1,電費\u00AD\n", {"s.csv line 2", "field SALARYITEM", "U+00AD"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.employees + c.entries);
    ToolRun r = importBoth(c.employees, c.entries);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(mentions(r.err, c.told));
    EXPECT_EQ(tableBytes(), before);
  }
}

}  // namespace
