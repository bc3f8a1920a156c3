#include "TestFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "TestRows.h"
#include "store/Schema.h"

TestFolder::TestFolder(Tables tables) {
  std::string pattern = (std::filesystem::temp_directory_path() / "salary-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  session_ = std::make_unique<store::Session>(path_);
  session_->AddPassword(store::kTablePassword);
  if (tables == Tables::Live) {
    for (const auto& t : store::liveTables()) session_->createTable(t.fileName, t.schema);
  }
}

void TestFolder::reopen() {
  session_ = std::make_unique<store::Session>(path_);
  session_->AddPassword(store::kTablePassword);
}

TestFolder::~TestFolder() {
  session_.reset();
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TestFolder::append(const std::string& fileName,
                        const std::vector<std::pair<std::string, std::string>>& fields) {
  testrows::append(session(), fileName, fields);
}

void TestFolder::addUser(const std::string& code, const std::string& password) {
  testrows::addUser(session(), code, password);
}

void TestFolder::addEmployee(const std::string& number, const std::string& name,
                             const std::string& id, const std::string& account) {
  testrows::addEmployee(session(), number, name, id, account);
}

void TestFolder::addEntry(const std::string& number, const std::string& date,
                          std::optional<double> pay, const std::string& item) {
  testrows::addEntry(session(), number, date, pay, item);
}

void TestFolder::addTempRow(const std::string& number) {
  append("temp.DB", {{"NUMBER", number}, {"SENDDATE", "880305"}});
}

long long TestFolder::rows(const std::string& fileName) {
  return testrows::fileCount(session(), fileName);
}

std::string TestFolder::readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> TestFolder::filesIn(const std::filesystem::path& folder,
                                             std::string_view part) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename();
    if (name.find(part) != std::string::npos) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}
