#include "keying/cwfrm.h"

#include "app/stationfields.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/trace.h"

#include <array>

namespace keying {

namespace {

void DesignBox(platform::TextBox& box, const char* text, double left, double top, double width) {
  box.SetText(QString::fromLatin1(text));
  box.Move(left, top, width, 315);
}

}  // namespace

CWFrm::CWFrm() : Form(QStringLiteral("CWFrm")) {
  SetCaption(QStringLiteral("CW String Selections"));
  Move(0, 0, 9600, 7200);
  const std::array<platform::TextBox*, 11> messages = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6,
                                                       &Text7, &Text8, &Text9, &Text12, &Text13};
  for (std::size_t row = 0; row < messages.size(); ++row) {
    messages[row]->Move(600, 240 + 360 * static_cast<double>(row), 5400, 315);
  }
  DesignBox(Text10, "0", 6240, 240, 600);
  DesignBox(Text14, "&H378", 6240, 720, 900);
  DesignBox(Text11, "13", 6240, 1200, 600);
  UpDown1.Move(6840, 1200, 255, 315);
  DesignBox(txtSpace, "0", 6240, 1680, 600);
  DesignBox(txtCWLoop, "0", 6240, 2160, 600);
  platform::DesignCaption(Check1, "Display CW text on main form (NA for Tappler).", 600, 4320, 5400, 285);

  platform::DesignCaption(fraKeying, "Keying Options", 7320, 240, 1920, 2160);
  platform::DesignCaption(Option1, "RTS", 120, 240, 1680, 285);
  platform::DesignCaption(Option2, "DTR", 120, 600, 1680, 285);
  platform::DesignCaption(Option3, "Printer", 120, 960, 1680, 285);
  platform::DesignCaption(Option4, "None", 120, 1320, 1680, 285);
  platform::DesignCaption(Option5, "Tappler", 120, 1680, 1680, 285);
  Option4.SetValue(true);
  platform::DesignCaption(cmdConfTappler, "Configure Tappler", 7320, 2520, 1920, 375);
  cmdConfTappler.SetVisible(false);
  tmrRepeat.SetEnabled(false);

  WIRE(UpDown1, UpClick);
  WIRE(UpDown1, DownClick);
  WIRE(Option1, Click);
  WIRE(Option2, Click);
  WIRE(Option3, Click);
  WIRE(Option4, Click);
  WIRE(Option5, Click);
}

void CWFrm::FKeyCW(int&) { NOT_BUILT_YET(); }

void CWFrm::LoopThroughCWBuffer() { NOT_BUILT_YET(); }

void CWFrm::UpDown1_UpClick() { StepSpeed(1); }

void CWFrm::UpDown1_DownClick() { StepSpeed(-1); }

// No bounds: the keying reads whatever speed the box holds. A speed that is no number stays.
void CWFrm::StepSpeed(double step) {
  if (!app::IsNumericText(Text11.Text())) return;
  Text11.SetText(app::NumberText(app::NumberInText(Text11.Text()) + step));
}

void CWFrm::Option1_Click() { KeyingMode = 1; }
void CWFrm::Option2_Click() { KeyingMode = 2; }
void CWFrm::Option3_Click() { KeyingMode = 3; }
void CWFrm::Option4_Click() { KeyingMode = 0; }

void CWFrm::Option5_Click() {
  KeyingMode = 5;
  cmdConfTappler.SetVisible(true);
  platform::Instance<frmTappler>();
}

}  // namespace keying
