#pragma once

#include "platform/form.h"

namespace keying {

// Sets up the external keyer device and sends CW through it.
class frmTappler : public platform::Form {
 public:
  frmTappler();

  // Sends CWBuffer through the keyer device and empties it.
  void TPTransmit();
};

}  // namespace keying
