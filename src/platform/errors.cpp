#include "platform/errors.h"

namespace platform {

void InvalidPropertyValue() { throw RuntimeError(QStringLiteral("Invalid property value"), 380); }

void InvalidProcedureCall() { throw RuntimeError(QStringLiteral("Invalid procedure call or argument"), 5); }

}  // namespace platform
