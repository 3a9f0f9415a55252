#pragma once

#include "platform/form.h"

namespace keying {

// Sends Morse practice text on the air through the CW keying.
class frmCodePractice : public platform::Form {
 public:
  frmCodePractice();
};

}  // namespace keying
