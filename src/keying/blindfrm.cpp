#include "keying/blindfrm.h"

#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/trace.h"

#include <array>

namespace keying {

namespace {

constexpr qint64 kCueEndAllowanceMilliseconds = 1000;

}  // namespace

BlindFrm::BlindFrm() : Form(QStringLiteral("BlindFrm")) {
  SetCaption(QStringLiteral("Voice Navigation Settings"));
  Move(0, 0, 6000, 4680);
  platform::DesignCaption(Label8, "To Enable Voice Navigation:", 240, 120, 5400, 255);
  Label8.SetFontBold(true);
  platform::DesignCaption(Label5,
                          "Choose one of the options below.  Select Off to turn the navigation function off, Call to "
                          "indicate the Call field only and All Data Fields to provide verbal prompts through all "
                          "the data fields.",
                          240, 420, 5400, 660);
  platform::DesignCaption(Frame1, "Choose your preferred option:", 240, 1140, 5400, 1260);
  platform::DesignCaption(Option1, "Off", 240, 300, 2400, 255);
  platform::DesignCaption(Option2, "Call Only", 240, 600, 2400, 255);
  platform::DesignCaption(Option3, "All Data Fields", 240, 900, 2400, 255);
  Label7.Move(240, 2520, 5400, 480);
  platform::DesignCaption(lblBackground,
                          "Background: the cues are short recordings of your own voice, named NavDis, NavEn, Call, "
                          "RstRcvd, RstSnt, Grid and Dupe (.wav).  Suggestions for more cues are welcome.",
                          240, 3060, 5400, 660);
  platform::DesignCaption(Command1, "Done", 2400, 3840, 1200, 375);

  WIRE(Option1, Click);
  WIRE(Option2, Click);
  WIRE(Option3, Click);
  WIRE(Command1, Click);
}

// Selecting the stored mode announces it, as choosing it does.
void BlindFrm::Form_Load() {
  platform::SkipOnError(lcKeying, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::Screen, FontFactor::ScreenWidthAtMost1_5});
  });
  Label7.SetCaption(QStringLiteral("Put the audio wave files in this program's working directory: ") +
                    app::ProgramDir);
  const std::array<platform::OptionButton*, 3> modes = {&Option1, &Option2, &Option3};
  if (logging::VoiceNavigation < modes.size()) modes[logging::VoiceNavigation]->SetValue(true);
}

void BlindFrm::Form_Unload(int&) { MMControl1.Command(QStringLiteral("Close")); }

void BlindFrm::Option1_Click() { BlindKeyPhone(QStringLiteral("NavDis")); }

// The call box's cue follows the whole announcement; the window answers nothing meanwhile.
void BlindFrm::Option2_Click() {
  BlindKeyPhone(QStringLiteral("NavEn"));
  WaitForCue(platform::UserInput::Deferred);
  BlindKeyPhone(QStringLiteral("Call"));
}

void BlindFrm::Option3_Click() { BlindKeyPhone(QStringLiteral("NavEn")); }

// A choice counts only with Done. Saving changes to the program folder and reports its own failure.
void BlindFrm::Command1_Click() {
  logging::VoiceNavigation = Option2.Value() ? 1 : Option3.Value() ? 2 : 0;
  Hide();
  platform::Instance<app::Form1>().SavePref();
}

void BlindFrm::BlindKeyPhone(const QString& cue) {
  try {
    MMControl1.DeviceType = QStringLiteral("WaveAudio");
    MMControl1.Command(QStringLiteral("Close"));
    MMControl1.FileName = app::ProgramDir + QLatin1Char('\\') + cue + QStringLiteral(".wav");
    if (!MMControl1.FileName.trimmed().isEmpty()) {
      MMControl1.Command(QStringLiteral("Open"));
      MMControl1.Command(QStringLiteral("play"));
    }
  } catch (const std::exception& error) {
    // A cue the operator has not recorded is silence.
    platform::TraceError(lcKeying, error);
  }
}

void BlindFrm::WaitForCue(platform::UserInput input) {
  const QDateTime deadline = platform::Now().addMSecs(MMControl1.Length() + kCueEndAllowanceMilliseconds);
  platform::WaitWhile([this] { return MMControl1.Mode() == platform::MciModePlay; }, deadline, input);
}

}  // namespace keying
