#pragma once

#include "logtools/cabrillo.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace logtools {

// Collects the entry details the log does not hold and writes the log as a Cabrillo file for the
// contest sponsor; the station's name, addresses, section and club are kept for the next time.
// Under the CQ contest (type 5) the same options carry the CQ categories.
class Form2 : public platform::Form {
 public:
  Form2();

  platform::Frame Frame2{this, "Frame2"};  // "Operator:"
  platform::OptionButton Option1{&Frame2, "Option1"};
  platform::OptionButton Option2{&Frame2, "Option2"};
  platform::OptionButton Option3{&Frame2, "Option3"};
  platform::OptionButton Option6{&Frame2, "Option6"};
  platform::OptionButton Option7{&Frame2, "Option7"};
  platform::OptionButton Option4{&Frame2, "Option4"};
  platform::Frame Frame1{this, "Frame1"};  // "Band Category:"
  platform::OptionButton Option8{&Frame1, "Option8"};
  platform::OptionButton Option5{&Frame1, "Option5"};
  platform::OptionButton Option12{&Frame1, "Option12"};
  platform::OptionButton Option13{&Frame1, "Option13"};
  platform::Frame Frame6{this, "Frame6"};  // "Power Category (Single Op Only):"
  platform::OptionButton Option19{&Frame6, "Option19"};
  platform::OptionButton Option18{&Frame6, "Option18"};

  // Declared in the order of the focus, which is therefore their tab order.
  platform::Label Label1{this, "Label1"};
  platform::TextBox Text1{this, "Text1"};  // section abbreviation
  platform::Label Label2{this, "Label2"};
  platform::TextBox Text2{this, "Text2"};  // operators' calls
  platform::Label Label5{this, "Label5"};
  platform::TextBox Text5{this, "Text5"};  // name
  platform::Label Label6{this, "Label6"};
  platform::TextBox Text6{this, "Text6"};  // address, first line
  platform::Label Label7{this, "Label7"};
  platform::TextBox Text7{this, "Text7"};  // address, second line
  platform::Label Label8{this, "Label8"};
  platform::TextBox Text8{this, "Text8"};  // e-mail address
  platform::Label Label10{this, "Label10"};
  platform::TextBox Text10{this, "Text10"};  // club
  platform::Label Label11{this, "Label11"};
  platform::TextBox Text11{this, "Text11"};  // soapbox
  platform::CommandButton Command4{this, "Command4"};
  platform::CommandButton Command3{this, "Command3"};

  void Form_Load() override;

  void Text1_KeyPress(int& KeyAscii);
  void Command4_Click();  // writes the file and keeps the personal details
  void Command3_Click();  // hides the window; its opener unloads it

 private:
  void LayOut();
  void UseCqLayout();
  void LoadPersonalDetails();
  CabrilloEntry EntryAsChosen() const;
  void WriteLogFile();
  void SavePersonalDetails();
};

}  // namespace logtools
