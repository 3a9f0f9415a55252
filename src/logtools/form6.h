#pragma once

#include "platform/form.h"

namespace logtools {

// Lets the operator pick the grid map's worked and remaining colours.
class Form6 : public platform::Form {
 public:
  Form6();
};

}  // namespace logtools
