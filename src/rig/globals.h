#pragma once

#include <QString>

namespace rig {

// The selected rig interface, one of the rig window's rig names; "None" means no rig.
inline QString RigType;

}  // namespace rig
