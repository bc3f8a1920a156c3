#include "TestRows.h"

#include <iterator>

namespace store {

void PrintTo(EngineError::Code code, std::ostream* os) {
  static const char* const names[] = {
      "General",      "MissingFile", "BadPassword", "KeyViolation", "RequiredField",
      "InvalidValue", "WrongState",  "EmptyTable",  "UnknownField", "Busy"};
  auto i = static_cast<unsigned>(code);
  *os << (i < std::size(names) ? names[i] : "?");
}

}  // namespace store

namespace testrows {

void addEmployee(store::Session& session, const std::string& number, const std::string& name,
                 const std::string& id, const std::string& account) {
  store::Table t(session, "basic.DB");
  t.Open();
  t.Append();
  t.FieldByName("NUMBER").setText(number);
  t.FieldByName("ACCOUNT").setText(account);
  t.FieldByName("NAME").setText(name);
  t.FieldByName("ID").setText(id);
  t.Post();
  t.Close();
}

void addEntry(store::Session& session, const std::string& number, const std::string& sendDate,
              std::optional<double> pay, const std::string& item) {
  store::Table t(session, "salary.DB");
  t.Open();
  t.Append();
  t.FieldByName("NUMBER").setText(number);
  t.FieldByName("SENDDATE").setText(sendDate);
  if (pay) t.FieldByName("PAY").setNumber(*pay);
  t.FieldByName("SALARYITEM").setText(item);
  t.Post();
  t.Close();
}

void addUser(store::Session& session, const std::string& userId, const std::string& password) {
  store::Table t(session, "pass.DB");
  t.Open();
  t.Append();
  t.FieldByName("USERID").setText(userId);
  t.FieldByName("PASSWORD").setText(password);
  t.Post();
  t.Close();
}

std::vector<std::string> column(store::Table& table, const std::string& field) {
  std::vector<std::string> out;
  table.First();
  if (table.IsEmpty()) return out;
  store::Field f = table.FieldByName(field);
  do {
    out.push_back(f.text());
    table.Next();
  } while (!table.Eof());
  return out;
}

std::vector<std::string> fileColumn(store::Session& session, const std::string& fileName,
                                    const std::string& field, const std::string& indexFieldNames) {
  store::Table t(session, fileName);
  if (!indexFieldNames.empty()) t.SetIndexFieldNames(indexFieldNames);
  t.Open();
  return column(t, field);
}

std::vector<std::string> entries(store::Session& session) {
  std::vector<std::string> out;
  store::Table t(session, "salary.DB");
  t.Open();
  if (t.IsEmpty()) return out;
  do {
    out.push_back(t.FieldByName("NUMBER").text() + " " + t.FieldByName("SENDDATE").text() + " " +
                  t.FieldByName("PAY").text() + " " + t.FieldByName("SALARYITEM").text());
    t.Next();
  } while (!t.Eof());
  return out;
}

long long fileCount(store::Session& session, const std::string& fileName) {
  store::Table t(session, fileName);
  t.Open();
  return t.RecordCount();
}

}  // namespace testrows
