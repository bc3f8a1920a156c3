#include "Transaction.h"

#include "EngineError.h"
#include "Session.h"

namespace store {

Transaction::Transaction(Session& session, std::vector<std::string> fileNames)
    : session_(session), files_(std::move(fileNames)) {
  session_.beginTransaction(files_);
}

Transaction::~Transaction() noexcept {
  if (!done_) session_.rollbackTransaction();
}

void Transaction::commit() {
  if (done_) throw EngineError(EngineError::Code::WrongState, "交易已結束 (transaction is over)");
  done_ = true;
  session_.commitTransaction();
}

}  // namespace store
