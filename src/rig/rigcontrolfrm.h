#pragma once

#include "platform/form.h"
#include "platform/serialcontrol.h"

#include <QString>

namespace rig {

// The rig control window: the rig, its port settings and the poll of frequency and mode.
class RigControlfrm : public platform::Form {
 public:
  RigControlfrm();

  // Opens the rig's port with the window's settings and starts polling.
  void Command1_Click();
  // Tunes the polled rig to a frequency in MHz; does nothing while no rig is polled.
  void ChangeFrequency(const float& frequency);
  // Switches the rig to a mode; an empty mode takes the band plan's mode for the frequency.
  void ChangeMode(const float& qChangeFrequency, QString& ModeToChangeTo);

  platform::SerialControl comComm1;  // the rig's port
};

}  // namespace rig
