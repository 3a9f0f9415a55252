#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace network {

// The station network window: the band-by-mode table of the station's PCs, station messages,
// clock synchronisation and the TCP links between the PCs.
class frmNetwork : public platform::Form {
 public:
  frmNetwork();

  // The band grid, columns 0 to 13: the header holds the column's band name, the cells the
  // stations working it in phone, CW and digital mode. An occupied cell is red (255).
  platform::ControlArray<platform::Label> lblBndHdr{this, "lblBndHdr"};
  platform::ControlArray<platform::Label> lblBandSSB{this, "lblBandSSB"};
  platform::ControlArray<platform::Label> lblBandCW{this, "lblBandCW"};
  platform::ControlArray<platform::Label> lblBandDIG{this, "lblBandDIG"};  // hidden, still kept up to date

  platform::CheckBox Check1{this, "Check1"};  // "Functions Enabled": mirrors NetworkEnabled
  platform::TextBox Text1{this, "Text1"};     // this PC's station name

  platform::Timer Timer1{this, "Timer1"};  // status exchange
  platform::Timer Timer2{this, "Timer2"};  // connecting and reconnecting to the server

  // Reports this station's band and mode to the others; the main window runs it after every
  // band or mode change. Only while the network functions are on.
  void Timer1_Timer();

  // Switches the network functions on or off; the main window's start-up switches them on here.
  void Check1_Click();

 private:
  void DesignBandGrid();
};

}  // namespace network
