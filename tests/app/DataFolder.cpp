#include "DataFolder.h"

#include "store/Table.h"

void DataFolder::addUser(const std::string& code, const std::string& password) {
  store::Table t(session(), "pass.DB");
  t.Open();
  t.Append();
  t.FieldByName("USERID").setText(code);
  t.FieldByName("PASSWORD").setText(password);
  t.Post();
}

void DataFolder::addEmployee(const std::string& number, const std::string& name) {
  store::Table t(session(), "basic.DB");
  t.Open();
  t.Append();
  t.FieldByName("NUMBER").setText(number);
  t.FieldByName("ACCOUNT").setText("12345678901234");
  t.FieldByName("NAME").setText(name);
  t.Post();
}

void DataFolder::addEntry(const std::string& number, const std::string& date, double pay,
                          const std::string& item) {
  store::Table t(session(), "salary.DB");
  t.Open();
  t.Append();
  t.FieldByName("NUMBER").setText(number);
  t.FieldByName("SENDDATE").setText(date);
  t.FieldByName("PAY").setNumber(pay);
  t.FieldByName("SALARYITEM").setText(item);
  t.Post();
}

void DataFolder::addTempRow(const std::string& number) {
  store::Table t(session(), "temp.DB");
  t.Open();
  t.Append();
  t.FieldByName("NUMBER").setText(number);
  t.FieldByName("SENDDATE").setText("880305");
  t.Post();
}

long long DataFolder::rows(const std::string& fileName) {
  store::Table t(session(), fileName);
  t.Open();
  return t.RecordCount();
}
