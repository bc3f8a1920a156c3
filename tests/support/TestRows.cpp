#include "TestRows.h"

#include <iterator>
#include <sstream>

#include "store/Value.h"

namespace store {

void PrintTo(EngineError::Code code, std::ostream* os) {
  static const char* const names[] = {
      "General",      "MissingFile", "BadPassword", "KeyViolation", "RequiredField",
      "InvalidValue", "WrongState",  "EmptyTable",  "UnknownField", "Busy",
      "DiskFull",     "ReadOnly",    "IoError",     "NotATable",    "Aborted"};
  auto i = static_cast<unsigned>(code);
  *os << (i < std::size(names) ? names[i] : "?");
}

}  // namespace store

namespace testrows {

void append(store::Session& session, const std::string& fileName, const FieldTexts& fields) {
  store::Table t(session, fileName);
  t.Open();
  t.Append();
  for (const auto& [name, text] : fields) {
    if (!text.empty()) t.FieldByName(name).setText(text);
  }
  t.Post();
}

void addEmployee(store::Session& session, const std::string& number, const std::string& name,
                 const std::string& id, const std::string& account) {
  append(session, "basic.DB",
         {{"NUMBER", number}, {"ACCOUNT", account}, {"NAME", name}, {"ID", id}});
}

void addEntry(store::Session& session, const std::string& number, const std::string& sendDate,
              std::optional<double> pay, const std::string& item) {
  append(session, "salary.DB",
         {{"NUMBER", number},
          {"SENDDATE", sendDate},
          {"PAY", pay ? store::formatNumber(*pay) : ""},
          {"SALARYITEM", item}});
}

void addUser(store::Session& session, const std::string& userId, const std::string& password) {
  append(session, "pass.DB", {{"USERID", userId}, {"PASSWORD", password}});
}

std::vector<std::string> column(store::Table& table, const std::string& fields) {
  std::vector<store::Field> f;
  std::istringstream names(fields);
  for (std::string name; names >> name;) f.push_back(table.FieldByName(name));
  std::vector<std::string> out;
  table.First();
  if (table.IsEmpty()) return out;
  do {
    std::string row;
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (i) row += ' ';
      row += f[i].text();
    }
    out.push_back(row);
    table.Next();
  } while (!table.Eof());
  return out;
}

std::vector<std::string> fileColumn(store::Session& session, const std::string& fileName,
                                    const std::string& fields, const std::string& indexFieldNames) {
  store::Table t(session, fileName);
  if (!indexFieldNames.empty()) t.SetIndexFieldNames(indexFieldNames);
  t.Open();
  return column(t, fields);
}

bool gotoKey(store::Table& table, const std::string& field, const std::string& value) {
  table.SetKey();
  table.FieldByName(field).setText(value);
  return table.GotoKey();
}

long long fileCount(store::Session& session, const std::string& fileName) {
  store::Table t(session, fileName);
  t.Open();
  return t.RecordCount();
}

}  // namespace testrows
