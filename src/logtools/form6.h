#pragma once

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

#include <cstdint>

namespace logtools {

// Lets the operator pick the grid map's worked and remaining colours, each previewed on its
// label at once. The globals change as they are picked; the Colors menu saves them afterwards.
class Form6 : public platform::Form {
 public:
  Form6();

  platform::CommandButton Command1{this, "Command1"};
  platform::CommandButton Command3{this, "Command3"};
  platform::Label Label2{this, "Label2"};
  platform::Label Label1{this, "Label1"};
  platform::Line Line2{this, "Line2"};
  platform::Line Line1{this, "Line1"};
  platform::CommandButton Command6{this, "Command6"};
  platform::CommonDialog cmdColor;

  void Form_Load() override;
  void Command1_Click();
  void Command3_Click();
  void Command6_Click();

 private:
  void PickColor(std::int32_t& color, platform::Label& preview);
};

}  // namespace logtools
