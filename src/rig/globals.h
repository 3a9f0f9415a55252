#pragma once

#include "platform/modulevalues.h"

#include <QString>

namespace rig {

// The selected rig interface, one of the rig window's rig names; "None" means no rig.
MODULE_VALUE(QString, RigType);

}  // namespace rig
