// Writing rows: Post and its refusals, Cancel, Delete, Refresh, EmptyTable.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using store::EngineError;
using store::TableState;
using testrows::Texts;
using testrows::thrownBy;

namespace {

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(s, "000001", "Amy");
    testrows::addEmployee(s, "000002", "Bob");
    testrows::addEmployee(s, "000003", "Cid");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
  }
  std::string field(const char* name) { return basic.FieldByName(name).text(); }
  void set(const char* name, const std::string& text) { basic.FieldByName(name).setText(text); }
  void fill(const std::string& number, const std::string& name) {
    set("NUMBER", number);
    set("ACCOUNT", "99999999999999");
    set("NAME", name);
  }
  Texts namesInFile() { return testrows::fileColumn(s, "basic.DB", "NAME", "NUMBER"); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(EditingTest, InsertedAndEditedRowsAreWrittenByPost) {
  basic.Insert();
  EXPECT_EQ(basic.State(), TableState::Insert);
  EXPECT_EQ(field("NUMBER"), "");
  fill("000004", "Dan");
  basic.Post();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(field("NUMBER"), "000004");  // the written row stays current
  EXPECT_EQ(basic.RecordCount(), 4);
  basic.Prior();
  basic.Edit();
  EXPECT_EQ(field("NAME"), "Cid");  // the buffer starts with the row's values
  set("NAME", "Cyd");
  basic.Post();
  EXPECT_EQ(field("NAME"), "Cyd");
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NUMBER ACCOUNT NAME"),
            (Texts{"000001 12345678901234 Amy", "000002 12345678901234 Bob",
                   "000003 12345678901234 Cyd", "000004 99999999999999 Dan"}));
}

TEST_F(EditingTest, RefusedPostLeavesTheRowItsStateAndItsValues) {
  struct Case {
    TableState state;                     // Insert or Edit of the first row, or nothing pending
    const char *number, *account, *name;  // assigned unless null
    EngineError::Code code;
    const char* inMessage;
  };
  const auto Insert = TableState::Insert, Edit = TableState::Edit;
  const Case cases[] = {
      {Insert, "000002", "99999999999999", "Dup", EngineError::Code::KeyViolation, ""},
      {Edit, "000002", nullptr, "Cyd", EngineError::Code::KeyViolation, ""},
      {Insert, "000004", nullptr, "Dan", EngineError::Code::RequiredField, "ACCOUNT"},
      {Edit, nullptr, nullptr, "", EngineError::Code::RequiredField, "NAME"},
      {TableState::Browse, nullptr, nullptr, nullptr, EngineError::Code::WrongState, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    basic.First();
    if (c.state == Insert) basic.Insert();
    if (c.state == Edit) basic.Edit();
    for (const auto& [name, text] :
         {std::pair{"NUMBER", c.number}, {"ACCOUNT", c.account}, {"NAME", c.name}}) {
      if (text) set(name, text);
    }
    const std::string row = field("NUMBER") + "|" + field("ACCOUNT") + "|" + field("NAME");
    auto thrown = thrownBy([&] { basic.Post(); });
    EXPECT_EQ(thrown.code, c.code);
    EXPECT_NE(thrown.message.find(c.inMessage), std::string::npos) << thrown.message;
    EXPECT_EQ(basic.State(), c.state);
    EXPECT_EQ(field("NUMBER") + "|" + field("ACCOUNT") + "|" + field("NAME"), row);
    EXPECT_EQ(namesInFile(), (Texts{"Amy", "Bob", "Cid"}));
    basic.Cancel();
  }
}

TEST_F(EditingTest, CancelOrAMoveDropsThePendingRow) {
  basic.Next();
  basic.Insert();
  fill("000004", "Dan");
  basic.Cancel();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(basic.RecordCount(), 3);
  EXPECT_NE(field("NAME"), "Dan");
  basic.Edit();
  set("NAME", "Ben");
  basic.Cancel();
  EXPECT_EQ(field("NAME"), "Bob");  // the stored values show again
  basic.Edit();
  set("NAME", "Ben");
  basic.Next();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_TRUE(thrownBy([&] { set("NAME", "Zed"); }).code);  // no assigning in Browse
  EXPECT_EQ(namesInFile(), (Texts{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, DeleteMakesTheNextRowCurrentOrThePreviousWhenLast) {
  basic.Next();
  basic.Delete();
  EXPECT_EQ(field("NAME"), "Cid");
  EXPECT_EQ(basic.RecordCount(), 2);
  basic.Delete();
  EXPECT_EQ(field("NAME"), "Amy");
  EXPECT_EQ(namesInFile(), Texts{"Amy"});
  basic.Delete();
  EXPECT_TRUE(basic.IsEmpty() && basic.Bof() && basic.Eof());
  EXPECT_EQ(thrownBy([&] { basic.Delete(); }).code, EngineError::Code::EmptyTable);
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
}

TEST_F(EditingTest, RefreshSeesWritesOfOtherTableObjectsAndSessions) {
  basic.Next();
  store::Table other(s, "basic.DB");
  other.Open();
  other.Edit();
  other.FieldByName("NAME").setText("Ann");
  other.Post();
  testrows::addEmployee(s, "000000", "Zoe");
  basic.Refresh();
  EXPECT_EQ(field("NAME"), "Bob");  // the current row stays current
  store::Session elsewhere(folder.path());
  elsewhere.AddPassword(store::kTablePassword);
  testrows::addEmployee(elsewhere, "000004", "Dan");
  {
    store::Table t(elsewhere, "basic.DB");
    t.Open();
    ASSERT_TRUE(t.Locate("NAME", "Bob", store::NoLocateOptions));
    t.Delete();
  }
  basic.Refresh();
  EXPECT_EQ(field("NAME"), "Cid");  // the successor of the row deleted elsewhere
  EXPECT_EQ(basic.RecordCount(), 4);
  EXPECT_EQ(testrows::column(basic, "NAME"), (Texts{"Zoe", "Ann", "Cid", "Dan"}));
}

TEST_F(EditingTest, EmptyTableOnAClosedTableObjectEmptiesThatFileOnly) {
  testrows::addEntry(s, "000001", "880101", 100, "本薪");
  store::Table closed(s, "basic.DB");
  closed.EmptyTable();
  EXPECT_FALSE(closed.Active());
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 1);
  basic.Refresh();
  EXPECT_TRUE(basic.IsEmpty());
  EXPECT_EQ(basic.RecordCount(), 0);
  testrows::addEmployee(s, "000001", "Amy");  // the emptied file still takes rows
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 1);
}

}  // namespace

namespace {

// Another table object deletes the current row (the one with the highest rowid, whose rowid
// SQLite gives to the next row) and writes a new row in its place: a stale Delete or Post must
// touch neither, and say so.
TEST(StaleRow, DeleteOrPostOfARowGoneNeverTouchesTheRowThatTookItsPlace) {
  for (const bool deleting : {true, false}) {
    SCOPED_TRACE(deleting ? "Delete" : "Post");
    TestFolder folder;
    store::Session& s = folder.session();
    testrows::addEntry(s, "000001", "880105", 35000, "薪水轉帳");
    testrows::addEntry(s, "000001", "880205", 36000, "薪水轉帳");
    store::Table stale(s, "salary.DB");
    stale.Open();
    stale.Last();  // 880205
    store::Table other(s, "salary.DB");
    other.Open();
    other.Last();
    other.Delete();
    testrows::addEntry(s, "000001", "880305", 1200, "退稅");
    if (deleting) {
      EXPECT_EQ(thrownBy([&] { stale.Delete(); }).code, EngineError::Code::General);
    } else {
      stale.Edit();
      stale.FieldByName("PAY").setNumber(1);
      EXPECT_EQ(thrownBy([&] { stale.Post(); }).code, EngineError::Code::General);
    }
    EXPECT_EQ(testrows::entries(s),
              (Texts{"000001 880105 35000 薪水轉帳", "000001 880305 1200 退稅"}));
  }
}

}  // namespace
