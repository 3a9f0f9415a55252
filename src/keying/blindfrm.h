#pragma once

#include "platform/form.h"
#include "platform/mciwave.h"

#include <QString>

namespace keying {

// Chooses how much of the entry line is announced by voice, and plays every voice cue.
class BlindFrm : public platform::Form {
 public:
  BlindFrm();

  void Form_Unload(int& Cancel) override;

  // Plays the cue file of the program folder named by the cue ("Dupe" plays Dupe.wav) and returns
  // while it plays; a cue still playing is cut off. A missing file plays nothing.
  void BlindKeyPhone(const QString& cue);

  // Its own player, so a cue never cuts off a voice message.
  platform::MMControl MMControl1;
};

}  // namespace keying
