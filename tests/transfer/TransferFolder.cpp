#include "TransferFolder.h"

#include "store/Table.h"
#include "support/TestRows.h"

void TransferFolder::addEmployee(const std::string& number, const std::string& account,
                                 const std::string& name, const std::string& id) {
  testrows::addEmployee(session(), number, name, id, account);
}

void TransferFolder::addEntry(const std::string& number, const std::string& sendDate,
                              std::optional<double> pay, const std::optional<std::string>& item) {
  testrows::addEntry(session(), number, sendDate, pay, item.value_or(""));
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
