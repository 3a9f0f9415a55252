#pragma once

#include "platform/form.h"

namespace rig {

// Sends raw commands to the rig while it is polled.
class frmFrequencyTest : public platform::Form {
 public:
  frmFrequencyTest();
};

}  // namespace rig
