#pragma once

#include "platform/form.h"

namespace rig {

// The rig control window: the rig, its port settings and the poll of frequency and mode.
class RigControlfrm : public platform::Form {
 public:
  RigControlfrm();

  // Opens the rig's port with the window's settings and starts polling.
  void Command1_Click();
  // Tunes the polled rig to a frequency in MHz; does nothing while no rig is polled.
  void ChangeFrequency(const float& frequency);
};

}  // namespace rig
