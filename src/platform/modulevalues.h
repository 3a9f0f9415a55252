#pragma once

#include <functional>

namespace platform {

// Module-level values go back to their start state in one call, so each test starts from what
// the program starts with, however many values the subsystems add.
void ResetModuleValues();

// Registers what ResetModuleValues does for one value or resource; held by a variable at
// namespace scope beside what it resets.
class ResetAtModuleReset {
 public:
  explicit ResetAtModuleReset(std::function<void()> reset);
};

// The reset of a value to the value it holds now (its start value, at registration).
template <class T>
std::function<void()> RestoresStart(T& value) {
  return [&value, start = value] { value = start; };
}

}  // namespace platform

// Declares a module-level value with its start value (none: the type's default), and registers
// its reset: MODULE_VALUE(std::uint8_t, RstRecord, 0);  MODULE_VALUE(QString, OwnCall);
// A type with a comma in it takes an alias first.
#define MODULE_VALUE(Type, name, ...)  \
  inline Type name{__VA_ARGS__};       \
  inline const ::platform::ResetAtModuleReset name##ModuleReset { ::platform::RestoresStart(name) }
