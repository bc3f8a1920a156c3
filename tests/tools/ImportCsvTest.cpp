// salary-admin import: how the CSV text of a file becomes the fields of the rows stored.

#include "ImportFixture.h"

namespace {

using ImportCsvTest = ImportFixture;

TEST_F(ImportCsvTest, QuotedCellsKeepCommasAndDoubledQuotes) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) +
                              "000001,\"12,34\",\"王,明\",,,\"A \"\"B\"\"\",\"\"\n");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      employees(),
      (std::vector<Row>{{"000001", "12,34", "王,明", "(empty)", "(empty)", "A \"B\"", "(empty)"}}));
}

TEST_F(ImportCsvTest, ByteOrderMarkAndCrlfLineEndsAreRead) {
  ToolRun r = importEmployees(
      "\xEF\xBB\xBFNUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO\r\n"
      "000001,111,甲,,,,\r\n"
      "000002,222,乙,,,,");

  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(employees().size(), 2u);
  EXPECT_EQ(employees()[0][0], "000001");
  EXPECT_EQ(employees()[1][2], "乙");
}

TEST_F(ImportCsvTest, ColumnsMayComeInAnyOrderAndLetterCase) {
  ToolRun r =
      importEmployees("memo,Name,number,LEVEL,id,InDate,account\nm,甲,000007,L,X1,880101,99\n");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(employees(), (std::vector<Row>{{"000007", "99", "甲", "X1", "880101", "L", "m"}}));
}

TEST_F(ImportCsvTest, EmptyCellsAreEmptyFieldsAndEmptyPayIsAnEntryWithoutAmount) {
  addEmployee("000001");
  ToolRun r = importEntries(std::string(kEntryHeader) + "000001,880305,,電費\n000001,,15,\n");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(entries(), (std::vector<Row>{{"000001", "(empty)", "15", "(empty)"},
                                         {"000001", "880305", "(empty)", "電費"}}));
}

TEST_F(ImportCsvTest, BlankLinesAreSkippedAndStillCounted) {
  ToolRun r =
      importEmployees(std::string(kEmployeeHeader) + "\n000001,1,甲,,,,\n\r\n000002,1,堃,,,,\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"employees.csv line 5", "NAME"}));
}

TEST_F(ImportCsvTest, LineNumbersCountEveryPhysicalLineOfAQuotedCell) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) +
                              "000001,1,甲,,,,\"two\nlines\"\n"
                              "000002,1,王小明王小明,,,,\n");

  EXPECT_EQ(r.status, 1);
  // A line break fits no field; the row after it begins on line 4.
  EXPECT_TRUE(
      mentions(r.err, {"employees.csv line 2: field MEMO", "employees.csv line 4: field NAME"}));
  EXPECT_TRUE(employees().empty());
}

TEST_F(ImportCsvTest, UnterminatedQuoteIsRefusedAtTheLineItOpensAndStoresNothing) {
  addEmployee("000001");
  const std::string before = tableBytes();

  ToolRun r = importEmployees(std::string(kEmployeeHeader) +
                              "000002,1,甲,,,,\n000003,1,\"乙,,,,\n000004,1,丙,,,,\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"employees.csv line 3", "quote", "nothing of"}));
  EXPECT_EQ(tableBytes(), before);
}

TEST_F(ImportCsvTest, RowWithTooFewCellsIsRefused) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) + "000001,1,甲\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"employees.csv line 2", "3 cells", "7 columns"}));
  EXPECT_TRUE(employees().empty());
}

TEST_F(ImportCsvTest, UnknownColumnIsRefusedByName) {
  ToolRun r = importEntries("NUMBER,SENDDATE,AMOUNT,SALARYITEM\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(
      mentions(r.err, {"entries.csv line 1", "\"AMOUNT\"", "NUMBER,SENDDATE,PAY,SALARYITEM"}));
}

TEST_F(ImportCsvTest, MissingColumnIsRefusedByName) {
  addEmployee("000001");
  ToolRun r = importEntries("NUMBER,SENDDATE,PAY\n000001,880305,1\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"entries.csv line 1", "SALARYITEM is missing"}));
  EXPECT_TRUE(entries().empty());
}

}  // namespace
