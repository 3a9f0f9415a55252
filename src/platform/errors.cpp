#include "platform/errors.h"

namespace platform {

bool SkipOnError(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace platform
