#pragma once

#include "platform/forms.h"

namespace app {

// The logo window shown modally at start-up; it closes itself after a moment or on a click.
// The maker's own picture "Shared\splash.jpg" takes the place of the built-in one and stays longer.
class frmVarnekLogo : public platform::Form {
 public:
  frmVarnekLogo();

  platform::Image Image1{this, "Image1"};  // the picture covering the window
  platform::Image Image2{this, "Image2"};  // the maker's badge, shown after a moment
  platform::Timer Timer1{this, "Timer1"};  // closes the window
  platform::Timer Timer2{this, "Timer2"};  // shows Image2

  void Form_Load() override;
  void Image1_Click();
  void Timer1_Timer();
  void Timer2_Timer();
};

}  // namespace app
