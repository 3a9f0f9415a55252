#include "platform/errors.h"

namespace platform {

void InvalidPropertyValue() { throw RuntimeError(QStringLiteral("Invalid property value"), 380); }

void InvalidProcedureCall() { throw RuntimeError(QStringLiteral("Invalid procedure call or argument"), 5); }

bool SkipOnError(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace platform
