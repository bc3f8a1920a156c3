// salary-admin init: creates the five live table files of a new installation, with the default
// user code "admin" (password "admin") and the sixteen salary items. Never overwrites: with
// --missing it makes only the files that are missing (a temp.DB or item.DB lost), each with its
// defaults, and leaves every existing file as it is.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "store/EngineError.h"
#include "store/FolderLock.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"

namespace admin {

namespace {

// The default user and salary items, in those of the new tables that hold them.
void fillDefaults(store::Session& session, const std::vector<const store::LiveTable*>& made) {
  auto isNew = [&](const char* fileName) {
    return std::any_of(made.begin(), made.end(), [&](const store::LiveTable* t) {
      return std::string(t->fileName) == fileName;
    });
  };
  if (isNew("pass.DB")) {
    store::Table pass(session, "pass.DB");
    pass.Open();
    pass.Append();
    pass.FieldByName("USERID").setText("admin");
    pass.FieldByName("PASSWORD").setText("admin");
    pass.Post();
  }
  if (isNew("item.DB")) {
    store::Table items(session, "item.DB");
    items.Open();
    for (const auto& item : store::defaultSalaryItems()) {
      items.Append();
      items.FieldByName("SALARYITEM").setText(item);
      items.Post();
    }
  }
}

}  // namespace

int initCommand(const Args& args) {
  const bool missingOnly = std::find(args.begin(), args.end(), "--missing") != args.end();
  Args options = args;
  std::erase(options, std::string("--missing"));
  checkOptions(options, {"--data"});
  const std::filesystem::path folder = dataFolder(options);

  std::error_code ec;
  const bool created = std::filesystem::create_directories(folder, ec);
  if (ec) throw store::EngineError::fromErrno(ec.value(), folder.string());
  // Payroll data is the user's alone.
  using std::filesystem::perms;
  if (created) std::filesystem::permissions(folder, perms::owner_all, ec);
  // A folder that existed is held by the dispatcher already; a new one is held from now on.
  std::unique_ptr<store::FolderLock> hold;
  if (created) hold = std::make_unique<store::FolderLock>(folder);

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  std::vector<const store::LiveTable*> missing;
  bool clash = false;
  for (const auto& t : store::liveTables()) {
    if (!session.exists(t.fileName)) {
      missing.push_back(&t);
    } else if (!missingOnly) {
      std::cerr << "salary-admin init: " << session.resolve(t.fileName).string()
                << " 已存在,沒有做任何變更 (只建立缺少的資料表請加 --missing)\n";
      clash = true;
    }
  }
  if (clash) return 1;
  if (missing.empty()) {
    std::cout << folder.string() << " 的資料表都已存在,沒有做任何變更\n";
    return 0;
  }

  std::vector<std::filesystem::path> made;
  std::string names;
  try {
    for (const store::LiveTable* t : missing) {
      session.createTable(t->fileName, t->schema);
      made.push_back(session.resolve(t->fileName));
      std::filesystem::permissions(made.back(), perms::owner_read | perms::owner_write);
      names += (names.empty() ? "" : "、") + std::string(t->fileName);
    }
    fillDefaults(session, missing);
  } catch (const store::EngineError&) {
    for (const auto& p : made) std::filesystem::remove(p, ec);
    throw;
  }
  std::cout << "已在 " << folder.string() << " 建立資料表 " << names << "\n";
  if (std::any_of(missing.begin(), missing.end(), [](const store::LiveTable* t) {
        return std::string(t->fileName) == "pass.DB";
      })) {
    std::cout << "預設登入: 使用者代碼 admin,密碼 admin;請立即在密碼設定作業變更\n";
  }
  return 0;
}

}  // namespace admin
