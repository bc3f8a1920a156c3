#include "EmployeeFixture.h"

#include <sqlite3.h>

EmployeeFixture::EmployeeFixture() {
  folder.addUser("admin", "admin");
  folder.addEmployee("000001", "王小明", "A123456789", "11110000000001");
  folder.addEmployee("002345", "李大同", "B223456789", "22220000002345");
  folder.addEmployee("003000", "王大明", "C123456789", "33330000003000");
  folder.addEntry("000001", "880105", 30000, "薪水轉帳");
  folder.addEntry("002345", "880105", 35000, "薪水轉帳");
  folder.addEntry("002345", "880205", 36000, "薪水轉帳");
  folder.addEntry("002345", "880205", 1200, "退稅");
  start();
  page = m->BasicData;
  search = m->QueryPanel;
  m->show();
}

std::vector<std::string> EmployeeFixture::bothFiles() {
  std::vector<std::string> rows = rowsOnDisk("basic");
  for (auto& r : rowsOnDisk("salary")) rows.push_back(r);
  return rows;
}

void EmployeeFixture::refuseEmployeeDeletes() {
  sqlite3* db = nullptr;
  const std::string file = (folder.path() / "basic.DB").string();
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  const int rc = sqlite3_exec(db,
                              "CREATE TRIGGER refuse BEFORE DELETE ON data "
                              "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                              nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK);
}

bool EmployeeFixture::buttonsIn(bool writing) const {
  auto* p = page;
  for (QWidget* w : {p->FirstBitBtn1, p->PriorBitBtn1, p->NextBitBtn1, p->LastBitBtn1,
                     p->InsertBitBtn1, p->EditBitBtn1, p->DeleteBitBtn1})
    if (w->isEnabled() == writing) return false;
  return p->PostBitBtn1->isEnabled() == writing && p->CancelBitBtn1->isEnabled() == writing;
}
