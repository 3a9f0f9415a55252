#pragma once

#include "platform/controls.h"
#include "platform/deadline.h"
#include "platform/form.h"
#include "platform/mciwave.h"

#include <QString>

namespace keying {

// Chooses how much of the entry line is announced by voice, and plays every voice cue.
class BlindFrm : public platform::Form {
 public:
  BlindFrm();

  platform::Label Label8{this, "Label8"};
  platform::Label Label5{this, "Label5"};
  platform::Frame Frame1{this, "Frame1"};
  platform::OptionButton Option1{&Frame1, "Option1"};  // Off
  platform::OptionButton Option2{&Frame1, "Option2"};  // Call Only
  platform::OptionButton Option3{&Frame1, "Option3"};  // All Data Fields
  platform::Label Label7{this, "Label7"};              // where the cue files go
  platform::Label lblBackground{this, "lblBackground"};
  platform::CommandButton Command1{this, "Command1"};  // Done

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Command1_Click();

  // Plays the cue file of the program folder named by the cue ("Dupe" plays Dupe.wav) and returns
  // while it plays; a cue still playing is cut off. A missing file plays nothing.
  void BlindKeyPhone(const QString& cue);

  // Runs the event loop until the cue playing now has ended, or could have ended by its length and
  // a second, should the player never report its end.
  void WaitForCue(platform::UserInput input);

  // Its own player, so a cue never cuts off a voice message.
  platform::MMControl MMControl1;
};

}  // namespace keying
