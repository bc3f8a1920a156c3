// Writing rows: Post and its refusals, Cancel, Delete, Refresh, EmptyTable.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Table.h"

using store::EngineError;
using store::TableState;
using testrows::thrownBy;
using Names = std::vector<std::string>;

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
  void fill(const std::string& number, const std::string& account, const std::string& name) {
    basic.FieldByName("NUMBER").setText(number);
    basic.FieldByName("ACCOUNT").setText(account);
    basic.FieldByName("NAME").setText(name);
  }
  Names namesInFile() { return testrows::fileColumn(s, "basic.DB", "NAME", "NUMBER"); }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
};

TEST_F(EditingTest, InsertedRowIsWrittenByPost) {
  basic.Insert();
  EXPECT_EQ(basic.State(), TableState::Insert);
  EXPECT_EQ(field("NUMBER"), "");
  fill("000004", "99999999999999", "Dan");
  basic.FieldByName("ID").setText("A123456789");
  basic.Post();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(field("NUMBER"), "000004");  // the written row stays current
  EXPECT_EQ(basic.RecordCount(), 4);
  store::Table check(s, "basic.DB");
  check.Open();
  ASSERT_TRUE(check.Locate("NUMBER", "000004", store::NoLocateOptions));
  EXPECT_EQ(check.FieldByName("ACCOUNT").text(), "99999999999999");
  EXPECT_EQ(check.FieldByName("NAME").text(), "Dan");
  EXPECT_EQ(check.FieldByName("ID").text(), "A123456789");
}

TEST_F(EditingTest, AppendStartsAnEmptyRowLikeInsert) {
  basic.Last();
  basic.Append();
  EXPECT_EQ(basic.State(), TableState::Insert);
  EXPECT_EQ(field("NAME"), "");
  EXPECT_EQ(field("NUMBER"), "");
  fill("000000", "99999999999999", "Zoe");
  basic.Post();
  EXPECT_EQ(namesInFile(), (Names{"Zoe", "Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, EditedRowIsWrittenByPost) {
  basic.Next();
  basic.Edit();
  EXPECT_EQ(basic.State(), TableState::Edit);
  EXPECT_EQ(field("NAME"), "Bob");  // the buffer starts with the row's values
  basic.FieldByName("NAME").setText("Ben");
  basic.Post();
  EXPECT_EQ(field("NAME"), "Ben");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Ben", "Cid"}));
}

TEST_F(EditingTest, PostOfDuplicateKeyFailsAndKeepsTheInsertedRow) {
  basic.Insert();
  fill("000002", "99999999999999", "Dup");
  auto thrown = thrownBy([&] { basic.Post(); });
  EXPECT_EQ(thrown.code, EngineError::Code::KeyViolation);
  EXPECT_FALSE(thrown.message.empty());
  EXPECT_EQ(basic.State(), TableState::Insert);
  EXPECT_EQ(field("NUMBER"), "000002");
  EXPECT_EQ(field("ACCOUNT"), "99999999999999");
  EXPECT_EQ(field("NAME"), "Dup");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
  // The clerk corrects the number and writes again.
  basic.FieldByName("NUMBER").setText("000004");
  basic.Post();
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid", "Dup"}));
}

TEST_F(EditingTest, EditToAnExistingKeyFailsAndKeepsTheEdit) {
  basic.Last();
  basic.Edit();
  basic.FieldByName("NUMBER").setText("000001");
  basic.FieldByName("NAME").setText("Cyd");
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::KeyViolation);
  EXPECT_EQ(basic.State(), TableState::Edit);
  EXPECT_EQ(field("NUMBER"), "000001");
  EXPECT_EQ(field("NAME"), "Cyd");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NUMBER", "NUMBER"),
            (Names{"000001", "000002", "000003"}));
}

TEST_F(EditingTest, PostWithEmptyRequiredFieldFailsAndKeepsTheRow) {
  basic.Insert();
  basic.FieldByName("NUMBER").setText("000004");
  basic.FieldByName("NAME").setText("Dan");
  auto thrown = thrownBy([&] { basic.Post(); });
  EXPECT_EQ(thrown.code, EngineError::Code::RequiredField);
  EXPECT_NE(thrown.message.find("ACCOUNT"), std::string::npos) << thrown.message;
  EXPECT_EQ(basic.State(), TableState::Insert);
  EXPECT_EQ(field("NUMBER"), "000004");
  EXPECT_EQ(field("NAME"), "Dan");
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 3);
  basic.FieldByName("ACCOUNT").setText("99999999999999");
  basic.Post();
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 4);
}

TEST_F(EditingTest, EditEmptyingRequiredFieldFailsAndFileKeepsOldValue) {
  basic.Edit();
  basic.FieldByName("NAME").setText("");
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::RequiredField);
  EXPECT_EQ(basic.State(), TableState::Edit);
  EXPECT_EQ(field("NAME"), "");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, OptionalFieldsMayStayEmpty) {
  basic.Insert();
  fill("000004", "99999999999999", "Dan");
  basic.Post();
  EXPECT_EQ(field("ID"), "");
  EXPECT_EQ(field("MEMO"), "");
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 4);
}

TEST_F(EditingTest, PostWithNothingPendingIsWrongState) {
  basic.Next();
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::WrongState);
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(field("NAME"), "Bob");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, SecondPostAfterSuccessIsWrongState) {
  basic.Edit();
  basic.FieldByName("NAME").setText("Ann");
  basic.Post();
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::WrongState);
}

TEST_F(EditingTest, AssigningAFieldInBrowseStateIsRefused) {
  EXPECT_TRUE(thrownBy([&] { basic.FieldByName("NAME").setText("Zed"); }).code.has_value());
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(field("NAME"), "Amy");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, CancelDropsAnInsertedRow) {
  basic.Next();
  basic.Insert();
  fill("000004", "99999999999999", "Dan");
  basic.Cancel();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(basic.RecordCount(), 3);
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
  EXPECT_FALSE(basic.IsEmpty());
  EXPECT_NE(field("NAME"), "Dan");
}

TEST_F(EditingTest, CancelDropsAnEditAndShowsTheStoredValues) {
  basic.Next();
  basic.Edit();
  basic.FieldByName("NAME").setText("Ben");
  basic.Cancel();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(field("NAME"), "Bob");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, MovingAwayFromAPendingRowDoesNotWriteIt) {
  basic.Edit();
  basic.FieldByName("NAME").setText("Ann");
  basic.Next();
  EXPECT_EQ(basic.State(), TableState::Browse);
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob", "Cid"}));
}

TEST_F(EditingTest, DeleteMakesTheNextRowCurrent) {
  basic.Next();
  basic.Delete();
  EXPECT_EQ(field("NAME"), "Cid");
  EXPECT_EQ(basic.RecordCount(), 2);
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Cid"}));
}

TEST_F(EditingTest, DeleteOfTheLastRowMakesThePreviousCurrent) {
  basic.Last();
  basic.Delete();
  EXPECT_EQ(field("NAME"), "Bob");
  EXPECT_EQ(namesInFile(), (Names{"Amy", "Bob"}));
}

TEST_F(EditingTest, DeletingEveryRowLeavesAnEmptyTableThatRefusesDelete) {
  basic.Delete();
  basic.Delete();
  basic.Delete();
  EXPECT_TRUE(basic.IsEmpty());
  EXPECT_TRUE(basic.Bof());
  EXPECT_TRUE(basic.Eof());
  EXPECT_EQ(thrownBy([&] { basic.Delete(); }).code, EngineError::Code::EmptyTable);
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
}

TEST_F(EditingTest, DeleteOnAnEmptyTableFails) {
  store::Table pass(s, "pass.DB");
  pass.Open();
  EXPECT_EQ(thrownBy([&] { pass.Delete(); }).code, EngineError::Code::EmptyTable);
  EXPECT_EQ(pass.State(), TableState::Browse);
}

TEST_F(EditingTest, RefreshSeesRowsWrittenByAnotherTableObject) {
  basic.Next();
  store::Table other(s, "basic.DB");
  other.Open();
  other.Edit();
  other.FieldByName("NAME").setText("Ann");
  other.Post();
  other.Insert();
  other.FieldByName("NUMBER").setText("000000");
  other.FieldByName("ACCOUNT").setText("99999999999999");
  other.FieldByName("NAME").setText("Zoe");
  other.Post();
  other.Last();
  other.Delete();  // Cid

  basic.Refresh();
  EXPECT_EQ(field("NAME"), "Bob");  // the current row stays current
  EXPECT_EQ(basic.RecordCount(), 3);
  EXPECT_EQ(testrows::column(basic, "NAME"), (Names{"Zoe", "Ann", "Bob"}));
}

TEST_F(EditingTest, RefreshSeesRowsWrittenThroughAnotherSession) {
  store::Session other(folder.path());
  other.AddPassword(store::kTablePassword);
  {
    store::Table t(other, "basic.DB");
    t.Open();
    t.Next();
    t.Edit();
    t.FieldByName("NAME").setText("Ben");
    t.Post();
  }
  testrows::addEmployee(other, "000004", "Dan");
  basic.Next();
  basic.Refresh();
  EXPECT_EQ(field("NAME"), "Ben");
  EXPECT_EQ(basic.RecordCount(), 4);
  EXPECT_EQ(testrows::column(basic, "NAME"), (Names{"Amy", "Ben", "Cid", "Dan"}));
}

TEST_F(EditingTest, RefreshMovesOnWhenTheCurrentRowWasDeletedElsewhere) {
  basic.Next();
  {
    store::Table other(s, "basic.DB");
    other.Open();
    other.Next();
    other.Delete();
  }
  basic.Refresh();
  EXPECT_EQ(field("NAME"), "Cid");
  EXPECT_EQ(basic.RecordCount(), 2);
}

TEST_F(EditingTest, EmptyTableOnAClosedTableObjectDeletesEveryRowOfThatFileOnly) {
  testrows::addEntry(s, "000001", "880101", 100, "本薪");
  basic.Close();
  store::Table closed(s, "basic.DB");
  closed.EmptyTable();
  EXPECT_FALSE(closed.Active());
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
  EXPECT_EQ(testrows::fileCount(s, "salary.DB"), 1);
  basic.Open();
  EXPECT_TRUE(basic.IsEmpty());
  // The emptied file still takes rows.
  testrows::addEmployee(s, "000001", "Amy");
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 1);
}

TEST_F(EditingTest, EmptyTableOfAnotherObjectIsSeenByAnOpenTable) {
  store::Table closed(s, "basic.DB");
  closed.EmptyTable();
  basic.Refresh();
  EXPECT_TRUE(basic.IsEmpty());
  EXPECT_EQ(basic.RecordCount(), 0);
}

}  // namespace
