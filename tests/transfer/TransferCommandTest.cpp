// salary-admin transfer, run as the clerk or a script would run it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "TransferFolder.h"
#include "store/Table.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string out, err;
};

class TransferCommandTest : public ::testing::Test {
 protected:
  ToolRun run(const std::string& arguments) {
    const fs::path out = folder.path() / "stdout";
    const fs::path err = folder.path() / "stderr";
    std::string command = std::string(SALARY_ADMIN) + " transfer " + arguments + " >'" +
                          out.string() + "' 2>'" + err.string() + "'";
    int rc = std::system(command.c_str());
    ToolRun r;
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = TransferFolder::readFile(out);
    r.err = TransferFolder::readFile(err);
    fs::remove(out);
    fs::remove(err);
    return r;
  }

  std::string data() { return "--data '" + folder.path().string() + "'"; }

  TransferFolder folder;
  fs::path target = folder.path() / "BT123420";
};

TEST_F(TransferCommandTest, WritesTheFileAndPrintsRecordsAndTotal) {
  folder.addEmployee("1", "1234567890", "王小明", "A123456789");
  folder.addEmployee("2", "2222", "李小華");
  folder.addEntry("1", "880305", 35000);
  folder.addEntry("2", "880310", 1234.5);
  folder.addEntry("2", "880405", 99);

  ToolRun r = run(data() + " --date 8803 --out '" + target.string() + "'");

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 records, total 36234.5"), std::string::npos) << r.out;
  const std::string file = TransferFolder::readFile(target);
  EXPECT_EQ(file.size(), 14u + 2 * 76 + 9);
  EXPECT_TRUE(file.starts_with("020000020000\r\n0000018803052    1234567890000000003500000"));
  // The batch stays for the reports.
  EXPECT_EQ(folder.batch().size(), 2u);
}

TEST_F(TransferCommandTest, RefusedRowExitsWithTheMessageAndWritesNoFile) {
  folder.addEmployee("000042", "1234567890", "王小明");
  folder.addEntry("000042", "880305", 100, "年終獎金");
  const std::string earlier = "earlier\r\n";
  {
    std::FILE* f = std::fopen(target.c_str(), "wb");
    std::fputs(earlier.c_str(), f);
    std::fclose(f);
  }

  ToolRun r = run(data() + " --date 880305 --out '" + target.string() + "'");

  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("000042"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("年終獎金"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_EQ(TransferFolder::readFile(target), earlier);
}

}  // namespace
