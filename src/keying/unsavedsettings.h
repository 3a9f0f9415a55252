#pragma once

#include "platform/errors.h"

#include <QString>

namespace keying {

// Tells the operator that a window's settings file was not written (the old one stays whole):
// "The <what> settings could not be saved: <description>", titled "Unable to write file.".
void ReportUnsavedSettings(const QString& what, const platform::RuntimeError& error);

}  // namespace keying
