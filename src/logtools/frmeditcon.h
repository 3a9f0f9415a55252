#pragma once

#include "platform/form.h"

namespace logtools {

// Edits the contact picked in the main window's contact list.
class frmEditCon : public platform::Form {
 public:
  frmEditCon();
};

}  // namespace logtools
