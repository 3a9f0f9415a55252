#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <QString>

#include <array>
#include <random>

namespace keying {

// Sends Morse practice text on the air through the CW keying: random groups, pasted or typed text,
// and characters typed into a keyboard box at once.
class frmCodePractice : public platform::Form {
 public:
  frmCodePractice();

  platform::Label lblExplanation{this, "lblExplanation"};
  platform::Frame fraTextToSend{this, "fraTextToSend"};
  platform::TextBox Text1{&fraTextToSend, "Text1", platform::MultiLine};  // text to send
  platform::Frame fraTextSent{this, "fraTextSent"};
  platform::TextBox Text2{&fraTextSent, "Text2", platform::MultiLine};  // characters already sent
  platform::Frame fraKeyboard{this, "fraKeyboard"};
  platform::TextBox Text5{&fraKeyboard, "Text5"};  // keyboard sending
  platform::Label lblGenerate{this, "lblGenerate"};
  platform::TextBox Text3{this, "Text3"};  // number of groups
  platform::Label lblGroupsOf{this, "lblGroupsOf"};
  platform::TextBox Text4{this, "Text4"};  // characters per group
  platform::Label lblCharactersEach{this, "lblCharactersEach"};
  platform::Frame fraInclude{this, "fraInclude"};
  platform::OptionButton Option1{&fraInclude, "Option1"};  // Letters Only
  platform::OptionButton Option2{&fraInclude, "Option2"};  // All
  platform::CommandButton Command2{this, "Command2"};      // Generate
  platform::CommandButton Command3{this, "Command3"};      // Send
  platform::CommandButton Command4{this, "Command4"};      // Stop
  platform::CommandButton Command1{this, "Command1"};      // Paste
  platform::CommandButton Command6{this, "Command6"};      // Clear the text to send
  platform::CommandButton Command5{this, "Command5"};      // Clear the text sent
  platform::CommandButton Command7{this, "Command7"};      // Faster
  platform::CommandButton Command8{this, "Command8"};      // Slower
  platform::Label Label8{this, "Label8"};                  // the CW speed
  platform::Label lblWPM{this, "lblWPM"};

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command1_Click();
  void Command6_Click();
  void Command5_Click();
  void Command7_Click();
  void Command8_Click();
  void Text5_KeyPress(int& KeyAscii);
  void Text1_KeyPress(int& KeyAscii);

 private:
  void FillPracticeCharacters();
  void ShowSent(const QString& character);
  void ShowSpeed();

  // Entries 1 to 41 are drawn from: A to Z, 0 to 9, then . , ? / -.
  std::array<QString, 46> PracticeCharacters;
  QString PracticeText;  // the text Send is sending
  std::mt19937 random_;
};

}  // namespace keying
