#pragma once
// salary-admin run on a data folder as an administrator or a nightly job would run it: a folder
// with a user, an employee and one pay entry.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/TestFolder.h"
#include "support/TestRows.h"
#include "support/ToolRun.h"

class AdminTest : public ::testing::Test {
 protected:
  AdminTest() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEntry("000001", "880105", 35000, "薪水轉帳");
  }
  ToolRun admin(const std::string& arguments) {
    return runCommand(std::string(SALARY_ADMIN) + " " + arguments + " --data " +
                          shellQuoted(folder.path().string()),
                      scratch.path());
  }
  // Every file of the folder with its bytes.
  std::map<std::string, std::string> files() {
    std::map<std::string, std::string> out;
    for (const auto& name : TestFolder::filesIn(folder.path()))
      out[name] = TestFolder::readFile(folder.path() / name);
    return out;
  }
  // `fields` of every row of a file as a new session reads it: a session keeps the files it has
  // used open, and sees a file replaced by another program only when it opens it again.
  testrows::Texts rowsNow(const std::string& file,
                          const std::string& fields = "NUMBER SENDDATE PAY SALARYITEM") {
    store::Session session(folder.path());
    session.AddPassword(store::kTablePassword);
    return testrows::fileColumn(session, file, fields);
  }
  TestFolder folder;
  TestFolder scratch{TestFolder::Tables::None};
};
