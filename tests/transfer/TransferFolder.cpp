#include "TransferFolder.h"

#include "store/Table.h"
#include "support/TestRows.h"

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
