// salary-admin transfer, run as the clerk or a script would run it.

#include <gtest/gtest.h>

#include <fstream>

#include "TransferFolder.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "support/ToolRun.h"
#include "transfer/TransferText.h"

namespace {

namespace fs = std::filesystem;

class TransferCommandTest : public ::testing::Test {
 protected:
  ToolRun run(const std::string& date) {
    return runCommand(std::string(SALARY_ADMIN) + " transfer --data " +
                          shellQuoted(folder.path().string()) + " --date " + date + " --out " +
                          shellQuoted(target.string()),
                      folder.path());
  }

  TransferFolder folder;
  fs::path target = folder.path() / "BT123420";
};

TEST_F(TransferCommandTest, WritesTheFileAndPrintsRecordsAndTotal) {
  folder.addEmployee("1", "王小明", "A123456789", "1234567890");
  folder.addEmployee("2", "李小華", "", "2222");
  folder.addEntry("1", "880305", 35000, "薪水轉帳");
  folder.addEntry("2", "880310", 1234.5, "薪水轉帳");
  folder.addEntry("2", "880405", 99, "薪水轉帳");

  ToolRun r = run("8803");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 筆,總金額 36234.5"), std::string::npos) << r.out;
  const std::string file = TestFolder::readFile(target);
  EXPECT_EQ(file.size(), 14u + 2 * 76 + 9);
  EXPECT_TRUE(file.starts_with("020000020000\r\n0000018803052    1234567890000000003500000"));
  EXPECT_EQ(folder.batch().size(), 2u);  // the batch stays for the reports
}

TEST_F(TransferCommandTest, RowThatCannotMakeARecordIsRefusedNamingItAndNoFileIsWritten) {
  folder.addEmployee("000042", "王小明", "", "1234567890");
  folder.addEntry("000042", "880305", 100, "年終獎金");             // no item code
  folder.addEntry("000042", "880306", 12345678901234, "薪水轉帳");  // fourteen characters
  std::ofstream(target) << "earlier\r\n";
  for (const auto& [date, value] :
       {std::pair{"880305", "年終獎金"}, {"880306", "12345678901234"}}) {
    ToolRun r = run(date);
    EXPECT_EQ(r.status, 1) << date;
    for (const char* part : {"000042", date, value}) {
      EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    }
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(TestFolder::readFile(target), "earlier\r\n");
  }
}

// The file written piece by piece is the text built whole in memory, on the edge cases of the
// format and on a batch of many pieces.
TEST_F(TransferCommandTest, TheFileWrittenInPiecesIsTheTextBuiltWhole) {
  folder.addEmployee("1", "王小明", "A123456789", "1234567890");
  folder.addEntry("1", "880305", 1234.5, "薪水轉帳");
  folder.addEntry("1", "880306", -100, "薪水轉帳");
  folder.addEntry("1", "880307", 0.07, "薪水轉帳");
  folder.addEntry("1", "880308", -0.5, "薪水轉帳");
  folder.addEntry("1", "880309", 9999999999999, "薪水轉帳");  // thirteen characters
  {
    store::Table salary(folder.session(), "salary.DB");
    salary.Open();
    store::Transaction tx(folder.session(), {"salary.DB"});
    for (int i = 0; i < 1500; ++i) {  // some 114 kB: two pieces and a part
      salary.Append();
      salary.FieldByName("NUMBER").setText("1");
      salary.FieldByName("SENDDATE").setText("89" + std::to_string(1000 + i));
      salary.FieldByName("PAY").setNumber(i + 0.25);
      salary.FieldByName("SALARYITEM").setText("退稅");
      salary.Post();
    }
    tx.commit();
  }
  for (const auto& [date, size] : {std::pair{"7701", 23u}, {"8803", 23u + 5 * 76}, {"89", 0u}}) {
    SCOPED_TRACE(date);
    ASSERT_EQ(run(date).status, 0);
    const std::string whole = transfer::buildTransferText(folder.session(), date).bytes;
    if (size) {
      EXPECT_EQ(whole.size(), size);
    }
    EXPECT_EQ(TestFolder::readFile(target), whole);
  }
}

}  // namespace
