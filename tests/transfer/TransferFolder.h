#pragma once
// The test folder with the batch read back from temp.DB.

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
  // temp.DB in its primary-key order.
  std::vector<BatchRow> batch();
};
