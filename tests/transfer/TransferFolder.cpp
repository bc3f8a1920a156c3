#include "TransferFolder.h"

#include "store/Table.h"

void TransferFolder::addEmployee(const std::string& number, const std::string& account,
                                 const std::string& name, const std::string& id) {
  append("basic.DB", {{"NUMBER", number}, {"ACCOUNT", account}, {"NAME", name}, {"ID", id}});
}

void TransferFolder::addEntry(const std::string& number, const std::string& sendDate,
                              std::optional<double> pay, const std::optional<std::string>& item) {
  store::Table salary(session(), "salary.DB");
  salary.Open();
  salary.Append();
  salary.FieldByName("NUMBER").setText(number);
  salary.FieldByName("SENDDATE").setText(sendDate);
  if (pay) salary.FieldByName("PAY").setNumber(*pay);
  if (item) salary.FieldByName("SALARYITEM").setText(*item);
  salary.Post();
}

std::vector<BatchRow> TransferFolder::batch() {
  store::Table temp(session(), "temp.DB");
  temp.Open();
  std::vector<BatchRow> rows;
  for (temp.First(); !temp.Eof(); temp.Next()) {
    auto b = [&](const char* name) { return temp.FieldByName(name).bytes(); };
    rows.push_back({b("NUMBER"), b("SENDDATE"), b("SUBJECT"), b("ACCOUNT"),
                    temp.FieldByName("PAY").value(), b("PAY1"), b("ID"), b("SPACE"), b("TRAN"),
                    b("MEMO"), b("SALARYITEM"), b("NAME")});
  }
  return rows;
}
