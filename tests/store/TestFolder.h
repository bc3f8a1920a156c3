#pragma once
// A fresh data folder per test, removed afterwards, with the live tables created in it.

#include <filesystem>
#include <memory>

#include "store/Session.h"

class TestFolder {
 public:
  enum class Tables { None, Live };
  explicit TestFolder(Tables tables = Tables::Live);
  ~TestFolder();

  const std::filesystem::path& path() const { return path_; }
  // A session on the folder with the table password registered.
  store::Session& session() { return *session_; }

 private:
  std::filesystem::path path_;
  std::unique_ptr<store::Session> session_;
};
