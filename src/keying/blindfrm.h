#pragma once

#include "platform/form.h"

namespace keying {

// Chooses how much of the entry line is announced by voice.
class BlindFrm : public platform::Form {
 public:
  BlindFrm();
};

}  // namespace keying
