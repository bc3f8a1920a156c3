// salary-admin import: what is stored, what is refused, and that a refused file leaves the
// tables exactly as they were.

#include "ImportFixture.h"

namespace {

class ImportCommandTest : public ImportFixture {
 protected:
  void SetUp() override {
    addEmployee("000001", "甲");
    addEntry("000001", "880305", "35000", "薪水轉帳");
    before = tableBytes();
  }

  // The refusal of one file: exit status 1, its file, line and words named, nothing changed.
  void expectRefused(const ToolRun& r, const std::vector<std::string>& parts) {
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(mentions(r.err, parts));
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(tableBytes(), before);
  }

  std::string before;
};

TEST_F(ImportCommandTest, StoresBothFilesAndPrintsTheRowsOfEach) {
  write("e.csv",
        std::string(kEmployeeHeader) + "000002,222,乙,B2,880101,A1,m\n000003,333,丙,,,,\n");
  write("s.csv", std::string(kEntryHeader) +
                     "000002,880305,100,薪水轉帳\n000003,880305,1.5,自訂項目\n"
                     "000001,880306,-20,電費\n");

  ToolRun r = import("--employees '" + (folder.path() / "e.csv").string() + "' --entries '" +
                     (folder.path() / "s.csv").string() + "'");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(mentions(
      r.out, {"Stored 2 rows of", "e.csv in basic.DB", "Stored 3 rows of", "s.csv in salary.DB"}));
  EXPECT_EQ(employees().size(), 3u);
  EXPECT_EQ(employees()[1], (Row{"000002", "222", "乙", "B2", "880101", "A1", "m"}));
  // Entries may refer to employees of the same run; item texts are not checked.
  EXPECT_EQ(entries(), (std::vector<Row>{{"000001", "880305", "35000", "薪水轉帳"},
                                         {"000001", "880306", "-20", "電費"},
                                         {"000002", "880305", "100", "薪水轉帳"},
                                         {"000003", "880305", "1.5", "自訂項目"}}));
}

TEST_F(ImportCommandTest, CharacterCodePage950CannotHoldIsRefused) {
  ToolRun r =
      importEmployees(std::string(kEmployeeHeader) + "000002,1,乙,,,,\n000003,1,王堃,,,,\n");

  expectRefused(r, {"employees.csv line 3", "field NAME", "堃", "nothing of"});
}

TEST_F(ImportCommandTest, NameWiderThanTenBytesIsRefused) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) + "000002,1,王小明王小明,,,,\n");

  expectRefused(r, {"employees.csv line 2", "field NAME", "10"});
}

TEST_F(ImportCommandTest, EmptyRequiredFieldIsRefused) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) + "000002,,乙,,,,\n");

  expectRefused(r, {"employees.csv line 2", "field ACCOUNT", "empty"});
}

TEST_F(ImportCommandTest, EmployeeNumberAlreadyStoredIsRefused) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) + "000002,1,乙,,,,\n000001,1,丙,,,,\n");

  expectRefused(r, {"employees.csv line 3", "NUMBER 000001", "exists already in basic.DB"});
}

TEST_F(ImportCommandTest, EntryOfUnknownEmployeeIsRefused) {
  ToolRun r = importEntries(std::string(kEntryHeader) +
                            "000001,880401,1,薪水轉帳\n"
                            "2345,880401,1,薪水轉帳\n");

  expectRefused(r, {"entries.csv line 3", "field NUMBER", "2345", "basic.DB"});
}

TEST_F(ImportCommandTest, DuplicateEntryWithinTheFileIsRefusedNamingTheEarlierLine) {
  ToolRun r = importEntries(std::string(kEntryHeader) +
                            "000001,880401,,電費\n"
                            "000001,880401,5,電費\n"
                            "000001,880401,,電費\n");

  expectRefused(r, {"entries.csv line 4",
                    "NUMBER 000001, SENDDATE 880401, PAY (empty), "
                    "SALARYITEM 電費",
                    "the same as line 2"});
}

TEST_F(ImportCommandTest, DuplicateOfAStoredEntryIsRefused) {
  ToolRun r = importEntries(std::string(kEntryHeader) + "000001,880305,35000.00,薪水轉帳\n");

  expectRefused(r, {"entries.csv line 2", "PAY 35000", "exists already in salary.DB"});
}

TEST_F(ImportCommandTest, PayThatIsNotANumberIsRefusedNamingPay) {
  ToolRun r = importEntries(std::string(kEntryHeader) +
                            "000001,880401,1,200,薪水轉帳\n"
                            "000001,880401,\"1,200\",薪水轉帳\n");

  expectRefused(r, {"entries.csv line 2", "5 cells", "entries.csv line 3", "field PAY", "1,200"});
}

TEST_F(ImportCommandTest, EveryRefusedRowIsListed) {
  ToolRun r = importEmployees(std::string(kEmployeeHeader) +
                              "000002,1,堃,,,,\n000003,1,乙,,,,\n"
                              "000004,,丙,,,,\n");

  expectRefused(r, {"employees.csv line 2", "employees.csv line 4"});
  EXPECT_FALSE(mentions(r.err, {"line 3"}));
}

TEST_F(ImportCommandTest, EmployeesStayStoredWhenTheEntriesFileIsRefused) {
  write("e.csv", std::string(kEmployeeHeader) + "000002,222,乙,,,,\n");
  write("s.csv", std::string(kEntryHeader) + "000002,880305,100,薪水轉帳\n000009,880305,1,x\n");

  ToolRun r = import("--employees '" + (folder.path() / "e.csv").string() + "' --entries '" +
                     (folder.path() / "s.csv").string() + "'");

  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(mentions(r.out, {"Stored 1 rows of"}));
  EXPECT_TRUE(mentions(r.err, {"s.csv line 3", "000009", "nothing of", "stay stored"}));
  EXPECT_EQ(employees().size(), 2u);
  EXPECT_EQ(entries().size(), 1u);
}

TEST_F(ImportCommandTest, EntriesAreNotReadWhenTheEmployeesFileIsRefused) {
  write("e.csv", std::string(kEmployeeHeader) + "000002,222,王小明王小明,,,,\n");
  write("s.csv", std::string(kEntryHeader) + "000001,880401,100,薪水轉帳\n");

  ToolRun r = import("--employees '" + (folder.path() / "e.csv").string() + "' --entries '" +
                     (folder.path() / "s.csv").string() + "'");

  expectRefused(r, {"e.csv line 2", "s.csv was not read"});
}

TEST_F(ImportCommandTest, BadEntriesHeaderStopsTheRunBeforeAnyEmployeeIsStored) {
  write("e.csv", std::string(kEmployeeHeader) + "000002,222,乙,,,,\n");
  write("s.csv", "NUMBER,SENDDATE,PAY\n");

  ToolRun r = import("--employees '" + (folder.path() / "e.csv").string() + "' --entries '" +
                     (folder.path() / "s.csv").string() + "'");

  expectRefused(r, {"s.csv line 1", "SALARYITEM", "nothing was stored"});
}

TEST_F(ImportCommandTest, MissingFileIsRefused) {
  ToolRun r = import("--entries '" + (folder.path() / "none.csv").string() + "'");

  expectRefused(r, {"none.csv", "cannot be opened"});
}

TEST_F(ImportCommandTest, WithoutAFileOrFolderItShowsTheUsage) {
  EXPECT_EQ(import("").status, 2);
  ToolRun r = import("--employees");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(mentions(r.err, {"--employees needs a value", "usage"}));
}

}  // namespace
