#pragma once
// The test folder with the transfer tests' ways of putting employees and pay entries into it,
// and the batch read back from temp.DB.

#include <optional>
#include <string>
#include <vector>

#include "store/Value.h"
#include "support/TestFolder.h"

// One row of temp.DB: string fields as stored bytes.
struct BatchRow {
  std::string NUMBER, SENDDATE, SUBJECT, ACCOUNT;
  store::Value PAY;
  std::string PAY1, ID, SPACE, TRAN, MEMO, SALARYITEM, NAME;
  bool operator==(const BatchRow&) const = default;
};

class TransferFolder : public TestFolder {
 public:
  // Texts are UTF-8; an empty id is left unset.
  void addEmployee(const std::string& number, const std::string& account, const std::string& name,
                   const std::string& id = {});
  // An entry without pay or item leaves that field unset.
  void addEntry(const std::string& number, const std::string& sendDate, std::optional<double> pay,
                const std::optional<std::string>& item = std::string("薪水轉帳"));

  // temp.DB in its primary-key order.
  std::vector<BatchRow> batch();
};
