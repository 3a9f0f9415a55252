#pragma once

#include "platform/form.h"

namespace logtools {

// Appends another log or a backup file to the live log table.
class frmImport : public platform::Form {
 public:
  frmImport();
};

}  // namespace logtools
