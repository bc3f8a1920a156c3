#pragma once
// salary-admin import run as the clerk or a script would run it, on a fresh data folder with the
// live tables; helpers that write the CSV files and read the tables back.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFolder.h"
#include "support/ToolRun.h"

// A row of a table: each field as text, "(empty)" for an empty field.
using Row = std::vector<std::string>;

// Every row of a table file in primary-key order, read through a new session.
std::vector<Row> rowsOf(const std::filesystem::path& folder, const std::string& tableName);

class ImportFixture : public ::testing::Test {
 protected:
  // Writes a file of the folder with exactly these bytes; returns its path.
  std::filesystem::path write(const std::string& name, const std::string& bytes);
  // salary-admin import --data <folder> <arguments>.
  ToolRun import(const std::string& arguments);
  // Writes e.csv and s.csv and imports them in one run; an empty text leaves its file out.
  ToolRun importBoth(const std::string& employeesCsv, const std::string& entriesCsv);

  // basic.DB and salary.DB in their primary-key order, read through a new session.
  std::vector<Row> employees();
  std::vector<Row> entries();
  // The bytes of basic.DB and salary.DB.
  std::string tableBytes();

  TestFolder folder;
};

inline constexpr const char* kEmployeeHeader = "NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO\n";
inline constexpr const char* kEntryHeader = "NUMBER,SENDDATE,PAY,SALARYITEM\n";

// Whether text contains each of the parts.
::testing::AssertionResult mentions(const std::string& text, const std::vector<std::string>& parts);
