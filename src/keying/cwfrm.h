#pragma once

#include "platform/form.h"

namespace keying {

// The CW messages window: the prepared messages, the keying interface, speed and repeat.
class CWFrm : public platform::Form {
 public:
  CWFrm();
};

}  // namespace keying
