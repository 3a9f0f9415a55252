#include "rig/frmfrequencytest.h"

#include "app/modformresize.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/numbertext.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "rig/hexconversions.h"
#include "rig/replyfields.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigrequests.h"

#include <optional>

namespace rig {

frmFrequencyTest::frmFrequencyTest() : Form(QStringLiteral("frmFrequencyTest")) {
  using platform::DesignCaption;
  SetCaption(QStringLiteral("Test Change Frequency Function"));
  // Designed by its client area.
  Move(0, 0, 5535 + 2 * BorderTwips, 3975 + CaptionTwips + BorderTwips);
  DesignCaption(Label1,
                "Please use the text box below to enter a complete command to send to your radio.  The default "
                "example is the command used for Kenwood radios.",
                120, 90, 5295, 600);
  DesignCaption(Label2,
                "If your radio requires a hexidecimal format, please enter in the format of XX XX XX (using spaces "
                "between each two digits) and click the Convert to Hex check box below.",
                120, 720, 5295, 750);
  Text1.Move(120, 1545, 2655, 345);
  Text1.SetText(QStringLiteral("FA00028475000;"));
  DesignCaption(Check1, "Convert to Hex", 2880, 1567, 1500, 300);
  DesignCaption(Command1, "Send", 4500, 1530, 915, 375);
  DesignCaption(Label3,
                "Once you have a working command, please e-mail me the exact command and the frequency (in Mhz) "
                "specified in the command.",
                120, 1980, 5295, 600);
  Line1.SetEnds(120, 2640, 5415, 2640);
  DesignCaption(Label4,
                "Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any supported radio, you should "
                "be able to enter a frequency in Mhz, click send and your radio should switch to the specified "
                "frequency.",
                120, 2700, 5295, 750);
  Text2.Move(120, 3525, 2655, 345);
  DesignCaption(Command2, "Send", 4500, 3510, 915, 375);
  // The notes above each box say what it takes; the names say it short.
  Text1.SetAccessibleName(QStringLiteral("Command to send"));
  Text1.SetAccessibleDescription(Label1.Caption());
  Text2.SetAccessibleName(QStringLiteral("Frequency in MHz"));
  Text2.SetAccessibleDescription(Label4.Caption());
  Command1.SetAccessibleDescription(QStringLiteral("Sends the command"));
  Command2.SetAccessibleDescription(QStringLiteral("Sends the frequency"));
  WIRE(Command1, Click);
  WIRE(Command2, Click);
}

void frmFrequencyTest::Form_Load() {
  platform::SkipOnError(lcRig, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::Screen, FontFactor::ScreenWidthAtMost1_5});
  });
  Text2.SetText(QStringLiteral("28.475"));
}

// Nothing is added and nothing read back: the rig's answer is left to the poll loop. A failure
// (the port closed) ends it silently.
void frmFrequencyTest::Command1_Click() {
  platform::SkipOnError(lcRig, [this] {
    const QString command = platform::TrimBlanks(Text1.Text());
    const QString sent = Check1.Value() == 1 ? QString::fromLatin1(HexTextToBytes(command)) : command;
    if (!sent.isEmpty()) platform::Instance<RigControlfrm>().comComm1.SetOutput(sent);
  });
}

void frmFrequencyTest::Command2_Click() {
  const std::optional<double> megahertz = ReceivedNumber(Text2.Text());
  if (megahertz) TuneRigTo(*megahertz);
}

}  // namespace rig
