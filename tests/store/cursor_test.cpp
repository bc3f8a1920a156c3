// Moving through a table: the row current after Open, the end flags, closed tables.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Table.h"

using store::EngineError;
using testrows::thrownBy;

namespace {

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Written out of order: the table shows them in NUMBER order.
    testrows::addEmployee(s, "000002", "Bob");
    testrows::addEmployee(s, "000003", "Cid");
    testrows::addEmployee(s, "000001", "Amy");
  }
  std::string number() { return basic.FieldByName("NUMBER").text(); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(CursorTest, OpenLeavesFirstRowCurrent) {
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  EXPECT_EQ(number(), "000001");
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Amy");
  EXPECT_TRUE(basic.Bof());
  EXPECT_FALSE(basic.Eof());
  EXPECT_EQ(basic.State(), store::TableState::Browse);
}

TEST_F(CursorTest, NextWalksEveryRowInIndexOrder) {
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  EXPECT_EQ(testrows::column(basic, "NAME"), (std::vector<std::string>{"Amy", "Bob", "Cid"}));
}

TEST_F(CursorTest, FirstSetsBofAndLastSetsEof) {
  basic.Open();
  basic.Last();
  EXPECT_EQ(number(), "000003");
  EXPECT_TRUE(basic.Eof());
  EXPECT_FALSE(basic.Bof());
  basic.First();
  EXPECT_EQ(number(), "000001");
  EXPECT_TRUE(basic.Bof());
  EXPECT_FALSE(basic.Eof());
}

TEST_F(CursorTest, SuccessfulMoveClearsBothFlags) {
  basic.Open();
  basic.Next();
  EXPECT_EQ(number(), "000002");
  EXPECT_FALSE(basic.Bof());
  EXPECT_FALSE(basic.Eof());
  basic.Last();
  basic.Prior();
  EXPECT_EQ(number(), "000002");
  EXPECT_FALSE(basic.Bof());
  EXPECT_FALSE(basic.Eof());
}

TEST_F(CursorTest, NextPastLastSetsEofAndStaysOnLast) {
  basic.Open();
  basic.Next();
  basic.Next();
  EXPECT_EQ(number(), "000003");
  EXPECT_FALSE(basic.Eof());  // standing on the last row is not yet past it
  basic.Next();
  EXPECT_TRUE(basic.Eof());
  EXPECT_EQ(number(), "000003");
  basic.Next();
  EXPECT_TRUE(basic.Eof());
  EXPECT_EQ(number(), "000003");
}

TEST_F(CursorTest, PriorPastFirstSetsBofAndStaysOnFirst) {
  basic.Open();
  basic.Last();
  basic.Prior();
  basic.Prior();
  EXPECT_EQ(number(), "000001");
  basic.Prior();
  EXPECT_TRUE(basic.Bof());
  EXPECT_EQ(number(), "000001");
  basic.Next();
  EXPECT_EQ(number(), "000002");
}

TEST_F(CursorTest, EmptyTableOpensWithBothFlagsSetAndNoRow) {
  store::Table pass(s, "pass.DB");
  pass.Open();
  EXPECT_TRUE(pass.Bof());
  EXPECT_TRUE(pass.Eof());
  EXPECT_TRUE(pass.IsEmpty());
  EXPECT_EQ(pass.RecordCount(), 0);
  EXPECT_EQ(pass.FieldByName("USERID").text(), "");
  pass.Next();
  pass.Prior();
  EXPECT_TRUE(pass.Bof());
  EXPECT_TRUE(pass.Eof());
}

TEST_F(CursorTest, ReadingAClosedTableIsAnError) {
  EXPECT_EQ(thrownBy([&] { basic.First(); }).code, EngineError::Code::WrongState);
  EXPECT_EQ(thrownBy([&] { basic.Next(); }).code, EngineError::Code::WrongState);
  EXPECT_EQ(thrownBy([&] { basic.RecordCount(); }).code, EngineError::Code::WrongState);
  EXPECT_EQ(thrownBy([&] { basic.Refresh(); }).code, EngineError::Code::WrongState);
  basic.Open();
  basic.Close();
  EXPECT_FALSE(basic.Active());
  EXPECT_EQ(thrownBy([&] { basic.Last(); }).code, EngineError::Code::WrongState);
}

TEST_F(CursorTest, WritingAClosedTableIsAnErrorAndChangesNothing) {
  basic.Open();
  store::Field name = basic.FieldByName("NAME");
  basic.Close();
  EXPECT_TRUE(thrownBy([&] { basic.Insert(); }).code.has_value());
  EXPECT_TRUE(thrownBy([&] { basic.Edit(); }).code.has_value());
  EXPECT_TRUE(thrownBy([&] { name.setText("Zed"); }).code.has_value());
  EXPECT_TRUE(thrownBy([&] { basic.Post(); }).code.has_value());
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME", "NUMBER"),
            (std::vector<std::string>{"Amy", "Bob", "Cid"}));
}

TEST_F(CursorTest, ReopenedTableStartsAgainAtFirstRow) {
  basic.Open();
  basic.Last();
  basic.SetActive(false);
  EXPECT_FALSE(basic.Active());
  basic.SetActive(true);
  EXPECT_EQ(number(), "000001");
}

TEST_F(CursorTest, SetTableNameRebindsAClosedTable) {
  testrows::addUser(s, "admin", "1234");
  basic.SetTableName("pass.DB");
  basic.Open();
  EXPECT_EQ(basic.FieldByName("USERID").text(), "admin");
  EXPECT_EQ(basic.RecordCount(), 1);
}

TEST_F(CursorTest, OpeningAMissingFileFails) {
  store::Table t(s, "nosuch.DB");
  EXPECT_EQ(thrownBy([&] { t.Open(); }).code, EngineError::Code::MissingFile);
  EXPECT_FALSE(t.Active());
  EXPECT_FALSE(s.exists("nosuch.DB"));
}

}  // namespace
