#pragma once

#include "platform/form.h"

namespace app {

// The station set-up dialog: own call, grid, UTC offset, position, contest, fixed or rover, and
// the log database file.
class frmStationID : public platform::Form {
 public:
  frmStationID();
};

}  // namespace app
