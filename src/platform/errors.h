#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// A service that fails throws this; the procedure that traps errors catches it and does
// whatever it does on an error (a message box, giving up quietly, skipping a step).
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const QString& description, int number = 0)
      : std::runtime_error(description.toStdString()), description_(description), number_(number) {}
  const QString& Description() const { return description_; }
  int Number() const { return number_; }

 private:
  QString description_;
  int number_;
};

// The errors the controls raise for a value or an argument they refuse.
[[noreturn]] void InvalidPropertyValue();  // 380 "Invalid property value"
[[noreturn]] void InvalidProcedureCall();  // 5 "Invalid procedure call or argument"

}  // namespace platform
