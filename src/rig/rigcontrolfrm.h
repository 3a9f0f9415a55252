#pragma once

#include "platform/form.h"

namespace rig {

// The rig control window: the rig, its port settings and the poll of frequency and mode.
class RigControlfrm : public platform::Form {
 public:
  RigControlfrm();
};

}  // namespace rig
