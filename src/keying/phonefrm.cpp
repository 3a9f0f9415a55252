#include "keying/phonefrm.h"

#include "platform/design.h"
#include "platform/trace.h"

#include <array>

namespace keying {

PhoneFrm::PhoneFrm() : Form(QStringLiteral("PhoneFrm")) {
  SetCaption(QStringLiteral("Phone Wave Selections"));
  Move(0, 0, 9600, 7200);
  const std::array<platform::TextBox*, 9> files = {&Text1, &Text2, &Text3, &Text4, &Text5,
                                                   &Text6, &Text7, &Text8, &Text9};
  for (std::size_t row = 0; row < files.size(); ++row) {
    files[row]->Move(600, 240 + 360 * static_cast<double>(row), 6600, 315);
  }
  Text10.SetText(QStringLiteral("0"));
  Text10.Move(600, 3600, 600, 315);
  platform::DesignCaption(Option1, "RTS", 1440, 3600, 840, 285);
  platform::DesignCaption(Option2, "DTR", 2400, 3600, 840, 285);
  platform::DesignCaption(Option3, "Parallel", 3360, 3600, 1080, 285);
  Option1.SetValue(true);
  Text11.SetText(QStringLiteral("&H378"));
  Text11.Move(4560, 3600, 900, 315);
  txtPHLoop.SetText(QStringLiteral("0"));
  txtPHLoop.Move(600, 4080, 600, 315);
  tmrRepeat.SetEnabled(false);
}

void PhoneFrm::Form_Unload(int&) { MMControl1.Command(QStringLiteral("Close")); }

void PhoneFrm::FKeyPhone(int&) { NOT_BUILT_YET(); }

}  // namespace keying
