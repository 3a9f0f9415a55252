#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <QString>

namespace logtools {

// The help text beside the program, in the program folder.
inline const QString HelpFileName = QStringLiteral("rdCorvane.txt");

// Shows the program's help text, read afresh at each opening; it changes nothing.
class Form5 : public platform::Form {
 public:
  Form5();

  platform::TextBox Text1{this, "Text1", platform::MultiLine};
  platform::CommandButton Command1{this, "Command1"};

  void Form_Load() override;
  void Command1_Click();
};

}  // namespace logtools
