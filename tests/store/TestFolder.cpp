#include "TestFolder.h"

#include <stdlib.h>

#include "store/Schema.h"

TestFolder::TestFolder(Tables tables) {
  std::string pattern = (std::filesystem::temp_directory_path() / "salary-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  session_ = std::make_unique<store::Session>(path_);
  session_->AddPassword(store::kTablePassword);
  if (tables == Tables::Live) {
    for (const auto& t : store::liveTables()) session_->createTable(t.fileName, t.schema);
  }
}

TestFolder::~TestFolder() {
  session_.reset();
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}
