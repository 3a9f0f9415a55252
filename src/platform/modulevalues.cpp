#include "platform/modulevalues.h"

#include <utility>
#include <vector>

namespace platform {

namespace {

std::vector<std::function<void()>>& Resets() {
  static std::vector<std::function<void()>> resets;
  return resets;
}

}  // namespace

ResetAtModuleReset::ResetAtModuleReset(std::function<void()> reset) { Resets().push_back(std::move(reset)); }

void ResetModuleValues() {
  for (const auto& reset : Resets()) reset();
}

}  // namespace platform
