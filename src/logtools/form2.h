#pragma once

#include "platform/form.h"

namespace logtools {

// Collects the entry details and writes the log as a Cabrillo file.
class Form2 : public platform::Form {
 public:
  Form2();
};

}  // namespace logtools
