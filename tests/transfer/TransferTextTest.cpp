// The transfer file's text: header, 74-byte records, trailer, item codes and amounts, and the
// rows it refuses.

#include <gtest/gtest.h>

#include <functional>

#include "TransferFolder.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "transfer/TransferBatch.h"
#include "transfer/TransferText.h"

namespace {

const std::string kHeader = "020000020000\r\n";
const std::string kTrailer = "END$END\r\n";

class TransferTextTest : public ::testing::Test {
 protected:
  // The batch and the file text of the date.
  transfer::TransferText text(const std::string& date) {
    transfer::buildTransferBatch(folder.session(), date);
    return transfer::buildTransferText(folder.session(), date);
  }

  // The record lines, without their CR LF; checks the header and the trailer on the way.
  std::vector<std::string> records(const std::string& date) {
    const std::string bytes = text(date).bytes;
    EXPECT_TRUE(bytes.starts_with(kHeader));
    EXPECT_TRUE(bytes.ends_with(kTrailer));
    std::vector<std::string> lines;
    for (std::size_t at = kHeader.size(); at + kTrailer.size() < bytes.size();) {
      std::size_t end = bytes.find("\r\n", at);
      if (end == std::string::npos) break;
      lines.push_back(bytes.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  std::string onlyRecord(const std::string& date) {
    auto lines = records(date);
    EXPECT_EQ(lines.size(), 1u);
    if (lines.empty()) return {};
    EXPECT_EQ(lines[0].size(), transfer::kRecordLength);
    return lines[0];
  }

  std::string amountField(double pay) {
    folder.addEntry("1", "880305", pay);
    return onlyRecord("880305").substr(27, 13);
  }

  TransferFolder folder;
};

TEST_F(TransferTextTest, WorkedRecordOfEmployeeOne) {
  folder.addEmployee("1", "1234567890", "王小明", "A123456789");
  folder.addEntry("1", "880305", 35000, "薪水轉帳");

  auto t = text("880305");
  EXPECT_EQ(t.bytes, kHeader + "0000018803052    1234567890000000003500000A123456789****SA" +
                         std::string(16, ' ') + "\r\n" + kTrailer);
  EXPECT_EQ(t.records, 1);
  EXPECT_EQ(t.total, 35000);
}

TEST_F(TransferTextTest, EmptyBatchGivesTwentyThreeBytes) {
  folder.addEmployee("1", "1234567890", "王小明");
  folder.addEntry("1", "880305", 35000);

  auto t = text("880306");
  EXPECT_EQ(t.bytes, "020000020000\r\nEND$END\r\n");
  EXPECT_EQ(t.bytes.size(), 23u);
  EXPECT_EQ(t.records, 0);
}

class TransferAmountTest : public TransferTextTest {
 protected:
  void SetUp() override { folder.addEmployee("1", "1234567890", "王小明"); }
};

TEST_F(TransferAmountTest, FractionKeepsOnlyTheDigitsItNeeds) {
  EXPECT_EQ(amountField(1234.5), "00000001234.5");
}

TEST_F(TransferAmountTest, ZeroGivesThirteenZeros) {
  EXPECT_EQ(amountField(0), "0000000000000");
}

TEST_F(TransferAmountTest, EntryWithoutAmountGivesThirteenZeros) {
  folder.addEntry("1", "880305", std::nullopt);
  EXPECT_EQ(onlyRecord("880305").substr(27, 13), "0000000000000");
}

TEST_F(TransferAmountTest, NegativeAmountKeepsItsMinusAfterTheFill) {
  EXPECT_EQ(amountField(-100), "000000000-100");
}

TEST_F(TransferAmountTest, ThirteenDigitAmountFillsTheField) {
  EXPECT_EQ(amountField(9999999999999), "9999999999999");
}

TEST_F(TransferTextTest, BatchTransferItemsCarryTheirOwnSubject) {
  folder.addEmployee("1", "1234567890", "王小明");
  folder.addEntry("1", "880305", 100, "批次轉帳(扣款)");
  folder.addEntry("1", "880305", 200, "批次轉帳(入帳)");

  auto lines = records("880305");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(12, 1), "1");
  EXPECT_EQ(lines[0].substr(56, 2), "BT");
  EXPECT_EQ(lines[1].substr(12, 1), "2");
  EXPECT_EQ(lines[1].substr(56, 2), "BT");
}

TEST_F(TransferTextTest, EntryWithoutItemIsWrittenAsSalaryTransfer) {
  folder.addEmployee("1", "1234567890", "王小明");
  folder.addEntry("1", "880305", 100, std::nullopt);
  folder.addEntry("1", "880305", 200, " ");

  for (const auto& line : records("880305")) {
    EXPECT_EQ(line.substr(12, 1), "2");
    EXPECT_EQ(line.substr(56, 2), "SA");
  }
}

TEST_F(TransferTextTest, EveryItemOfThePayEntryListIsWritten) {
  folder.addEmployee("1", "1234567890", "王小明");
  double pay = 1;
  for (const auto& item : store::defaultSalaryItems()) folder.addEntry("1", "880305", pay++, item);

  auto lines = records("880305");
  ASSERT_EQ(lines.size(), store::defaultSalaryItems().size());
  std::string codes;
  for (const auto& line : lines) codes += line.substr(12, 1) + line.substr(56, 2) + " ";
  // In amount order, which is the list's order here.
  EXPECT_EQ(codes, "2SA 2PS 2RX 1PF 1PX 1PC 1IS 1IV 1PT 1PG 1PE 1PW 1BT 2BT 1TR 2TR ");
}

TEST_F(TransferTextTest, IdOtherThanTenBytesGivesTenSpaces) {
  folder.addEmployee("1", "1234567890", "王小明", "A12345678");
  folder.addEmployee("2", "1234567890", "李小華");
  folder.addEntry("1", "880305", 100);
  folder.addEntry("2", "880305", 100);

  for (const auto& line : records("880305")) {
    EXPECT_EQ(line.size(), transfer::kRecordLength);
    EXPECT_EQ(line.substr(42, 10), std::string(10, ' '));
    EXPECT_EQ(line.substr(52, 4), "****");
  }
}

TEST_F(TransferTextTest, ShortSendDateIsFilledWithSpaces) {
  folder.addEmployee("1", "1234567890", "王小明");
  folder.addEntry("1", "8803", 100);

  EXPECT_EQ(onlyRecord("8803").substr(6, 7), "8803  2");
}

TEST_F(TransferTextTest, ThreeRowsOfOneEmployeeAppearInAmountOrder) {
  folder.addEmployee("000005", "1234567890", "王小明");
  folder.addEntry("000005", "880305", 50000);
  folder.addEntry("000005", "880305", 700);
  folder.addEntry("000005", "880305", 3000);

  auto lines = records("880305");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, 40), "0000058803052    12345678900000000000700");
  EXPECT_EQ(lines[1].substr(27, 13), "0000000003000");
  EXPECT_EQ(lines[2].substr(27, 13), "0000000050000");
}

// ---- refusals ----

std::string refusal(const std::function<void()>& f) {
  try {
    f();
  } catch (const store::EngineError& e) {
    return e.what();
  }
  return "(nothing refused)";
}

TEST_F(TransferTextTest, ItemOutsideTheCodeTableIsRefusedNamingEmployeeDateAndItem) {
  folder.addEmployee("000042", "1234567890", "王小明");
  folder.addEntry("000042", "880305", 100, "年終獎金");
  transfer::buildTransferBatch(folder.session(), "880305");

  std::string message = refusal([&] { transfer::buildTransferText(folder.session(), "880305"); });
  EXPECT_NE(message.find("000042"), std::string::npos) << message;
  EXPECT_NE(message.find("880305"), std::string::npos) << message;
  EXPECT_NE(message.find("年終獎金"), std::string::npos) << message;
}

TEST_F(TransferTextTest, AmountOverThirteenCharactersIsRefusedNamingEmployeeDateAndAmount) {
  folder.addEmployee("000042", "1234567890", "王小明");
  folder.addEntry("000042", "880305", 12345678901234);
  transfer::buildTransferBatch(folder.session(), "880305");

  std::string message = refusal([&] { transfer::buildTransferText(folder.session(), "880305"); });
  EXPECT_NE(message.find("000042"), std::string::npos) << message;
  EXPECT_NE(message.find("880305"), std::string::npos) << message;
  EXPECT_NE(message.find("12345678901234"), std::string::npos) << message;
}

}  // namespace
