#pragma once

#include "platform/form.h"

namespace app {

// The start-up window: fixes the program folder, shows the logo, prepares the document folders
// and hands over to the main window. It shows nothing itself.
class frmSplash : public platform::Form {
 public:
  frmSplash();

  void Form_Load() override;
};

}  // namespace app
