#include "ReadScope.h"

#include "Session.h"
#include "internal/Connection.h"

namespace store {

ReadScope::ReadScope(Session& session) : session_(session) {
  connectionOf(session_).beginReadScope();
}

ReadScope::~ReadScope() noexcept {
  connectionOf(session_).endReadScope();
}

}  // namespace store
