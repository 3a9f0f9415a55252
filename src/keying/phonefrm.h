#pragma once

#include "platform/form.h"

namespace keying {

// The voice messages window: a WAV file per function key, push-to-talk line and repeat.
class PhoneFrm : public platform::Form {
 public:
  PhoneFrm();
};

}  // namespace keying
