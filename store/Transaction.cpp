#include "Transaction.h"

#include "EngineError.h"
#include "Session.h"
#include "internal/Connection.h"

namespace store {

Transaction::Transaction(Session& session, std::vector<std::string> fileNames)
    : session_(session), files_(std::move(fileNames)) {
  session_.connection().beginTransaction(files_);
}

Transaction::~Transaction() noexcept {
  if (!done_) session_.connection().rollbackTransaction();
}

void Transaction::commit() {
  if (done_) throw EngineError::of(EngineError::Code::WrongState, {}, {}, "交易已結束");
  done_ = true;
  session_.connection().commitTransaction();
}

}  // namespace store
