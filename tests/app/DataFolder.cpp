#include "DataFolder.h"

#include "store/Table.h"

void DataFolder::append(const std::string& fileName,
                        const std::vector<std::pair<std::string, std::string>>& fields) {
  store::Table t(session(), fileName);
  t.Open();
  t.Append();
  for (const auto& [name, text] : fields) {
    if (!text.empty()) t.FieldByName(name).setText(text);
  }
  t.Post();
}

void DataFolder::addUser(const std::string& code, const std::string& password) {
  append("pass.DB", {{"USERID", code}, {"PASSWORD", password}});
}

void DataFolder::addEmployee(const std::string& number, const std::string& name,
                             const std::string& id, const std::string& account) {
  append("basic.DB", {{"NUMBER", number}, {"ACCOUNT", account}, {"NAME", name}, {"ID", id}});
}

void DataFolder::addEntry(const std::string& number, const std::string& date,
                          const std::string& pay, const std::string& item) {
  append("salary.DB", {{"NUMBER", number}, {"SENDDATE", date}, {"PAY", pay}, {"SALARYITEM", item}});
}

void DataFolder::addTempRow(const std::string& number) {
  append("temp.DB", {{"NUMBER", number}, {"SENDDATE", "880305"}});
}

long long DataFolder::rows(const std::string& fileName) {
  store::Table t(session(), fileName);
  t.Open();
  return t.RecordCount();
}
