#pragma once

#include "platform/form.h"

namespace app {

// The logo window shown modally at start-up; it closes itself after a moment or on a click.
class frmVarnekLogo : public platform::Form {
 public:
  frmVarnekLogo();
};

}  // namespace app
