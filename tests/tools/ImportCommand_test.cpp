// salary-admin import: what is stored, what is refused, and that a refused file leaves the
// tables exactly as they were.

#include "ImportFixture.h"
#include "store/Schema.h"

namespace {

class ImportCommandTest : public ImportFixture {
 protected:
  void SetUp() override {
    folder.addEmployee("000001", "甲");
    folder.addEntry("000001", "880305", 35000, "薪水轉帳");
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
  EXPECT_TRUE(mentions(r.out, {"e.csv 的 2 列存入 basic.DB", "s.csv 的 3 列存入 salary.DB",
                               "1 個身分證字號的英文字母改為大寫"}));
  EXPECT_EQ(employees().size(), 3u);
  // The ID as the employee page would store it; a memo of exactly 16 bytes.
  EXPECT_EQ(employees()[1], (Row{"000002", "222", "乙", "B2", "880101", "A1", "十六位元組的備註"}));
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
       {"e.csv 第 3 行", "欄位 NAME", "堃", "都沒有存入"}},
      {e + "000002,1,王小明王小明,,,,\n", "", {"e.csv 第 2 行", "欄位 NAME", "10"}},
      {e + "000002,,乙,,,,\n", "", {"e.csv 第 2 行", "欄位 ACCOUNT", "空白"}},
      {e + "000002,1,乙,,,,\n000001,1,丙,,,,\n",
       "",
       {"e.csv 第 3 行", "NUMBER 000001", "basic.DB 中已有此資料"}},
      {e + "000002,1,堃,,,,\n000003,1,乙,,,,\n000004,,丙,,,,\n",
       "",
       {"e.csv 第 2 行", "e.csv 第 4 行"}},  // every refused row
      {e + "\n000002,1,甲,,,,\n\r\n000003,1,堃,,,,\n",
       "",
       {"e.csv 第 5 行", "NAME"}},  // blank lines still counted
      {e + "000002,1,甲,,,,\"two\nlines\"\n000003,1,王小明王小明,,,,\n",
       "",
       {"e.csv 第 2 行: 欄位 MEMO", "e.csv 第 4 行: 欄位 NAME"}},
      {e + "000002,1,甲,,,,\n000003,1,\"乙,,,,\n000004,1,丙,,,,\n",
       "",
       {"e.csv 第 3 行", "引號", "都沒有存入"}},
      {e + "000002,1,甲\n", "", {"e.csv 第 2 行", "3 個欄位", "7 個欄位名稱"}},
      {"",
       s + "000001,880401,1,薪水轉帳\n2345,880401,1,薪水轉帳\n",
       {"s.csv 第 3 行", "欄位 NUMBER", "2345", "basic.DB"}},
      {"",
       s + "000001,880401,7,電費\n000001,880401,5,電費\n000001,880401,7,電費\n",
       {"s.csv 第 4 行", "NUMBER 000001, SENDDATE 880401, PAY 7, SALARYITEM 電費",
        "與第 2 行相同"}},
      // The pay page's 寫入 rule, and what the transfer file can carry.
      {"", s + "000001,,100,薪水轉帳\n", {"s.csv 第 2 行", "欄位 SENDDATE", "不可空白"}},
      {"", s + "000001,880401,0,薪水轉帳\n", {"s.csv 第 2 行", "欄位 PAY", "不可為零"}},
      {"", s + "000001,880401,,薪水轉帳\n", {"s.csv 第 2 行", "欄位 PAY", "不可為零或空白"}},
      {"", s + "000001,880401,12345678901234,薪水轉帳\n", {"欄位 PAY", "13 個字元"}},
      {"",
       s + "000001,880401,100,年終獎金\n",
       {"s.csv 第 2 行", "欄位 SALARYITEM", "不是十六個薪資項目之一"}},
      {"", s + "000001,880401,100,薪水轉帳 \n", {"欄位 SALARYITEM", "十六個薪資項目"}},
      {"", s + "000001,880401,100,\n", {"欄位 SALARYITEM", "不可空白"}},
      // What the employee page can show and write back.
      {e + "000002,1,乙,,,,12345678901234567\n", "", {"e.csv 第 2 行", "欄位 MEMO", "16 個位元組"}},
      {e + "000002,1,乙,,,,十七個位元組的備註a\n", "", {"欄位 MEMO", "16 個位元組"}},
      {"",
       s + "000001,880305,35000.00,薪水轉帳\n",
       {"s.csv 第 2 行", "PAY 35000", "salary.DB 中已有此資料"}},
      {"",
       s + "000001,880401,1,200,薪水轉帳\n000001,880401,\"1,200\",薪水轉帳\n",
       {"s.csv 第 2 行", "5 個欄位", "s.csv 第 3 行", "欄位 PAY", "1,200"}},
      {"",
       "NUMBER,SENDDATE,AMOUNT,SALARYITEM\n",
       {"s.csv 第 1 行", "「AMOUNT」", "NUMBER,SENDDATE,PAY,SALARYITEM"}},
      {"", "NUMBER,SENDDATE,PAY\n000001,880305,1\n", {"s.csv 第 1 行", "缺少欄位 SALARYITEM"}},
      {e + "000002,222,王小明王小明,,,,\n",
       s + "000001,880401,100,薪水轉帳\n",
       {"e.csv 第 2 行", "沒有讀取", "s.csv"}},
      {e + "000002,222,乙,,,,\n",
       "NUMBER,SENDDATE,PAY\n",
       {"s.csv 第 1 行", "SALARYITEM", "沒有存入任何資料"}},
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
  EXPECT_TRUE(mentions(r.out, {"的 1 列存入 basic.DB"}));
  EXPECT_TRUE(mentions(r.err, {"s.csv 第 3 行", "000009", "都沒有存入", "已存入並保留"}));
  EXPECT_EQ(employees().size(), 2u);
  EXPECT_EQ(entries().size(), 1u);
}

TEST_F(ImportCommandTest, MissingFileIsRefusedAndAMissingValueShowsTheUsage) {
  ToolRun r = import("--entries '" + (folder.path() / "none.csv").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.err, {"none.csv", "無法開啟: 找不到這個檔案"}));
  EXPECT_EQ(import("").status, 2);
  r = import("--employees");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(mentions(r.err, {"--employees 需要一個值", "用法"}));
  EXPECT_EQ(tableBytes(), before);
}

}  // namespace
