#pragma once
// A fresh data folder with the five live tables, and the rows a test puts into them.

#include <string>

#include "tests/store/TestFolder.h"

class DataFolder : public TestFolder {
 public:
  void addUser(const std::string& code, const std::string& password);
  void addEmployee(const std::string& number, const std::string& name);
  void addEntry(const std::string& number, const std::string& date, double pay,
                const std::string& item);
  void addTempRow(const std::string& number);
  long long rows(const std::string& fileName);
};
