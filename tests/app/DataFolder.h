#pragma once
// A fresh data folder with the five live tables, and the rows a test puts into them.

#include <string>
#include <utility>
#include <vector>

#include "tests/store/TestFolder.h"

class DataFolder : public TestFolder {
 public:
  void addUser(const std::string& code, const std::string& password);
  void addEmployee(const std::string& number, const std::string& name, const std::string& id = "",
                   const std::string& account = "12345678901234");
  void addEntry(const std::string& number, const std::string& date, const std::string& pay,
                const std::string& item);
  void addTempRow(const std::string& number);
  long long rows(const std::string& fileName);

 private:
  // Appends one row of these field texts; the fields not named stay empty.
  void append(const std::string& fileName,
              const std::vector<std::pair<std::string, std::string>>& fields);
};
