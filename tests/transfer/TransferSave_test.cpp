// Saving the transfer file: the bytes on disk, replacing an earlier file, and failures that
// must leave an earlier file as it was.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <optional>

#include "TransferFolder.h"
#include "store/EngineError.h"
#include "transfer/TransferSave.h"

namespace {

namespace fs = std::filesystem;

class TransferSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir);
    transfer::saveTransferFile(file, earlier);
  }
  struct Thrown {
    std::optional<store::EngineError::Code> code;
    std::string message = "(saved)";
  };
  Thrown saveError(const fs::path& name, const std::string& bytes) {
    try {
      transfer::saveTransferFile(name, bytes);
    } catch (const store::EngineError& e) {
      return {e.code(), e.what()};
    }
    return {};
  }

  TransferFolder folder;
  const fs::path dir = folder.path() / "A", file = dir / "BT123420";
  const std::string earlier = "earlier transfer file\r\n" + std::string(5000, 'x');
  const std::string text = "020000020000\r\nEND$END\r\n";
};

TEST_F(TransferSaveTest, WritesTheTextExactlyReplacingAnEarlierFileOfThatName) {
  transfer::saveTransferFile(file, text);
  EXPECT_EQ(TestFolder::readFile(file), text);
  EXPECT_EQ(TestFolder::filesIn(dir), std::vector<std::string>{"BT123420"});
  struct stat st;  // account numbers and national IDs: the owner's alone
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(TransferSaveTest, FailedSaveLeavesTheEarlierFileIntactAndGivesTheReason) {
  // A file size limit makes the write fail part way, as a full diskette does.
  struct rlimit old, small;
  getrlimit(RLIMIT_FSIZE, &old);
  small = old;
  small.rlim_cur = 4096;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const Thrown full = saveError(file, std::string(100000, 'y'));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  const Thrown protectedFile = saveError(file, text);
  const Thrown noFolder = saveError(dir / "nowhere" / "BT123420", text);

  using Code = store::EngineError::Code;
  for (const auto& [thrown, code] : {std::pair{full, Code::DiskFull},
                                     {protectedFile, Code::ReadOnly},
                                     {noFolder, Code::MissingFile}}) {
    EXPECT_EQ(thrown.code, code) << thrown.message;
    EXPECT_NE(thrown.message.find("BT123420"), std::string::npos) << thrown.message;
  }
  EXPECT_EQ(TestFolder::readFile(file), earlier);
  EXPECT_EQ(TestFolder::filesIn(dir), std::vector<std::string>{"BT123420"});
}

}  // namespace
