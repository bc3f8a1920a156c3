// Changes to several files that happen entirely or not at all.

#include <gtest/gtest.h>

#include "support/TestRows.h"
#include "store/Transaction.h"

using store::EngineError;
using testrows::Texts;
using testrows::thrownBy;

namespace {

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testrows::addEmployee(s, "000001", "Amy");
    testrows::addEmployee(s, "000002", "Bob");
    testrows::addEntry(s, "000001", "880101", 100, "本薪");
    testrows::addEntry(s, "000001", "880201", 110, "本薪");
    testrows::addEntry(s, "000002", "880101", 200, "本薪");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
    salary.SetIndexFieldNames("NUMBER");
    salary.Open();
  }
  // Renumbers employee 000001 to 000009 with all its entries, then deletes employee 000002.
  void renumberAndDelete() {
    basic.Edit();
    basic.FieldByName("NUMBER").setText("000009");
    basic.Post();
    while (salary.Locate("NUMBER", "000001", store::NoLocateOptions)) {
      salary.Edit();
      salary.FieldByName("NUMBER").setText("000009");
      salary.Post();
    }
    ASSERT_TRUE(basic.Locate("NUMBER", "000002", store::NoLocateOptions));
    basic.Delete();
  }
  // What another session reads from the files.
  Texts onDisk(const char* fileName, const char* fields = "NUMBER") {
    store::Session reader(folder.path());
    reader.AddPassword(store::kTablePassword);
    return testrows::fileColumn(reader, fileName, fields, "NUMBER");
  }
  void expectAsBefore() {
    EXPECT_EQ(onDisk("basic.DB", "NUMBER NAME"), (Texts{"000001 Amy", "000002 Bob"}));
    EXPECT_EQ(onDisk("salary.DB", "NUMBER PAY"), (Texts{"000001 100", "000001 110", "000002 200"}));
    basic.Refresh();
    salary.Refresh();
    EXPECT_EQ(testrows::column(basic, "NUMBER"), (Texts{"000001", "000002"}));
    EXPECT_EQ(salary.RecordCount(), 3);
  }

  TestFolder folder;
  store::Session& s = folder.session();
  store::Table basic{s, "basic.DB"};
  store::Table salary{s, "salary.DB"};
};

TEST_F(TransactionTest, CommittedTransactionKeepsEveryChange) {
  {
    store::Transaction tx(s, {"basic.DB", "salary.DB"});
    renumberAndDelete();
    tx.commit();
  }
  EXPECT_EQ(onDisk("basic.DB"), Texts{"000009"});
  EXPECT_EQ(onDisk("salary.DB"), (Texts{"000002", "000009", "000009"}));
}

TEST_F(TransactionTest, TransactionThatFailsMidwayLeavesEveryFileAsBefore) {
  EXPECT_THROW(
      {
        store::Transaction tx(s, {"basic.DB", "salary.DB"});
        renumberAndDelete();
        throw std::runtime_error("failure after the writes");
      },
      std::runtime_error);
  expectAsBefore();
  auto thrown = thrownBy([&] {
    store::Transaction tx(s, {"basic.DB", "salary.DB"});
    salary.Delete();
    basic.First();
    basic.Edit();
    basic.FieldByName("NUMBER").setText("000002");  // taken
    basic.Post();
    tx.commit();
  });
  EXPECT_EQ(thrown.code, EngineError::Code::KeyViolation);
  basic.Cancel();
  expectAsBefore();
  // The files take writes again.
  testrows::addEmployee(s, "000003", "Cid");
  EXPECT_EQ(onDisk("basic.DB").size(), 3u);
}

}  // namespace
