#include "Guard.h"

#include <exception>

#include "Dialogs.h"

namespace toolkit {

bool runGuarded(const std::function<void()>& handler) noexcept {
  QString message;
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    message = QString::fromUtf8(e.what());
  } catch (...) {
    message = QStringLiteral("Unknown error");
  }
  // Reporting must not throw either: a failing report is dropped rather than let into Qt.
  try {
    dialogs().ShowException(message);
  } catch (...) {
  }
  return false;
}

}  // namespace toolkit
