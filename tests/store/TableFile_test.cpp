// A table file is what its name says: a live table's file must hold that table's structure and
// a password verifier, the rows table must have the columns its structure records, and the
// session's own file must be on disk. Each refusal names the file, in Traditional Chinese.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>

#include "support/TestRows.h"

using store::EngineError;
using testrows::thrownBy;

namespace {

namespace fs = std::filesystem;

// Runs SQL on a file directly, as another program would.
void alter(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  const std::string why = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << why;
}

// The message without the file's path: what remains is Traditional Chinese, no Latin letters.
::testing::AssertionResult chineseNaming(const std::string& message, const std::string& path) {
  const size_t at = message.find(path);
  if (at == std::string::npos)
    return ::testing::AssertionFailure() << "no " << path << " in " << message;
  std::string rest = message;
  rest.erase(at, path.size());
  for (char c : rest) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
      return ::testing::AssertionFailure() << "Latin text in: " << message;
  }
  return ::testing::AssertionSuccess();
}

TEST(TableFileTest, FileThatIsNotTheTableItsNameSaysIsRefusedNamingIt) {
  const struct {
    const char* name;
    std::function<void(TestFolder&)> damage;
    EngineError::Code code;
  } cases[] = {
      {"temp.DB copied over salary.DB",
       [](TestFolder& f) {
         fs::copy_file(f.session().resolve("temp.DB"), f.session().resolve("salary.DB"),
                       fs::copy_options::overwrite_existing);
       },
       EngineError::Code::NotATable},
      {"a width changed in the recorded structure",
       [](TestFolder& f) {
         store::TableSchema wider = store::salarySchema();
         wider.fields[1].width = 8;
         alter(f.session().resolve("salary.DB"),
               "UPDATE _meta SET value = '" + wider.serialize() + "' WHERE key = 'schema'");
       },
       EngineError::Code::NotATable},
      {"rows of temp.DB under the structure of salary.DB",
       [](TestFolder& f) {
         const fs::path salary = f.session().resolve("salary.DB");
         fs::copy_file(f.session().resolve("temp.DB"), salary,
                       fs::copy_options::overwrite_existing);
         alter(salary, "UPDATE _meta SET value = '" + store::salarySchema().serialize() +
                           "' WHERE key = 'schema'");
       },
       EngineError::Code::NotATable},
      {"no password verifier",
       [](TestFolder& f) {
         alter(f.session().resolve("salary.DB"), "DELETE FROM _meta WHERE key = 'verifier'");
       },
       EngineError::Code::NotATable},
      {"not SQLite at all",
       [](TestFolder& f) {
         std::ofstream(f.session().resolve("salary.DB"), std::ios::trunc) << std::string(4096, 'x');
       },
       EngineError::Code::NotATable},
      {"an empty file",
       [](TestFolder& f) { std::ofstream(f.session().resolve("salary.DB"), std::ios::trunc); },
       EngineError::Code::NotATable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    c.damage(folder);
    store::Session s(folder.path());
    s.AddPassword(store::kTablePassword);
    store::Table salary(s, "salary.DB");
    const auto thrown = thrownBy([&] { salary.Open(); });
    EXPECT_EQ(thrown.code, c.code);
    EXPECT_TRUE(chineseNaming(thrown.message, s.resolve("salary.DB").string()));
    EXPECT_FALSE(salary.Active());
    // The other tables of the folder still open.
    EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
  }
}

TEST(TableFileTest, SessionFileThatCannotBeMadeIsAnErrorNamingIt) {
  TestFolder folder(TestFolder::Tables::None);
  fs::create_directory(folder.path() / ".session.db");  // in the way of the file
  store::Session s(folder.path());
  s.AddPassword(store::kTablePassword);
  s.createTable("basic.DB", store::basicSchema());
  const auto thrown = thrownBy([&] { testrows::fileCount(s, "basic.DB"); });
  ASSERT_TRUE(thrown.code.has_value());
  EXPECT_TRUE(chineseNaming(thrown.message, (folder.path() / ".session.db").string()));
}

}  // namespace
