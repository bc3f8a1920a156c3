#include "TransferFolder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "store/Schema.h"
#include "store/Table.h"

TransferFolder::TransferFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "salary-transfer-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  session_ = std::make_unique<store::Session>(path_);
  session_->AddPassword(store::kTablePassword);
  for (const auto& t : store::liveTables()) session_->createTable(t.fileName, t.schema);
}

TransferFolder::~TransferFolder() {
  session_.reset();
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TransferFolder::addEmployee(const std::string& number, const std::string& account,
                                 const std::string& name, const std::string& id) {
  store::Table basic(*session_, "basic.DB");
  basic.Open();
  basic.Append();
  basic.FieldByName("NUMBER").setText(number);
  basic.FieldByName("ACCOUNT").setText(account);
  basic.FieldByName("NAME").setText(name);
  if (!id.empty()) basic.FieldByName("ID").setText(id);
  basic.Post();
}

void TransferFolder::addEntry(const std::string& number, const std::string& sendDate,
                              std::optional<double> pay, const std::optional<std::string>& item) {
  store::Table salary(*session_, "salary.DB");
  salary.Open();
  salary.Append();
  salary.FieldByName("NUMBER").setText(number);
  salary.FieldByName("SENDDATE").setText(sendDate);
  if (pay) salary.FieldByName("PAY").setNumber(*pay);
  if (item) salary.FieldByName("SALARYITEM").setText(*item);
  salary.Post();
}

std::vector<BatchRow> TransferFolder::batch() {
  store::Table temp(*session_, "temp.DB");
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

std::string TransferFolder::readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
