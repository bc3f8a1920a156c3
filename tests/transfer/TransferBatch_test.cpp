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

using Texts = std::vector<std::string>;

// "NUMBER SENDDATE PAY SALARYITEM" of every row of the batch (the item as UTF-8).
Texts rows(TransferFolder& folder) {
  Texts out;
  for (const auto& r : folder.batch()) {
    out.push_back(r.NUMBER + " " + r.SENDDATE + " " + store::formatNumber(r.PAY.asNumber()) + " " +
                  store::cp950::decode(r.SALARYITEM));
  }
  return out;
}

class TransferBatchTest : public ::testing::Test {
 protected:
  long long build(const std::string& date) {
    return transfer::buildTransferBatch(folder.session(), date);
  }

  TransferFolder folder;
};

TEST_F(TransferBatchTest, DateTextSelectsTheEntriesWhoseSendDateBeginsWithIt) {
  folder.addEmployee("000001", "甲", "", "1111");
  for (const char* date : {"880228", "880301", "880305", "880331", "880401", "870305", "8803", "",
                           "88a305", "88A305"}) {
    folder.addEntry("000001", date, 1, "薪水轉帳");
  }
  auto dates = [&] {
    Texts out;
    for (const auto& r : folder.batch()) out.push_back(r.SENDDATE);
    return out;
  };
  for (const auto& [text, expected] :
       {std::pair<const char*, Texts>{"880305", {"880305"}},  // a shorter send date never passes
        {"8803", {"8803", "880301", "880305", "880331"}},
        {"88a", {"88a305"}},  // letter case counts
        {"8805", {}},
        {"",
         {"", "870305", "880228", "8803", "880301", "880305", "880331", "880401", "88A305",
          "88a305"}}}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(build(text), static_cast<long long>(expected.size()));
    EXPECT_EQ(dates(), expected);  // the new batch replaces the previous one
  }
}

TEST_F(TransferBatchTest, EveryEntryOfAnExistingEmployeeGivesOneRow) {
  folder.addEmployee("000001", "甲", "", "1111");
  folder.addEmployee("000007", "陳大文", "A123456789", "00012345678901");
  folder.addEntry("000001", "880305", 1000, "電費");
  folder.addEntry("000001", "880305", 1000, "水費");
  folder.addEntry("000002", "880305", 2, "薪水轉帳");  // no such employee: passed over
  folder.addEntry("000007", "880305", 50000, "薪水轉帳");
  folder.addEntry("000007", "880305", 100, "股利發放");
  folder.addEntry("000007", "880305", 3000, "退稅");
  EXPECT_EQ(build("880305"), 5);
  EXPECT_EQ(rows(folder), (Texts{"000001 880305 1000 水費", "000001 880305 1000 電費",
                                 "000007 880305 100 股利發放", "000007 880305 3000 退稅",
                                 "000007 880305 50000 薪水轉帳"}));
  const BatchRow& last = folder.batch().back();
  EXPECT_EQ(last.ACCOUNT + " " + last.ID + " " + store::cp950::decode(last.NAME),
            "00012345678901 A123456789 陳大文");
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
    folder.addEmployee(n, "員工", n[0] == '0' ? "B222333444" : "", std::string("ACC") + n);
  }
  int k = 0;
  for (const char* n : {"000001", "000002", "000002", "000003", "000004", "000005", "000006", "1",
                        "10", "100", "9", "99"}) {
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

TEST_F(TransferBatchTest, EntryWithoutAmountBesideAnEntryOfZeroIsRefusedKeepingTheEarlierBatch) {
  folder.addEmployee("000001", "甲", "", "1111");
  folder.addEntry("000001", "880301", 500, "薪水轉帳");
  build("8803");
  folder.addEntry("000001", "880305", std::nullopt, "電費");
  folder.addEntry("000001", "880305", 0, "電費");
  std::string message;
  try {
    build("8803");
  } catch (const store::EngineError& e) {
    message = e.what();
  }
  for (const char* part : {"000001", "880305", "電費"}) {
    EXPECT_NE(message.find(part), std::string::npos) << message;
  }
  EXPECT_EQ(rows(folder), Texts{"000001 880301 500 薪水轉帳"});
}

}  // namespace
