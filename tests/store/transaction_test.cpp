// Changes to several files that happen entirely or not at all.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/BatchMove.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "store/Transaction.h"

using store::EngineError;
using testrows::thrownBy;
using Texts = std::vector<std::string>;

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
    ASSERT_TRUE(basic.Locate("NUMBER", "000001", store::NoLocateOptions));
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
  Texts numbersOnDisk(const char* fileName) {
    store::Session reader(folder.path());
    reader.AddPassword(store::kTablePassword);
    return testrows::fileColumn(reader, fileName, "NUMBER", "NUMBER");
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
  EXPECT_EQ(numbersOnDisk("basic.DB"), Texts{"000009"});
  EXPECT_EQ(numbersOnDisk("salary.DB"), (Texts{"000002", "000009", "000009"}));
  basic.Refresh();
  EXPECT_EQ(testrows::column(basic, "NUMBER"), Texts{"000009"});
}

TEST_F(TransactionTest, TransactionThatThrowsMidwayLeavesEveryFileAsBefore) {
  EXPECT_THROW(
      {
        store::Transaction tx(s, {"basic.DB", "salary.DB"});
        renumberAndDelete();
        throw std::runtime_error("failure after the writes");
      },
      std::runtime_error);
  EXPECT_EQ(numbersOnDisk("basic.DB"), (Texts{"000001", "000002"}));
  EXPECT_EQ(numbersOnDisk("salary.DB"), (Texts{"000001", "000001", "000002"}));
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME", "NUMBER"), (Texts{"Amy", "Bob"}));
  EXPECT_EQ(testrows::entries(s),
            (Texts{"000001 880101 100 本薪", "000001 880201 110 本薪", "000002 880101 200 本薪"}));
  basic.Refresh();
  salary.Refresh();
  EXPECT_EQ(testrows::column(basic, "NUMBER"), (Texts{"000001", "000002"}));
  EXPECT_EQ(salary.RecordCount(), 3);
}

TEST_F(TransactionTest, EngineErrorMidwayRollsBackTheEarlierWrites) {
  auto thrown = thrownBy([&] {
    store::Transaction tx(s, {"basic.DB", "salary.DB"});
    salary.First();
    salary.Delete();
    basic.Edit();
    basic.FieldByName("NUMBER").setText("000002");  // taken
    basic.Post();
    tx.commit();
  });
  EXPECT_EQ(thrown.code, EngineError::Code::KeyViolation);
  EXPECT_EQ(numbersOnDisk("salary.DB"), (Texts{"000001", "000001", "000002"}));
  EXPECT_EQ(numbersOnDisk("basic.DB"), (Texts{"000001", "000002"}));
}

TEST_F(TransactionTest, FilesCanBeWrittenAgainAfterARollback) {
  {
    store::Transaction tx(s, {"basic.DB", "salary.DB"});
    basic.Delete();
  }
  basic.Refresh();
  testrows::addEmployee(s, "000003", "Cid");
  testrows::addEntry(s, "000003", "880101", 300, "本薪");
  EXPECT_EQ(numbersOnDisk("basic.DB"), (Texts{"000001", "000002", "000003"}));
  EXPECT_EQ(numbersOnDisk("salary.DB").size(), 4u);
}

TEST_F(TransactionTest, BatchMoveIsRefusedInsideATransaction) {
  store::Transaction tx(s, {"basic.DB", "salary.DB"});
  store::Table backup(s, "basic_bk.db");
  store::BatchMove move;
  move.SetSource(&basic);
  move.SetDestination(&backup);
  move.SetMode(store::BatchMove::Mode::Copy);
  EXPECT_TRUE(thrownBy([&] { move.Execute(); }).code.has_value());
  EXPECT_FALSE(s.exists("basic_bk.db"));
}

}  // namespace
