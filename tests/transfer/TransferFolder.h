#pragma once
// A fresh data folder per test with the live tables, removed afterwards, and helpers that put
// employees and pay entries into it and read the batch back from temp.DB.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/Session.h"
#include "store/Value.h"

// One row of temp.DB: string fields as stored bytes.
struct BatchRow {
  std::string NUMBER, SENDDATE, SUBJECT, ACCOUNT;
  store::Value PAY;
  std::string PAY1, ID, SPACE, TRAN, MEMO, SALARYITEM, NAME;
  bool operator==(const BatchRow&) const = default;
};

class TransferFolder {
 public:
  TransferFolder();
  ~TransferFolder();

  const std::filesystem::path& path() const { return path_; }
  store::Session& session() { return *session_; }

  // Texts are UTF-8; an empty id is left unset.
  void addEmployee(const std::string& number, const std::string& account, const std::string& name,
                   const std::string& id = {});
  // An entry without pay or item leaves that field unset.
  void addEntry(const std::string& number, const std::string& sendDate, std::optional<double> pay,
                const std::optional<std::string>& item = std::string("薪水轉帳"));

  // temp.DB in its primary-key order.
  std::vector<BatchRow> batch();

  // A file of the folder as bytes ("" when missing).
  static std::string readFile(const std::filesystem::path& file);

 private:
  std::filesystem::path path_;
  std::unique_ptr<store::Session> session_;
};
