#pragma once

#include "platform/form.h"

namespace spotting {

// Shows the band plan segments a licence class may use.
class frmBandPlan : public platform::Form {
 public:
  frmBandPlan();
};

}  // namespace spotting
