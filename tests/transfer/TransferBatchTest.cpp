// Building the transfer batch in temp.DB: which pay entries enter it and what each row holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "TransferFolder.h"
#include "store/Cp950.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "transfer/SendDate.h"
#include "transfer/TransferBatch.h"

namespace {

std::string big5(const std::string& utf8) {
  return store::cp950::encode(utf8).bytes;
}

std::vector<std::string> column(const std::vector<BatchRow>& rows, std::string BatchRow::*field) {
  std::vector<std::string> v;
  for (const auto& r : rows) v.push_back(r.*field);
  return v;
}

std::vector<double> amounts(const std::vector<BatchRow>& rows) {
  std::vector<double> v;
  for (const auto& r : rows) v.push_back(r.PAY.asNumber());
  return v;
}

class TransferBatchTest : public ::testing::Test {
 protected:
  TransferFolder folder;
};

TEST_F(TransferBatchTest, SixDigitTextSelectsOnlyThatDay) {
  folder.addEmployee("000001", "1234567890", "王小明");
  folder.addEntry("000001", "880305", 35000);
  folder.addEntry("000001", "880306", 36000);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "880305"), 1);
  auto rows = folder.batch();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].SENDDATE, "880305");
  EXPECT_EQ(rows[0].PAY, store::Value::number(35000));
}

TEST_F(TransferBatchTest, MonthTextSelectsEveryDayOfThatMonthWithItsOwnDate) {
  folder.addEmployee("000001", "1234567890", "王小明");
  folder.addEntry("000001", "880228", 1);
  folder.addEntry("000001", "880301", 2);
  folder.addEntry("000001", "880315", 3);
  folder.addEntry("000001", "880331", 4);
  folder.addEntry("000001", "880401", 5);
  folder.addEntry("000001", "870305", 6);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "8803"), 3);
  EXPECT_EQ(column(folder.batch(), &BatchRow::SENDDATE),
            (std::vector<std::string>{"880301", "880315", "880331"}));
}

TEST_F(TransferBatchTest, EmptyTextSelectsEveryEntryOfEveryEmployee) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEmployee("000002", "2222", "乙");
  folder.addEntry("000001", "870101", 1);
  folder.addEntry("000001", "880305", 2);
  folder.addEntry("000002", "", 3);
  folder.addEntry("000002", "99", 4);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), ""), 4);
  EXPECT_EQ(amounts(folder.batch()), (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(TransferBatchTest, ShorterSendDateNeverPassesLongerText) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "8803", 1);
  folder.addEntry("000001", "880305", 2);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "880305"), 1);
  EXPECT_EQ(amounts(folder.batch()), (std::vector<double>{2}));
  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "8803"), 2);
}

TEST_F(TransferBatchTest, DateTextMatchesLetterCaseExactly) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "88A305", 1);
  folder.addEntry("000001", "88a305", 2);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "88a"), 1);
  EXPECT_EQ(column(folder.batch(), &BatchRow::SENDDATE), (std::vector<std::string>{"88a305"}));
}

TEST_F(TransferBatchTest, EntryWithoutEmployeeIsPassedOver) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEmployee("000003", "3333", "丙");
  folder.addEntry("000001", "880305", 1);
  folder.addEntry("000002", "880305", 2);
  folder.addEntry("000003", "880305", 3);

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "880305"), 2);
  EXPECT_EQ(column(folder.batch(), &BatchRow::NUMBER),
            (std::vector<std::string>{"000001", "000003"}));
}

TEST_F(TransferBatchTest, ThreeEntriesOfOneEmployeeGiveThreeRowsWithTheEmployeesData) {
  folder.addEmployee("000007", "00012345678901", "陳大文", "A123456789");
  folder.addEntry("000007", "880305", 50000);
  folder.addEntry("000007", "880305", 100, "股利發放");
  folder.addEntry("000007", "880305", 3000, "退稅");

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "880305"), 3);
  auto rows = folder.batch();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(amounts(rows), (std::vector<double>{100, 3000, 50000}));
  EXPECT_EQ(column(rows, &BatchRow::SALARYITEM),
            (std::vector<std::string>{big5("股利發放"), big5("退稅"), big5("薪水轉帳")}));
  for (const auto& r : rows) {
    EXPECT_EQ(r.NUMBER, "000007");
    EXPECT_EQ(r.SENDDATE, "880305");
    EXPECT_EQ(r.ACCOUNT, "00012345678901");
    EXPECT_EQ(r.ID, "A123456789");
    EXPECT_EQ(r.NAME, big5("陳大文"));
    EXPECT_EQ(r.SUBJECT, "2");
    EXPECT_EQ(r.PAY1, "00");
    EXPECT_EQ(r.SPACE, "****");
    EXPECT_EQ(r.TRAN, "SA");
    EXPECT_EQ(r.MEMO, "");
  }
}

TEST_F(TransferBatchTest, EntriesEqualButForTheItemGiveTwoRows) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "880305", 1000, "電費");
  folder.addEntry("000001", "880305", 1000, "水費");

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "880305"), 2);
  EXPECT_EQ(column(folder.batch(), &BatchRow::SALARYITEM),
            (std::vector<std::string>{big5("水費"), big5("電費")}));
}

TEST_F(TransferBatchTest, EntryWithoutAmountEntersWithZero) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "880305", std::nullopt);

  transfer::buildTransferBatch(folder.session(), "880305");
  auto rows = folder.batch();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].PAY, store::Value::number(0));
}

TEST_F(TransferBatchTest, NewBatchReplacesThePreviousOne) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "880305", 1);
  folder.addEntry("000001", "880405", 2);
  transfer::buildTransferBatch(folder.session(), "8803");

  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "8804"), 1);
  EXPECT_EQ(amounts(folder.batch()), (std::vector<double>{2}));
  EXPECT_EQ(transfer::buildTransferBatch(folder.session(), "8805"), 0);
  EXPECT_TRUE(folder.batch().empty());
}

// The batch must be what walking the employees and the entries together in NUMBER order
// yields: every entry that meets its own employee and passes the date filter, once.
std::vector<BatchRow> mergeWalk(store::Session& session, const std::string& date) {
  store::Table basic(session, "basic.DB");
  store::Table salary(session, "salary.DB");
  basic.SetIndexFieldNames("NUMBER");
  salary.SetIndexFieldNames("NUMBER");
  basic.Open();
  salary.Open();
  basic.First();
  salary.First();
  std::vector<BatchRow> rows;
  auto e = [&](const char* f) { return basic.FieldByName(f).bytes(); };
  auto s = [&](const char* f) { return salary.FieldByName(f).bytes(); };
  while (!basic.Eof() && !salary.Eof()) {
    if (e("NUMBER") == s("NUMBER") && transfer::passesDateFilter(s("SENDDATE"), date)) {
      rows.push_back({s("NUMBER"), s("SENDDATE"), "2", e("ACCOUNT"),
                      store::Value::number(salary.FieldByName("PAY").number()), "00", e("ID"),
                      "****", "SA", "", s("SALARYITEM"), e("NAME")});
    }
    if (e("NUMBER") >= s("NUMBER")) salary.Next();
    while (e("NUMBER") < s("NUMBER") && !basic.Eof()) basic.Next();
  }
  std::sort(rows.begin(), rows.end(), [](const BatchRow& a, const BatchRow& b) {
    return std::make_tuple(a.NUMBER, a.SENDDATE, a.PAY.asNumber(), a.SALARYITEM) <
           std::make_tuple(b.NUMBER, b.SENDDATE, b.PAY.asNumber(), b.SALARYITEM);
  });
  return rows;
}

TEST_F(TransferBatchTest, BatchEqualsTheWalkOfEmployeesAndEntries) {
  for (const char* n : {"000002", "000004", "000005", "1", "10", "9"}) {
    folder.addEmployee(n, std::string("ACC") + n, "員工", n[0] == '0' ? "B222333444" : "");
  }
  const char* numbers[] = {"000001", "000002", "000002", "000003", "000004", "000005",
                           "000006", "1",      "10",     "100",    "9",      "99"};
  int k = 0;
  for (const char* n : numbers) {
    for (const char* d : {"880305", "880312", "880405", "8803"}) {
      ++k;
      folder.addEntry(n, d, k % 5 == 0 ? std::optional<double>() : std::optional<double>(k * 10.5),
                      k % 3 == 0 ? "電費" : "薪水轉帳");
    }
  }

  for (const char* date : {"880305", "8803", "88", ""}) {
    SCOPED_TRACE(date);
    transfer::buildTransferBatch(folder.session(), date);
    auto expected = mergeWalk(folder.session(), date);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(folder.batch(), expected);
  }
}

TEST_F(TransferBatchTest, EntryWithoutAmountBesideAnEntryOfZeroIsRefusedNamingThem) {
  folder.addEmployee("000001", "1111", "甲");
  folder.addEntry("000001", "880301", 500);
  transfer::buildTransferBatch(folder.session(), "8803");
  folder.addEntry("000001", "880305", std::nullopt, "電費");
  folder.addEntry("000001", "880305", 0, "電費");

  std::string message;
  try {
    transfer::buildTransferBatch(folder.session(), "8803");
  } catch (const store::EngineError& e) {
    message = e.what();
  }
  EXPECT_NE(message.find("000001"), std::string::npos) << message;
  EXPECT_NE(message.find("880305"), std::string::npos) << message;
  EXPECT_NE(message.find("電費"), std::string::npos) << message;
  // Nothing of the new batch was kept.
  EXPECT_EQ(amounts(folder.batch()), (std::vector<double>{500}));
}

}  // namespace
