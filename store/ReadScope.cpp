#include "ReadScope.h"

#include "Session.h"
#include "internal/Connection.h"

namespace store {

ReadScope::ReadScope(Session& session) : session_(session) {
  session_.connection().beginReadScope();
}

ReadScope::~ReadScope() noexcept {
  session_.connection().endReadScope();
}

}  // namespace store
