#include "Guard.h"

#include <exception>

#include "Dialogs.h"
#include "store/EngineError.h"

namespace toolkit {

bool runGuarded(const std::function<void()>& handler) noexcept {
  QString message;
  try {
    handler();
    return true;
  } catch (...) {
    try {
      message = QString::fromUtf8(store::EngineError::from(std::current_exception()).what());
    } catch (...) {
      message = QStringLiteral("記憶體不足,作業未完成");  // not even the message could be made
    }
  }
  // Reporting must not throw either: a failing report is dropped rather than let into Qt.
  try {
    dialogs().ShowException(message);
  } catch (...) {
  }
  return false;
}

}  // namespace toolkit
