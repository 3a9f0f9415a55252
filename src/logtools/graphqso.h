#pragma once

#include "platform/form.h"

namespace logtools {

// Plots the contact rate over the whole log.
class GraphQSO : public platform::Form {
 public:
  GraphQSO();
};

}  // namespace logtools
