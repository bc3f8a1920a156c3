// SQL aggregate queries over the transfer batch, as the reports run them.

#include <gtest/gtest.h>

#include "store/Query.h"
#include "support/TestRows.h"

using testrows::thrownBy;

namespace {

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addBatchRow("000001", 100, "本薪", "王小明");
    addBatchRow("000002", 50, "本薪", "Bob");
    addBatchRow("000001", 200.5, "加班費", "王小明");
  }
  void addBatchRow(const std::string& number, double pay, const std::string& item,
                   const std::string& name) {
    testrows::append(s, "temp.DB",
                     {{"NUMBER", number},
                      {"SENDDATE", "880105"},
                      {"PAY", store::formatNumber(pay)},
                      {"SALARYITEM", item},
                      {"NAME", name}});
  }
  std::string sum(store::Query& q) { return q.FieldByName("SUM OF PAY").text(); }

  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(QueryTest, SumOverTheWholeBatchSeesNewRowsWhenReopened) {
  store::Query q(s, "Select Sum(PAY) From Temp");
  q.Open();
  ASSERT_FALSE(q.Eof());
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 350.5);
  EXPECT_EQ(sum(q), "350.5");
  q.Close();
  addBatchRow("000003", 0.1, "本薪", "Cid");
  addBatchRow("000003", 0.2, "加班費", "Cid");
  q.Open();
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 350.8);
  store::Query cents(s, "Select Sum(PAY) From Temp Where NUMBER = :N");
  cents.setParam("N", std::string("000003"));
  cents.Open();
  EXPECT_EQ(sum(cents), "0.3");  // amounts with cents add up exactly
}

TEST_F(QueryTest, NumberParameterFromTheDataSourceRerunsAsTheSourceMoves) {
  testrows::addEmployee(s, "000001", "王小明");
  testrows::addEmployee(s, "000002", "Bob");
  store::Table basic(s, "basic.DB");
  basic.Open();
  store::Query total(s, "Select Sum(PAY) From Temp Where NUMBER =:NUMBER");
  store::Query count(s, "Select Count(PAY) From Temp Where NUMBER = :NUMBER");
  total.SetDataSource(&basic);
  count.SetDataSource(&basic);
  total.Open();
  count.Open();
  for (const auto& [number, expectedSum, expectedCount] :
       {std::tuple{"000001", "300.5", 2.0}, {"000002", "50", 1.0}, {"000001", "300.5", 2.0}}) {
    ASSERT_TRUE(basic.Locate("NUMBER", number, store::NoLocateOptions));
    EXPECT_EQ(sum(total), expectedSum) << number;
    EXPECT_DOUBLE_EQ(count.fieldAt(0).number(), expectedCount) << number;
  }
}

TEST_F(QueryTest, ParameterWithoutAValueIsRefused) {
  store::Table item(s, "item.DB");  // a source without that field
  item.Open();
  store::Query q(s, "Select Sum(PAY) From Temp Where NUMBER = :NUMBER");
  EXPECT_TRUE(thrownBy([&] { q.Open(); }).code.has_value());
  q.SetDataSource(&item);
  EXPECT_TRUE(thrownBy([&] { q.Open(); }).code.has_value());
  EXPECT_FALSE(q.Active());
}

TEST_F(QueryTest, ExecSqlWithAChineseTextParameterChangesRowsAndCountsThem) {
  store::Query del(s, "Delete From Temp Where NAME = :NAME");
  del.setParam("NAME", std::string("王小明"));
  EXPECT_EQ(del.ExecSQL(), 2);
  EXPECT_EQ(testrows::fileColumn(s, "temp.DB", "NAME"), testrows::Texts{"Bob"});
}

}  // namespace
