// salary-admin import: what is stored, what is refused, and that a refused file leaves the
// tables exactly as they were.

#include "ImportFixture.h"
#include "store/Schema.h"

namespace {

class ImportCommandTest : public ImportFixture {
 protected:
  void SetUp() override {
    folder.addEmployee("000001", "甲");
    folder.addEntry("000001", "880305", "35000", "薪水轉帳");
    before = tableBytes();
  }
  std::string before;
};

TEST_F(ImportCommandTest, StoresBothFilesAndPrintsTheRowsOfEach) {
  ToolRun r = importBoth(
      std::string(kEmployeeHeader) +
          "000002,222,乙,b2,880101,A1,十六位元組的備註\n000003,333,丙,,,,\n",
      std::string(kEntryHeader) +
          "000002,880305,100,薪水轉帳\n000003,880305,1.5,退稅\n000001,880306,-20,電費\n");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(mentions(
      r.out, {"Stored 2 rows of", "e.csv in basic.DB", "Stored 3 rows of", "s.csv in salary.DB",
              "1 national IDs stored with their letters in capitals"}));
  EXPECT_EQ(employees().size(), 3u);
  // The ID as the employee page would store it; a memo of exactly 16 bytes.
  EXPECT_EQ(employees()[1],
            (Row{"000002", "222", "乙", "B2", "880101", "A1", "十六位元組的備註"}));
  // Entries may refer to employees of the same run; a negative amount is accepted.
  EXPECT_EQ(entries(), (std::vector<Row>{{"000001", "880305", "35000", "薪水轉帳"},
                                         {"000001", "880306", "-20", "電費"},
                                         {"000002", "880305", "100", "薪水轉帳"},
                                         {"000003", "880305", "1.5", "退稅"}}));
}

TEST_F(ImportCommandTest, EveryOneOfTheSixteenSalaryItemsIsAccepted) {
  std::string csv = kEntryHeader;
  for (const auto& item : store::defaultSalaryItems()) csv += "000001,880401,1," + item + "\n";
  ToolRun r = importBoth("", csv);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(entries().size(), 17u);
}

TEST_F(ImportCommandTest, RefusedFileNamesFileLineAndFieldAndLeavesBothTablesAsBefore) {
  const std::string e = kEmployeeHeader, s = kEntryHeader;
  const struct {
    std::string employees, entries;  // "": that file is not given
    std::vector<std::string> told;
  } cases[] = {
      {e + "000002,1,乙,,,,\n000003,1,王堃,,,,\n",
       "",
       {"e.csv line 3", "field NAME", "堃", "nothing of"}},
      {e + "000002,1,王小明王小明,,,,\n", "", {"e.csv line 2", "field NAME", "10"}},
      {e + "000002,,乙,,,,\n", "", {"e.csv line 2", "field ACCOUNT", "empty"}},
      {e + "000002,1,乙,,,,\n000001,1,丙,,,,\n",
       "",
       {"e.csv line 3", "NUMBER 000001", "exists already in basic.DB"}},
      {e + "000002,1,堃,,,,\n000003,1,乙,,,,\n000004,,丙,,,,\n",
       "",
       {"e.csv line 2", "e.csv line 4"}},  // every refused row
      {e + "\n000002,1,甲,,,,\n\r\n000003,1,堃,,,,\n",
       "",
       {"e.csv line 5", "NAME"}},  // blank lines still counted
      {e + "000002,1,甲,,,,\"two\nlines\"\n000003,1,王小明王小明,,,,\n",
       "",
       {"e.csv line 2: field MEMO", "e.csv line 4: field NAME"}},
      {e + "000002,1,甲,,,,\n000003,1,\"乙,,,,\n000004,1,丙,,,,\n",
       "",
       {"e.csv line 3", "quote", "nothing of"}},
      {e + "000002,1,甲\n", "", {"e.csv line 2", "3 cells", "7 columns"}},
      {"",
       s + "000001,880401,1,薪水轉帳\n2345,880401,1,薪水轉帳\n",
       {"s.csv line 3", "field NUMBER", "2345", "basic.DB"}},
      {"",
       s + "000001,880401,7,電費\n000001,880401,5,電費\n000001,880401,7,電費\n",
       {"s.csv line 4", "NUMBER 000001, SENDDATE 880401, PAY 7, SALARYITEM 電費",
        "the same as line 2"}},
      // The pay page's 寫入 rule, and what the transfer file can carry.
      {"", s + "000001,,100,薪水轉帳\n", {"s.csv line 2", "field SENDDATE", "may not be empty"}},
      {"", s + "000001,880401,0,薪水轉帳\n", {"s.csv line 2", "field PAY", "zero"}},
      {"", s + "000001,880401,,薪水轉帳\n", {"s.csv line 2", "field PAY", "zero or empty"}},
      {"", s + "000001,880401,12345678901234,薪水轉帳\n", {"field PAY", "13 characters"}},
      {"",
       s + "000001,880401,100,年終獎金\n",
       {"s.csv line 2", "field SALARYITEM", "not one of the sixteen salary items"}},
      {"", s + "000001,880401,100,薪水轉帳 \n", {"field SALARYITEM", "sixteen"}},
      {"", s + "000001,880401,100,\n", {"field SALARYITEM", "may not be empty"}},
      // What the employee page can show and write back.
      {e + "000002,1,乙,,,,12345678901234567\n", "", {"e.csv line 2", "field MEMO", "16 bytes"}},
      {e + "000002,1,乙,,,,十七個位元組的備註a\n", "", {"field MEMO", "16 bytes"}},
      {"",
       s + "000001,880305,35000.00,薪水轉帳\n",
       {"s.csv line 2", "PAY 35000", "exists already in salary.DB"}},
      {"",
       s + "000001,880401,1,200,薪水轉帳\n000001,880401,\"1,200\",薪水轉帳\n",
       {"s.csv line 2", "5 cells", "s.csv line 3", "field PAY", "1,200"}},
      {"",
       "NUMBER,SENDDATE,AMOUNT,SALARYITEM\n",
       {"s.csv line 1", "\"AMOUNT\"", "NUMBER,SENDDATE,PAY,SALARYITEM"}},
      {"", "NUMBER,SENDDATE,PAY\n000001,880305,1\n", {"s.csv line 1", "SALARYITEM is missing"}},
      {e + "000002,222,王小明王小明,,,,\n",
       s + "000001,880401,100,薪水轉帳\n",
       {"e.csv line 2", "s.csv was not read"}},
      {e + "000002,222,乙,,,,\n",
       "NUMBER,SENDDATE,PAY\n",
       {"s.csv line 1", "SALARYITEM", "nothing was stored"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.employees + c.entries);
    ToolRun r = importBoth(c.employees, c.entries);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(mentions(r.err, c.told));
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(tableBytes(), before);
  }
}

TEST_F(ImportCommandTest, EmployeesStayStoredWhenTheEntriesFileIsRefused) {
  ToolRun r =
      importBoth(std::string(kEmployeeHeader) + "000002,222,乙,,,,\n",
                 std::string(kEntryHeader) + "000002,880305,100,薪水轉帳\n000009,880305,1,x\n");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.out, {"Stored 1 rows of"}));
  EXPECT_TRUE(mentions(r.err, {"s.csv line 3", "000009", "nothing of", "stay stored"}));
  EXPECT_EQ(employees().size(), 2u);
  EXPECT_EQ(entries().size(), 1u);
}

TEST_F(ImportCommandTest, MissingFileIsRefusedAndAMissingValueShowsTheUsage) {
  ToolRun r = import("--entries '" + (folder.path() / "none.csv").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"none.csv", "cannot be opened"}));
  EXPECT_EQ(import("").status, 2);
  r = import("--employees");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(mentions(r.err, {"--employees needs a value", "usage"}));
  EXPECT_EQ(tableBytes(), before);
}

}  // namespace
