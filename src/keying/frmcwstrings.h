#pragma once

#include "platform/form.h"

namespace keying {

// The clickable strip of CW messages, one row per function key.
class frmCWStrings : public platform::Form {
 public:
  frmCWStrings();
};

}  // namespace keying
