// The transfer file's text: header, 74-byte records, trailer, item codes and amounts.

#include <gtest/gtest.h>

#include "TransferFolder.h"
#include "store/Schema.h"
#include "transfer/TransferBatch.h"
#include "transfer/TransferText.h"

namespace {

const std::string kHeader = "020000020000\r\n";
const std::string kTrailer = "END$END\r\n";

class TransferTextTest : public ::testing::Test {
 protected:
  void SetUp() override { folder.addEmployee("1", "王小明", "A123456789", "1234567890"); }
  // The batch and the file text of the date.
  transfer::TransferText text(const std::string& date) {
    transfer::buildTransferBatch(folder.session(), date);
    return transfer::buildTransferText(folder.session(), date);
  }
  // The record lines of the date, each checked for its length, without their CR LF.
  std::vector<std::string> records(const std::string& date) {
    const std::string bytes = text(date).bytes;
    EXPECT_TRUE(bytes.starts_with(kHeader) && bytes.ends_with(kTrailer));
    std::vector<std::string> lines;
    for (std::size_t at = kHeader.size(); at + kTrailer.size() < bytes.size(); at += 76) {
      lines.push_back(bytes.substr(at, transfer::kRecordLength));
      EXPECT_EQ(bytes.substr(at + transfer::kRecordLength, 2), "\r\n");
    }
    return lines;
  }

  TransferFolder folder;
};

TEST_F(TransferTextTest, WorkedRecordOfEmployeeOneAndTheEmptyBatch) {
  folder.addEntry("1", "880305", 35000, "薪水轉帳");
  auto t = text("880305");
  EXPECT_EQ(t.bytes, kHeader + "0000018803052    1234567890000000003500000A123456789****SA" +
                         std::string(16, ' ') + "\r\n" + kTrailer);
  EXPECT_EQ(t.records, 1);
  EXPECT_EQ(t.total, 35000);
  t = text("880306");
  EXPECT_EQ(t.bytes, "020000020000\r\nEND$END\r\n");
  EXPECT_EQ(t.records, 0);
}

TEST_F(TransferTextTest, AmountsAreFilledWithZerosToThirteenCharacters) {
  int day = 0;
  for (const auto& [pay, amount] :
       {std::pair<std::optional<double>, const char*>{1234.5, "00000001234.5"},
        {0, "0000000000000"},
        {std::nullopt, "0000000000000"},
        {-100, "000000000-100"},
        {9999999999999, "9999999999999"}}) {
    const std::string date = "88030" + std::to_string(++day);
    folder.addEntry("1", date, pay, "薪水轉帳");
    const auto lines = records(date);
    ASSERT_EQ(lines.size(), 1u) << amount;
    EXPECT_EQ(lines[0].substr(27, 13), amount);
  }
}

TEST_F(TransferTextTest, EveryItemOfThePayEntryListAndAnEmptyItemGetTheirCodes) {
  const auto& items = store::defaultSalaryItems();  // written from the largest amount down
  for (std::size_t i = items.size(); i > 0; --i) folder.addEntry("1", "880305", i, items[i - 1]);
  folder.addEntry("1", "880305", 100, "");
  folder.addEntry("1", "880305", 200, " ");
  std::string codes;
  for (const auto& line : records("880305")) codes += line.substr(12, 1) + line.substr(56, 2) + " ";
  // In amount order (1 to 16: the list's order, then 100 and 200 without item), not in the
  // order written nor as text.
  EXPECT_EQ(codes, "2SA 2PS 2RX 1PF 1PX 1PC 1IS 1IV 1PT 1PG 1PE 1PW 1BT 2BT 1TR 2TR 2SA 2SA ");
}

TEST_F(TransferTextTest, ShortSendDateAndAnIdOtherThanTenBytesAreFilledWithSpaces) {
  folder.addEmployee("2", "李小華", "A12345678", "1234567890");
  folder.addEntry("2", "8803", 100, "薪水轉帳");
  const auto lines = records("8803");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 13), "0000028803  2");
  EXPECT_EQ(lines[0].substr(42, 14), std::string(10, ' ') + "****");
}

}  // namespace
