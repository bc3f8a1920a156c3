// Choosing the row order with SetIndexFieldNames.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Table.h"

using Texts = std::vector<std::string>;
using testrows::thrownBy;

namespace {

class IndexTest : public ::testing::Test {
 protected:
  TestFolder folder;
  store::Session& s = folder.session();
};

void addItem(store::Session& s, const std::string& item) {
  store::Table t(s, "item.DB");
  t.Open();
  t.Append();
  t.FieldByName("SALARYITEM").setText(item);
  t.Post();
}

TEST_F(IndexTest, FieldNamesMatchRegardlessOfLetterCase) {
  addItem(s, "C");
  addItem(s, "A");
  addItem(s, "B");
  store::Table item(s, "item.DB");
  item.SetIndexFieldNames("SalaryItem");
  item.Open();
  EXPECT_EQ(testrows::column(item, "SALARYITEM"), (Texts{"A", "B", "C"}));
  item.SetKey();
  item.FieldByName("salaryitem").setText("B");
  EXPECT_TRUE(item.GotoKey());
  EXPECT_EQ(item.FieldByName("SALARYITEM").text(), "B");
}

TEST_F(IndexTest, LeadingFieldChoosesTheFirstIndexThatBeginsWithIt) {
  testrows::addEntry(s, "000002", "880101", 100, "本薪");
  testrows::addEntry(s, "000001", "880301", 100, "本薪");
  testrows::addEntry(s, "000001", "870101", 100, "本薪");
  testrows::addEntry(s, "000002", "860101", 100, "本薪");
  testrows::addEntry(s, "000001", "880101", 100, "本薪");
  store::Table salary(s, "salary.DB");
  salary.SetIndexFieldNames("NUMBER");
  salary.Open();
  Texts rows;
  do {
    rows.push_back(salary.FieldByName("NUMBER").text() + " " +
                   salary.FieldByName("SENDDATE").text());
    salary.Next();
  } while (!salary.Eof());
  EXPECT_EQ(rows, (Texts{"000001 870101", "000001 880101", "000001 880301", "000002 860101",
                         "000002 880101"}));
}

TEST_F(IndexTest, SecondaryIndexOrdersTheRows) {
  testrows::addEntry(s, "000001", "880301", 100, "本薪");
  testrows::addEntry(s, "000002", "870101", 100, "本薪");
  testrows::addEntry(s, "000003", "880101", 100, "本薪");
  store::Table salary(s, "salary.DB");
  salary.SetIndexFieldNames("senddate");
  salary.Open();
  EXPECT_EQ(testrows::column(salary, "NUMBER"), (Texts{"000002", "000003", "000001"}));
  salary.SetIndexFieldNames("");
  EXPECT_EQ(testrows::column(salary, "NUMBER"), (Texts{"000001", "000002", "000003"}));
}

TEST_F(IndexTest, ChangingTheOrderOfAnOpenTableKeepsTheCurrentRow) {
  testrows::addEmployee(s, "000001", "Cid");
  testrows::addEmployee(s, "000002", "Amy");
  testrows::addEmployee(s, "000003", "Bob");
  store::Table basic(s, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  basic.Next();
  ASSERT_EQ(basic.FieldByName("NAME").text(), "Amy");
  basic.SetIndexFieldNames("NAME");
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Amy");
  basic.Next();
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Bob");
}

TEST_F(IndexTest, UnknownFieldNameIsAnError) {
  store::Table salary(s, "salary.DB");
  // On a closed table the names may be checked when it opens.
  EXPECT_EQ(thrownBy([&] {
              salary.SetIndexFieldNames("NOSUCH");
              salary.Open();
            }).code,
            store::EngineError::Code::UnknownField);
  salary.SetIndexFieldNames("");
  salary.Open();
  EXPECT_EQ(thrownBy([&] { salary.SetIndexFieldNames("NUMBER;NOSUCH"); }).code,
            store::EngineError::Code::UnknownField);
}

TEST_F(IndexTest, FieldWithoutAnIndexIsAnError) {
  store::Table salary(s, "salary.DB");
  salary.Open();
  EXPECT_EQ(thrownBy([&] { salary.SetIndexFieldNames("PAY"); }).code,
            store::EngineError::Code::UnknownField);
}

}  // namespace
