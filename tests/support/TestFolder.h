#pragma once
// A fresh data folder per test, removed afterwards, with the live tables created in it, and the
// rows a test puts into them.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/Session.h"

class TestFolder {
 public:
  enum class Tables { None, Live };
  explicit TestFolder(Tables tables = Tables::Live);
  ~TestFolder();

  const std::filesystem::path& path() const { return path_; }
  // A session on the folder with the table password registered.
  store::Session& session() { return *session_; }
  // Replaces the session by a new one: a session keeps the files it has used open and does not
  // see a file that another program has replaced since.
  void reopen();

  // Rows written through a table object, as testrows writes them (TestRows.h); fields given an
  // empty text, and an absent pay, stay empty.
  void addUser(const std::string& code, const std::string& password);
  void addEmployee(const std::string& number, const std::string& name, const std::string& id = "",
                   const std::string& account = "12345678901234");
  void addEntry(const std::string& number, const std::string& date, std::optional<double> pay,
                const std::string& item);
  void addTempRow(const std::string& number);
  // Appends one row of these field texts; the fields not named stay empty.
  void append(const std::string& fileName,
              const std::vector<std::pair<std::string, std::string>>& fields);

  // Rows of a file, counted through a new table object.
  long long rows(const std::string& fileName);
  // A file as bytes ("" when missing).
  static std::string readFile(const std::filesystem::path& file);
  // The names of a folder's files that contain `part`, sorted.
  static std::vector<std::string> filesIn(const std::filesystem::path& folder,
                                          std::string_view part = "");

 private:
  std::filesystem::path path_;
  std::unique_ptr<store::Session> session_;
};
