#include "ImportFixture.h"

#include <fstream>

#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"

namespace fs = std::filesystem;

std::vector<Row> rowsOf(const fs::path& folder, const std::string& tableName) {
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  store::Table table(session, tableName);
  table.Open();
  std::vector<Row> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    Row row;
    for (const auto& f : table.schema().fields) {
      const store::Field field = table.FieldByName(f.name);
      row.push_back(field.isNull() ? "(empty)" : field.text());
    }
    rows.push_back(row);
  }
  return rows;
}

fs::path ImportFixture::write(const std::string& name, const std::string& bytes) {
  const fs::path file = folder.path() / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

ToolRun ImportFixture::import(const std::string& arguments) {
  return runCommand(std::string(SALARY_ADMIN) + " import --data " +
                        shellQuoted(folder.path().string()) + " " + arguments,
                    folder.path());
}

ToolRun ImportFixture::importBoth(const std::string& employeesCsv, const std::string& entriesCsv) {
  std::string arguments;
  if (!employeesCsv.empty())
    arguments += " --employees '" + write("e.csv", employeesCsv).string() + "'";
  if (!entriesCsv.empty()) arguments += " --entries '" + write("s.csv", entriesCsv).string() + "'";
  return import(arguments);
}

std::vector<Row> ImportFixture::employees() {
  return rowsOf(folder.path(), "basic.DB");
}

std::vector<Row> ImportFixture::entries() {
  return rowsOf(folder.path(), "salary.DB");
}

std::string ImportFixture::tableBytes() {
  return TestFolder::readFile(folder.session().resolve("basic.DB")) + "\n--\n" +
         TestFolder::readFile(folder.session().resolve("salary.DB"));
}

::testing::AssertionResult mentions(const std::string& text,
                                    const std::vector<std::string>& parts) {
  for (const auto& p : parts) {
    if (text.find(p) == std::string::npos) {
      return ::testing::AssertionFailure() << "\"" << p << "\" is not in: " << text;
    }
  }
  return ::testing::AssertionSuccess();
}
