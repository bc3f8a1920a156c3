// SQL aggregate queries over the transfer batch, as the reports run them.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/Query.h"
#include "store/Table.h"

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
    store::Table t(s, "temp.DB");
    t.Open();
    t.Append();
    t.FieldByName("NUMBER").setText(number);
    t.FieldByName("SENDDATE").setText("880105");
    t.FieldByName("SUBJECT").setText("1");
    t.FieldByName("ACCOUNT").setText(testrows::kAccount);
    t.FieldByName("PAY").setNumber(pay);
    t.FieldByName("PAY1").setText("00");
    t.FieldByName("ID").setText("A123456789");
    t.FieldByName("SPACE").setText("    ");
    t.FieldByName("TRAN").setText("AA");
    t.FieldByName("MEMO").setText("");
    t.FieldByName("SALARYITEM").setText(item);
    t.FieldByName("NAME").setText(name);
    t.Post();
  }

  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(QueryTest, SumOfPayOverTheWholeBatch) {
  store::Query q(s, "Select Sum(PAY) From Temp");
  q.Open();
  ASSERT_FALSE(q.Eof());
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 350.5);
  EXPECT_EQ(q.FieldByName("SUM OF PAY").text(), "350.5");
}

TEST_F(QueryTest, SumOfAmountsWithCentsIsExact) {
  addBatchRow("000003", 0.1, "本薪", "Cid");
  addBatchRow("000003", 0.2, "加班費", "Cid");
  store::Query q(s, "Select Sum(PAY) From Temp Where NUMBER = :N");
  q.setParam("N", std::string("000003"));
  q.Open();
  EXPECT_EQ(q.FieldByName("SUM OF PAY").text(), "0.3");
}

TEST_F(QueryTest, CountOfPay) {
  store::Query q(s, "Select Count(PAY) From Temp Where PAY=PAY");
  q.Open();
  ASSERT_EQ(q.fieldCount(), 1);
  EXPECT_DOUBLE_EQ(q.fieldAt(0).number(), 3);
}

TEST_F(QueryTest, ReopenedQuerySeesNewRows) {
  store::Query q(s, "Select Sum(PAY) From Temp");
  q.Open();
  q.Close();
  addBatchRow("000003", 1000, "本薪", "Cid");
  q.Open();
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 1350.5);
}

TEST_F(QueryTest, ParameterTakesTheSourceTablesFieldAndFollowsItsMoves) {
  store::Table batch(s, "temp.DB");
  batch.SetIndexFieldNames("NUMBER");
  batch.Open();
  store::Query q(s, "Select Sum(PAY) From Temp Where NUMBER =:NUMBER");
  q.SetDataSource(&batch);
  q.Open();
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 300.5);
  batch.Last();
  ASSERT_EQ(batch.FieldByName("NUMBER").text(), "000002");
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 50);
  batch.First();
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 300.5);
}

TEST_F(QueryTest, ParameterFromAnotherTablesRow) {
  testrows::addEmployee(s, "000001", "王小明");
  testrows::addEmployee(s, "000002", "Bob");
  store::Table basic(s, "basic.DB");
  basic.Open();
  store::Query q(s, "Select Count(PAY) From Temp Where NUMBER = :NUMBER");
  q.SetDataSource(&basic);
  q.Open();
  EXPECT_DOUBLE_EQ(q.fieldAt(0).number(), 2);
  basic.Next();
  EXPECT_DOUBLE_EQ(q.fieldAt(0).number(), 1);
}

TEST_F(QueryTest, ChineseTextParameterComparesWithStoredText) {
  store::Query q(s, "Select Sum(PAY) From Temp Where NAME = :NAME");
  q.setParam("NAME", std::string("王小明"));
  q.Open();
  EXPECT_DOUBLE_EQ(q.FieldByName("SUM OF PAY").number(), 300.5);
}

TEST_F(QueryTest, RowsStreamOneAtATime) {
  store::Query q(s, "Select NAME, PAY From TEMP.db Where NUMBER = :N Order By PAY");
  q.setParam("N", std::string("000001"));
  q.Open();
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldByName("NAME").text(), "王小明");
  EXPECT_DOUBLE_EQ(q.FieldByName("PAY").number(), 100);
  q.Next();
  ASSERT_FALSE(q.Eof());
  EXPECT_DOUBLE_EQ(q.FieldByName("PAY").number(), 200.5);
  q.Next();
  EXPECT_TRUE(q.Eof());
}

TEST_F(QueryTest, ExecSqlChangesRowsAndCountsThem) {
  store::Query del(s, "Delete From Temp Where NUMBER = :N");
  del.setParam("N", std::string("000001"));
  EXPECT_EQ(del.ExecSQL(), 2);
  EXPECT_EQ(testrows::fileColumn(s, "temp.DB", "NAME"), std::vector<std::string>{"Bob"});
}

}  // namespace
