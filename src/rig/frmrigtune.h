#pragma once

#include "platform/form.h"

namespace rig {

// Tunes the rig by hand: typed frequency, band buttons, steps, scan and mode.
class frmRigTune : public platform::Form {
 public:
  frmRigTune();
};

}  // namespace rig
