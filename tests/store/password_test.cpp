// The table password and the resolving of file names.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Table.h"

using store::EngineError;
using testrows::thrownBy;

namespace {

class PasswordTest : public ::testing::Test {
 protected:
  void SetUp() override { testrows::addUser(s, "admin", "1234"); }

  TestFolder folder;
  store::Session& s = folder.session();
};

TEST_F(PasswordTest, SessionWithThePasswordOpensTheFiles) {
  store::Session session(folder.path());
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  pass.Open();
  EXPECT_EQ(pass.FieldByName("USERID").text(), "admin");
}

TEST_F(PasswordTest, SessionWithoutThePasswordCannotOpenAFile) {
  store::Session session(folder.path());
  store::Table pass(session, "pass.DB");
  auto thrown = thrownBy([&] { pass.Open(); });
  EXPECT_EQ(thrown.code, EngineError::Code::BadPassword);
  EXPECT_FALSE(thrown.message.empty());
  EXPECT_FALSE(pass.Active());
  EXPECT_EQ(thrownBy([&] { session.schemaOf("basic.DB"); }).code, EngineError::Code::BadPassword);
}

TEST_F(PasswordTest, WrongPasswordCannotOpenAFile) {
  store::Session session(folder.path());
  session.AddPassword("mrtd608");
  session.AddPassword("MRTD607");
  store::Table pass(session, "pass.DB");
  EXPECT_EQ(thrownBy([&] { pass.Open(); }).code, EngineError::Code::BadPassword);
}

TEST_F(PasswordTest, RightPasswordAmongOthersOpens) {
  store::Session session(folder.path());
  session.AddPassword("wrong01");
  session.AddPassword(store::kTablePassword);
  store::Table pass(session, "pass.DB");
  pass.Open();
  EXPECT_EQ(pass.RecordCount(), 1);
}

TEST_F(PasswordTest, PasswordAddedAfterARefusalOpensTheFile) {
  store::Session session(folder.path());
  store::Table pass(session, "pass.DB");
  ASSERT_EQ(thrownBy([&] { pass.Open(); }).code, EngineError::Code::BadPassword);
  session.AddPassword(store::kTablePassword);
  pass.Open();
  EXPECT_EQ(pass.FieldByName("USERID").text(), "admin");
}

TEST_F(PasswordTest, RefusedSessionCannotEmptyOrQueryAFile) {
  store::Session session(folder.path());
  store::Table pass(session, "pass.DB");
  EXPECT_EQ(thrownBy([&] { pass.EmptyTable(); }).code, EngineError::Code::BadPassword);
  EXPECT_EQ(testrows::fileCount(s, "pass.DB"), 1);
}

TEST_F(PasswordTest, FileCreatedByAProtectedSessionIsProtected) {
  s.createTable("extra.DB", store::itemSchema());
  store::Session session(folder.path());
  store::Table t(session, "extra.DB");
  EXPECT_EQ(thrownBy([&] { t.Open(); }).code, EngineError::Code::BadPassword);
}

TEST_F(PasswordTest, FileNamesResolveRegardlessOfLetterCase) {
  testrows::addEmployee(s, "000001", "Amy");
  store::Table basic(s, "BASIC.db");
  basic.Open();
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Amy");
  basic.Append();
  basic.FieldByName("NUMBER").setText("000002");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  basic.FieldByName("NAME").setText("Bob");
  basic.Post();
  basic.Close();
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 2);
  EXPECT_TRUE(s.exists("Basic.Db"));
  EXPECT_EQ(s.resolve("BASIC.db"), folder.path() / "basic.DB");
  // No second file was made.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
    std::string name = e.path().filename().string();
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "basic.db") ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(PasswordTest, CreatingAnExistingFileIsRefusedWhateverTheCase) {
  EXPECT_TRUE(thrownBy([&] { s.createTable("PASS.db", store::passSchema()); }).code.has_value());
  EXPECT_EQ(testrows::fileCount(s, "pass.DB"), 1);
}

}  // namespace
