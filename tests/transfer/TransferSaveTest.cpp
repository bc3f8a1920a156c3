// Saving the transfer file: the bytes on disk, replacing an earlier file, and failures that
// must leave an earlier file as it was.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>

#include "TransferFolder.h"
#include "store/EngineError.h"
#include "transfer/TransferSave.h"

namespace {

namespace fs = std::filesystem;

class TransferSaveTest : public ::testing::Test {
 protected:
  std::vector<std::string> filesInFolder() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string saveError(const fs::path& name, const std::string& bytes) {
    try {
      transfer::saveTransferFile(name, bytes);
    } catch (const store::EngineError& e) {
      return e.what();
    }
    return "(saved)";
  }

  void SetUp() override { fs::create_directory(dir); }

  TransferFolder folder;
  fs::path dir = folder.path() / "A";
  const std::string text = "020000020000\r\nEND$END\r\n";
};

TEST_F(TransferSaveTest, WritesTheTextExactlyUnderTheNameAsGiven) {
  transfer::saveTransferFile(dir / "BT123420", text);

  EXPECT_EQ(TransferFolder::readFile(dir / "BT123420"), text);
  EXPECT_EQ(filesInFolder(), std::vector<std::string>{"BT123420"});
}

TEST_F(TransferSaveTest, ReplacesAnEarlierFileOfThatName) {
  transfer::saveTransferFile(dir / "BT", std::string(5000, 'x'));
  transfer::saveTransferFile(dir / "BT", text);

  EXPECT_EQ(TransferFolder::readFile(dir / "BT"), text);
  EXPECT_EQ(filesInFolder(), std::vector<std::string>{"BT"});
}

TEST_F(TransferSaveTest, NewFileIsReadableByOthersAsAnyNewFile) {
  transfer::saveTransferFile(dir / "BT", text);

  struct stat st;
  ASSERT_EQ(stat((dir / "BT").c_str(), &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(TransferSaveTest, MissingFolderIsReportedWithTheSystemsReason) {
  std::string message = saveError(dir / "nowhere" / "BT123420", text);

  EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
  EXPECT_NE(message.find("BT123420"), std::string::npos) << message;
  EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(TransferSaveTest, FullMediumLeavesTheEarlierFileIntact) {
  const std::string earlier = "earlier transfer file\r\n";
  transfer::saveTransferFile(dir / "BT123420", earlier);

  // A file size limit makes the write fail part way, as a full diskette does.
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  std::string message = saveError(dir / "BT123420", std::string(100000, 'y'));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
  EXPECT_EQ(TransferFolder::readFile(dir / "BT123420"), earlier);
  EXPECT_EQ(filesInFolder(), std::vector<std::string>{"BT123420"});
}

TEST_F(TransferSaveTest, WriteProtectedFileIsNotReplaced) {
  const std::string earlier = "earlier transfer file\r\n";
  transfer::saveTransferFile(dir / "BT123420", earlier);
  fs::permissions(dir / "BT123420", fs::perms::owner_read | fs::perms::group_read);

  std::string message = saveError(dir / "BT123420", text);

  EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos) << message;
  EXPECT_EQ(TransferFolder::readFile(dir / "BT123420"), earlier);
  EXPECT_EQ(filesInFolder(), std::vector<std::string>{"BT123420"});
}

}  // namespace
