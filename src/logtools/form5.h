#pragma once

#include "platform/form.h"

namespace logtools {

// Shows the program's help text.
class Form5 : public platform::Form {
 public:
  Form5();
};

}  // namespace logtools
