// Moving through a table: the row current after Open, the end flags, closed tables.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using store::EngineError;
using store::Table;
using testrows::Texts;
using testrows::thrownBy;

namespace {

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Written out of order: the table shows them in NUMBER order.
    testrows::addEmployee(s, "000002", "Bob");
    testrows::addEmployee(s, "000003", "Cid");
    testrows::addEmployee(s, "000001", "Amy");
    basic.Open();
  }
  // The current number and the end flags that are set.
  std::string at() {
    return basic.FieldByName("NUMBER").text() + (basic.Bof() ? " bof" : "") +
           (basic.Eof() ? " eof" : "");
  }

  TestFolder folder;
  store::Session& s = folder.session();
  Table basic{s, "basic.DB"};
};

TEST_F(CursorTest, OpenLeavesTheFirstRowCurrentAndNextWalksInIndexOrder) {
  EXPECT_EQ(at(), "000001 bof");
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Amy");
  EXPECT_EQ(basic.State(), store::TableState::Browse);
  EXPECT_EQ(testrows::column(basic, "NAME"), (Texts{"Amy", "Bob", "Cid"}));
  // A reopened table starts again at its first row.
  basic.SetActive(false);
  basic.SetActive(true);
  EXPECT_EQ(at(), "000001 bof");
}

TEST_F(CursorTest, EndFlagsAtBothEndsAndMovesPastThemStay) {
  const std::pair<void (Table::*)(), const char*> steps[] = {
      {&Table::Next, "000002"},      {&Table::Next, "000003"},  // on the last row, not past it
      {&Table::Next, "000003 eof"},  {&Table::Next, "000003 eof"},  {&Table::Prior, "000002"},
      {&Table::First, "000001 bof"}, {&Table::Prior, "000001 bof"}, {&Table::Next, "000002"},
      {&Table::Last, "000003 eof"},  {&Table::Prior, "000002"},
  };
  int i = 0;
  for (const auto& [move, expected] : steps) {
    (basic.*move)();
    EXPECT_EQ(at(), expected) << "step " << i++;
  }
}

TEST_F(CursorTest, EmptyTableHasBothFlagsSetAndNoRow) {
  Table pass(s, "pass.DB");
  pass.Open();
  for (auto move : {&Table::First, &Table::Next, &Table::Prior, &Table::Last}) {
    (pass.*move)();
    EXPECT_TRUE(pass.Bof() && pass.Eof() && pass.IsEmpty());
  }
  EXPECT_EQ(pass.RecordCount(), 0);
  EXPECT_EQ(pass.FieldByName("USERID").text(), "");
}

TEST_F(CursorTest, ClosedTableRefusesReadingAndWritingAndChangesNothing) {
  store::Field name = basic.FieldByName("NAME");
  basic.Close();
  EXPECT_FALSE(basic.Active());
  for (const auto& op : std::vector<std::function<void()>>{
           [&] { basic.First(); }, [&] { basic.Last(); }, [&] { basic.RecordCount(); },
           [&] { basic.Refresh(); }, [&] { basic.Insert(); }, [&] { basic.Edit(); },
           [&] { name.setText("Zed"); }, [&] { basic.Post(); }}) {
    EXPECT_EQ(thrownBy(op).code, EngineError::Code::WrongState);
  }
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), (Texts{"Amy", "Bob", "Cid"}));
}

}  // namespace
