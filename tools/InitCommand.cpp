// salary-admin init: creates the five live table files of a new installation, with the default
// user code "admin" (password "admin") and the sixteen salary items. Never overwrites.

#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "store/EngineError.h"
#include "store/FolderLock.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"

namespace admin {

namespace {

void fillDefaults(store::Session& session) {
  store::Table pass(session, "pass.DB");
  pass.Open();
  pass.Append();
  pass.FieldByName("USERID").setText("admin");
  pass.FieldByName("PASSWORD").setText("admin");
  pass.Post();

  store::Table items(session, "item.DB");
  items.Open();
  for (const auto& item : store::defaultSalaryItems()) {
    items.Append();
    items.FieldByName("SALARYITEM").setText(item);
    items.Post();
  }
}

}  // namespace

int initCommand(const Args& args) {
  checkOptions(args, {"--data"});
  std::filesystem::path folder = dataFolder(args);

  std::error_code ec;
  const bool created = std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::cerr << "salary-admin init: cannot create " << folder.string() << ": " << ec.message()
              << "\n";
    return 1;
  }
  // Payroll data is the user's alone.
  using std::filesystem::perms;
  if (created) std::filesystem::permissions(folder, perms::owner_all, ec);
  // A folder that existed is held by the dispatcher already; a new one is held from now on.
  std::unique_ptr<store::FolderLock> hold;
  if (created) hold = std::make_unique<store::FolderLock>(folder);

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  bool clash = false;
  for (const auto& t : store::liveTables()) {
    if (session.exists(t.fileName)) {
      std::cerr << "salary-admin init: " << session.resolve(t.fileName).string()
                << " exists already; nothing was changed\n";
      clash = true;
    }
  }
  if (clash) return 1;

  std::vector<std::filesystem::path> made;
  try {
    for (const auto& t : store::liveTables()) {
      session.createTable(t.fileName, t.schema);
      made.push_back(session.resolve(t.fileName));
      std::filesystem::permissions(made.back(), perms::owner_read | perms::owner_write);
    }
    fillDefaults(session);
  } catch (const store::EngineError&) {
    for (const auto& p : made) std::filesystem::remove(p, ec);
    throw;
  }
  std::cout << "Created the tables in " << folder.string() << "\n"
            << "Default login: user code admin, password admin (change it on the password page)\n";
  return 0;
}

}  // namespace admin
