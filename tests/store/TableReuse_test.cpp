// A table object keeps its prepared statements from one Open to the next, and a query its
// statement: whatever happened to the file in between (replaced by a restored copy, emptied or
// written by another object, detached to make room), they read the file as it is now.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "store/BatchMove.h"
#include "store/Query.h"
#include "store/ReadScope.h"
#include "store/Transaction.h"
#include "support/TestRows.h"

using testrows::Texts;

namespace {

void copyFile(store::Session& s, const char* from, const char* to) {
  store::Table source(s, from), destination(s, to);
  store::BatchMove move;
  move.SetSource(&source);
  move.SetDestination(&destination);
  move.SetMode(store::BatchMove::Mode::Copy);
  move.Execute();
}

TEST(StatementReuse, ATableObjectReadsItsFileAsItIsNowAfterItWasReplacedOrChanged) {
  using Change = std::function<void(store::Session&)>;
  const Change restore = [](store::Session& s) { copyFile(s, "basic_bk.db", "basic.DB"); };
  const Change empty = [](store::Session& s) { store::Table(s, "basic.DB").EmptyTable(); };
  const Change add = [](store::Session& s) { testrows::addEmployee(s, "000000", "Ann"); };
  const struct {
    const char* name;
    bool closed;  // the object is closed while the file changes
    Change change;
    Texts numbers;
  } cases[] = {
      {"restored from a backup while open", false, restore, {"000001", "000002", "000003"}},
      {"restored from a backup while closed", true, restore, {"000001", "000002", "000003"}},
      {"emptied by another object while open", false, empty, {}},
      {"emptied by another object while closed", true, empty, {}},
      {"a row added before it while closed",
       true,
       add,
       {"000000", "000001", "000002", "000003", "000004"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    store::Session& s = folder.session();
    for (const char* n : {"000001", "000002", "000003"}) {
      std::string name = "E";
      name += n;
      testrows::addEmployee(s, n, name);
    }
    copyFile(s, "basic.DB", "basic_bk.db");
    testrows::addEmployee(s, "000004", "Dan");
    store::Table t(s, "basic.DB");
    store::Query count(s, "Select Count(NUMBER) From Basic");
    count.Open();
    ASSERT_EQ(count.FieldByName("COUNT OF NUMBER").number(), 4);
    count.Close();
    t.Open();
    // Every kind of read once, so that each statement exists before the change.
    ASSERT_EQ(testrows::column(t, "NUMBER").size(), 4u);
    t.Prior();
    t.Last();
    ASSERT_EQ(t.RecordCount(), 4);
    t.First();
    t.Next();
    t.Next();  // on 000003, with 000004 read ahead
    if (c.closed) t.Close();
    c.change(s);
    if (c.closed) t.Open();
    if (!c.closed) {
      t.Next();  // the row read ahead before the change is gone
      EXPECT_TRUE(t.Eof());
      EXPECT_NE(t.FieldByName("NUMBER").text(), "000004");
    }
    EXPECT_EQ(t.RecordCount(), static_cast<long long>(c.numbers.size()));
    EXPECT_EQ(testrows::column(t, "NUMBER"), c.numbers);
    t.Last();
    EXPECT_EQ(t.FieldByName("NUMBER").text(), c.numbers.empty() ? "" : c.numbers.back());
    count.Open();
    EXPECT_EQ(count.FieldByName("COUNT OF NUMBER").number(), double(c.numbers.size()));
  }
}

}  // namespace

namespace {

// A read scope never holds a write back or a lock after it: what is written inside it is in the
// file at once, a transaction, a file attached or replaced inside it work as without it, and
// another session can write as soon as it ends.
TEST(ReadScope, WritesInsideItAreStoredAtOnceAndNothingIsHeldAfterIt) {
  TestFolder folder;
  store::Session& s = folder.session();
  testrows::addEmployee(s, "000001", "Ann");
  copyFile(s, "basic.DB", "basic_bk.db");
  store::Session other(folder.path());
  other.AddPassword(store::kTablePassword);
  {
    store::ReadScope reads(s);
    store::Table t(s, "basic.DB");
    t.Open();
    ASSERT_EQ(testrows::column(t, "NUMBER"), Texts({"000001"}));
    testrows::addEmployee(s, "000002", "Bob");
    EXPECT_EQ(testrows::fileCount(other, "basic.DB"), 2);
    {
      store::Transaction tx(s, {"salary.DB"});
      testrows::addEntry(s, "000002", "880105", 100.0, "薪水轉帳");
      tx.commit();
    }
    EXPECT_EQ(testrows::fileCount(other, "salary.DB"), 1);
    t.Refresh();
    copyFile(s, "basic_bk.db", "basic.DB");
    t.Refresh();
    EXPECT_EQ(testrows::column(t, "NUMBER"), Texts({"000001"}));
    store::Table items(s, "item.DB");  // attached inside the scope
    items.Open();
  }
  {
    store::ReadScope reads(s);
    store::Table t(s, "basic.DB");
    t.Open();
    t.Last();
  }
  // (A session that had the replaced file attached still holds the old one: a new session.)
  store::Session late(folder.path());
  late.AddPassword(store::kTablePassword);
  testrows::addEmployee(late, "000003", "Cy");
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 2);
}

// SQLite attaches at most ten files to a connection. A session uses any number of files over
// its life: before it attaches one more, it detaches files no object uses, least recently used
// first, and never one that is in use. A table object or a query whose file was detached
// meanwhile reads it as before when it opens again.
TEST(Attachments, FilesNoLongerInUseMakeRoomForMoreThanTenAndOneInUseStays) {
  TestFolder folder;
  store::Session& s = folder.session();
  testrows::addEmployee(s, "000001", "Ann");
  store::Table held(s, "basic.DB");
  held.Open();
  std::vector<std::unique_ptr<store::Table>> tables;
  std::vector<std::unique_ptr<store::Query>> queries;
  Texts numbers;
  for (int i = 1; i <= 12; ++i) {
    std::string file = "t";
    file += std::to_string(i);
    file += ".DB";
    std::string number = "0000";
    number += std::to_string(10 + i);
    s.createTable(file, store::basicSchema());
    testrows::addEmployee(s, number, "Bob");
    testrows::append(s, file,
                     {{"NUMBER", number}, {"ACCOUNT", testrows::kAccount}, {"NAME", "Bob"}});
    tables.push_back(std::make_unique<store::Table>(s, file));
    // The query names the file in other letters, so it is looked up in the folder.
    queries.push_back(std::make_unique<store::Query>(s, "Select NUMBER From T" + std::to_string(i)));
    numbers.push_back(number);
  }
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < tables.size(); ++i) {
      SCOPED_TRACE(tables[i]->TableName());
      tables[i]->Open();
      EXPECT_EQ(testrows::column(*tables[i], "NUMBER"), Texts({numbers[i]}));
      tables[i]->Close();
      queries[i]->Open();
      EXPECT_EQ(queries[i]->FieldByName("NUMBER").text(), numbers[i]);
      queries[i]->Close();
    }
  }
  held.First();
  EXPECT_EQ(held.FieldByName("NUMBER").text(), "000001");
  EXPECT_EQ(held.RecordCount(), 13);
}

}  // namespace
