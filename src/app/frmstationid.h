#pragma once

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

namespace app {

// The station set-up dialog: own call, grid, UTC offset, position, contest, fixed or rover, and
// the log database file. Done opens the program's one log connection and writes the station's
// identity to the shared preferences file; Cancel ends the program.
class frmStationID : public platform::Form {
 public:
  frmStationID();

  // Key filters; each changes the typed key code in place (0 swallows the key).
  static void Cap3(int& KeyAscii);     // "a"-"z" to "A"-"Z"
  static void numberr(int& KeyAscii);  // Backspace and "-" to "9" only

  platform::Label lblCall{this, "lblCall"};
  platform::TextBox Text1{this, "Text1"};
  platform::Label lblGrid{this, "lblGrid"};
  platform::TextBox Text5{this, "Text5"};
  platform::Label lblUtc{this, "lblUtc"};
  platform::TextBox Text6{this, "Text6"};
  platform::Label lblLatitude{this, "lblLatitude"};
  platform::TextBox Text3{this, "Text3"};
  platform::Label lblLongitude{this, "lblLongitude"};
  platform::TextBox Text2{this, "Text2"};

  platform::Frame fraContest{this, "fraContest"};
  platform::OptionButton Option1{&fraContest, "Option1"};
  platform::OptionButton Option2{&fraContest, "Option2"};
  platform::OptionButton Option3{&fraContest, "Option3"};
  platform::OptionButton Option4{&fraContest, "Option4"};
  platform::OptionButton Option7{&fraContest, "Option7"};

  platform::Frame fraStation{this, "fraStation"};
  platform::OptionButton Option5{&fraStation, "Option5"};
  platform::OptionButton Option6{&fraStation, "Option6"};

  platform::CommandButton Command1{this, "Command1"};
  platform::CommandButton Command4{this, "Command4"};
  platform::CommandButton Command3{this, "Command3"};

  platform::Label lblPath{this, "lblPath"};
  platform::TextBox Text8{this, "Text8"};
  platform::CommandButton Command2{this, "Command2"};
  platform::Label lblNetworkNote{this, "lblNetworkNote"};
  platform::Label lblCopyNote{this, "lblCopyNote"};

  platform::CommonDialog cdbFile;

  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Text1_KeyPress(int& KeyAscii);
  void Text5_KeyPress(int& KeyAscii);
  void Text6_KeyPress(int& KeyAscii);
  void Text6_LostFocus();

 private:
  void LayOut();
  // Enter in the call, grid and UTC fields is swallowed and presses Done.
  bool EnterRunsDone(int& KeyAscii);
  void Connect();
  void ReportOpenFailure(const QString& reason = QString());
};

}  // namespace app
