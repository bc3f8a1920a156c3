// The structures of the five live tables, the rules they enforce on rows, the table password
// and the resolving of file names.

#include <gtest/gtest.h>

#include "support/TestRows.h"

using store::EngineError;
using testrows::Texts;
using testrows::thrownBy;

namespace {

// A table file's structure as text: "NAME:width" per field ("$" for currency, "*" when
// required), then "| primary key |", then the secondary indexes ("~" when case-insensitive).
std::string describe(const store::TableSchema& schema) {
  std::string out;
  for (const auto& f : schema.fields) {
    out += f.name + ":" + (f.type == store::FieldType::Currency ? "$" : std::to_string(f.width)) +
           (f.required ? "* " : " ");
  }
  out += "|";
  for (const auto& k : schema.primaryKey) out += " " + k;
  out += " |";
  for (const auto& ix : schema.indexes) {
    out += " " + ix.name + "(";
    for (const auto& f : ix.fields) out += (f == ix.fields.front() ? "" : ";") + f;
    out += ix.caseInsensitive ? ")~" : ")";
  }
  return out;
}

class SchemaTest : public ::testing::Test {
 protected:
  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(SchemaTest, TheFiveLiveTablesHaveTheirStructures) {
  const std::pair<const char*, const char*> expected[] = {
      {"basic.DB",
       "NUMBER:6* ACCOUNT:14* NAME:10* ID:10 INDATE:6 LEVEL:20 MEMO:40 | NUMBER | "
       "NUMBER(NUMBER) ACCOUNT(ACCOUNT) NAME(NAME) ID(ID)"},
      {"salary.DB",
       "NUMBER:6 SENDDATE:6 PAY:$ SALARYITEM:20 | NUMBER SENDDATE PAY SALARYITEM | "
       "SALARYSENDDATE(SENDDATE)~ Salary Number(NUMBER;SENDDATE)~"},
      {"item.DB", "SALARYITEM:20 | SALARYITEM |"},
      {"pass.DB", "USERID:8* PASSWORD:8* | USERID | PASSWORD(PASSWORD) USERID(USERID)"},
      {"temp.DB",
       "NUMBER:6 SENDDATE:6 SUBJECT:1 ACCOUNT:14 PAY:$ PAY1:2 ID:10 SPACE:4 TRAN:2 MEMO:16 "
       "SALARYITEM:20 NAME:10 | NUMBER SENDDATE SUBJECT ACCOUNT PAY PAY1 ID SPACE TRAN MEMO "
       "SALARYITEM NAME |"},
  };
  ASSERT_EQ(store::liveTables().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(store::liveTables()[i].fileName, std::string(expected[i].first));
    EXPECT_EQ(describe(s.schemaOf(expected[i].first)), expected[i].second);  // as the file holds it
  }
}

TEST_F(SchemaTest, EntriesOfOneEmployeeOnOneDateDifferInAmountOrItemOrAreRefused) {
  testrows::addEntry(s, "000001", "880105", 35000, "本薪");
  testrows::addEntry(s, "000001", "880105", 35000, "加班費");
  testrows::addEntry(s, "000001", "880105", 2000, "本薪");
  EXPECT_EQ(thrownBy([&] { testrows::addEntry(s, "000001", "880105", 35000, "本薪"); }).code,
            EngineError::Code::KeyViolation);
  EXPECT_EQ(testrows::entries(s), (Texts{"000001 880105 2000 本薪", "000001 880105 35000 加班費",
                                         "000001 880105 35000 本薪"}));
}

TEST_F(SchemaTest, NameHoldsTenBytesAndRefusesMoreNamingTheField) {
  store::Table basic(s, "basic.DB");
  basic.Open();
  basic.Append();
  basic.FieldByName("NUMBER").setText("000001");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  for (const auto& [fits, tooLong] :
       {std::pair{"ABCDEFGHIJ", "ABCDEFGHIJK"}, {"歐陽春花美", "歐陽春花美麗"}}) {
    basic.FieldByName("NAME").setText(fits);
    auto thrown = thrownBy([&] { basic.FieldByName("NAME").setText(tooLong); });
    EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue) << tooLong;
    EXPECT_NE(thrown.message.find("NAME"), std::string::npos) << thrown.message;
    EXPECT_EQ(basic.FieldByName("NAME").text(), fits);
  }
  basic.Post();
  EXPECT_EQ(basic.FieldByName("NAME").bytes().size(), 10u);
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), Texts{"歐陽春花美"});
}

TEST_F(SchemaTest, UserCodesDifferingOnlyInCaseAreDistinctRows) {
  testrows::addUser(s, "admin", "1111");
  testrows::addUser(s, "ADMIN", "2222");
  testrows::addUser(s, "Admin", "3333");
  EXPECT_EQ(thrownBy([&] { testrows::addUser(s, "Admin", "4444"); }).code,
            EngineError::Code::KeyViolation);
  store::Table pass(s, "pass.DB");
  pass.Open();
  for (const auto& [code, password] : {std::pair{"ADMIN", "2222"}, {"admin", "1111"}}) {
    ASSERT_TRUE(testrows::gotoKey(pass, "USERID", code));
    EXPECT_EQ(pass.FieldByName("PASSWORD").text(), password);
  }
  EXPECT_EQ(pass.RecordCount(), 3);
}

TEST_F(SchemaTest, FileOpensOnlyOnceTheSessionHoldsThePassword) {
  testrows::addUser(s, "admin", "1234");
  for (const auto& passwords : {std::vector<std::string>{}, {"mrtd608", "MRTD607"}}) {
    store::Session session(folder.path());
    for (const auto& p : passwords) session.AddPassword(p);
    store::Table pass(session, "pass.DB");
    auto thrown = thrownBy([&] { pass.Open(); });
    EXPECT_EQ(thrown.code, EngineError::Code::BadPassword);
    EXPECT_FALSE(thrown.message.empty());
    EXPECT_FALSE(pass.Active());
    EXPECT_EQ(thrownBy([&] { pass.EmptyTable(); }).code, EngineError::Code::BadPassword);
    EXPECT_EQ(thrownBy([&] { session.schemaOf("basic.DB"); }).code, EngineError::Code::BadPassword);
    session.AddPassword(store::kTablePassword);  // the right one among others
    pass.Open();
    EXPECT_EQ(pass.FieldByName("USERID").text(), "admin");
    EXPECT_EQ(pass.RecordCount(), 1);
  }
  // A file that a protected session creates is protected too.
  s.createTable("extra.DB", store::itemSchema());
  store::Session stranger(folder.path());
  store::Table extra(stranger, "extra.DB");
  EXPECT_EQ(thrownBy([&] { extra.Open(); }).code, EngineError::Code::BadPassword);
}

TEST_F(SchemaTest, FileNamesResolveRegardlessOfLetterCase) {
  testrows::addUser(s, "admin", "1234");
  const Texts files = TestFolder::filesIn(folder.path());
  EXPECT_EQ(testrows::fileColumn(s, "PASS.db", "USERID"), testrows::Texts{"admin"});
  EXPECT_EQ(s.resolve("Pass.Db"), folder.path() / "pass.DB");
  EXPECT_TRUE(thrownBy([&] { s.createTable("PASS.db", store::passSchema()); }).code.has_value());
  store::Table(s, "PASS.DB").EmptyTable();
  EXPECT_EQ(testrows::fileCount(s, "pass.DB"), 0);
  EXPECT_EQ(TestFolder::filesIn(folder.path()), files);  // no second file was made
}

}  // namespace
