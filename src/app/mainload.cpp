#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "app/program.h"
#include "app/stationsetup.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "logging/contactlist.h"
#include "logging/globals.h"
#include "network/frmnetwork.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/numbertext.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotlist.h"
#include "spotting/spotmapwindow.h"

#include <array>
#include <cmath>
#include <limits>

namespace app {

namespace {

using platform::RuntimeError;
using platform::TextBox;

const QString CWMessagesFile = QStringLiteral("cw.txt");
const QString VoiceMessagesFile = QStringLiteral("wave2.txt");

QString ProgramFile(const QString& name) { return ProgramDir + QStringLiteral("\\") + name; }

bool SameText(const QString& text, const char* other) {
  return text.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

// A timer's interval from a value a settings file gives, in whole milliseconds; a negative one is
// refused by the timer itself.
int TimerInterval(double milliseconds) {
  const double whole = std::nearbyint(milliseconds);
  if (std::fabs(whole) > std::numeric_limits<int>::max()) throw RuntimeError(QStringLiteral("Overflow"), 6);
  return static_cast<int>(whole);
}

int RepeatInterval(float seconds) { return TimerInterval(static_cast<double>(seconds) * 1000); }

// Fills the voice window from wave2.txt. A missing or short file is passed over quietly, as cw.txt
// is: the window keeps what was read, and the rest of the start-up goes on.
void LoadVoiceMessages() {
  try {
    platform::TypedValueReader file(ProgramFile(VoiceMessagesFile), VoiceMessagesFile);
    keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
    for (TextBox* wave : {&phone.Text1, &phone.Text2, &phone.Text3, &phone.Text4, &phone.Text5, &phone.Text6,
                          &phone.Text7, &phone.Text8, &phone.Text9, &phone.Text10}) {
      wave->SetText(file.Text());
    }
    const std::array<platform::OptionButton*, 3> pttLines = {&phone.Option1, &phone.Option2, &phone.Option3};
    const auto pttLine = file.Number<std::int32_t>();
    if (pttLine >= 0 && pttLine < static_cast<std::int32_t>(pttLines.size())) pttLines[pttLine]->SetValue(true);
    const float repeatSeconds = file.Single();
    phone.txtPHLoop.SetText(platform::NumberText(repeatSeconds));
    phone.tmrRepeat.SetInterval(RepeatInterval(repeatSeconds));
    phone.Text11.SetText(file.Text());
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
  }
}

// Hours to add to the local time to give UTC, from the two wall clocks of one moment: the minute
// boundaries between them over 60, to two decimals, as the offset is kept.
float RecommendedUtcOffset(const QDateTime& local, const QDateTime& utc) {
  const auto wallClockMinutes = [](const QDateTime& clock) {
    return std::floor(static_cast<double>(QDateTime(clock.date(), clock.time(), Qt::UTC).toSecsSinceEpoch()) / 60);
  };
  const double hours = (wallClockMinutes(utc) - wallClockMinutes(local)) / 60;
  return static_cast<float>(std::nearbyint(hours * 100) / 100);
}

QString UtcOffsetPrompt(const QDateTime& local, const QDateTime& utc, float recommended) {
  const QString twoLines = QStringLiteral("\r\n\r\n");
  return QStringLiteral("Would you like to adjust the UTC offset in this program for your local time setting?") +
         twoLines + QStringLiteral("Current System Time: ") + utc.toString(QStringLiteral("HH:mm")) + twoLines +
         QStringLiteral("Current Local Time: ") + local.toString(QStringLiteral("HH:mm")) + twoLines +
         QStringLiteral("Recommended Offset Setting: ") + platform::NumberText(recommended) + twoLines +
         QStringLiteral("Current Offset Setting: ") + platform::NumberText(UtcOffset) + twoLines +
         QStringLiteral("Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

// The load's steps up to the station set-up: the window on the whole screen, its lists' columns,
// the preferences and the views they choose.
void PrepareWindow(Form1& form) {
  logging::RstRecord = 1;
  form.Label3.SetVisible(false);
  FormSize = 100;
  logging::LogOnStart = platform::Now();
  ModFormResize::FillScreen(form);
  form.ResizeBandLists();
  form.lblDialog.SetCaption(QStringLiteral("Select a band and mode from the menu bar!"));
  logging::CreateContactListColumns(form);
  spotting::CreateSpotListColumns(form);
  form.Label23.SetCaption(QString());
  form.Label24.SetCaption(QString());
  for (int square = 0; square <= 164; ++square) form.lblGrid(square).SetBackStyle(0);
  logging::DupCheckOn = 1;

  const QString panelView = form.ReadPreferences();
  form.CheckUTCOffset();
  form.Timer3.SetInterval(TimerInterval(logging::RefreshRate));
  if (SameText(panelView, "View Bands")) {
    form.Command2.SetCaption(QStringLiteral("View Bands"));
    form.HideBandLists();
  } else {
    form.Command2.SetCaption(QStringLiteral("View Grids"));
    form.ShowBandLists();
  }
  if (FormSize < 100) form.ResizeControls();
  form.Label30.SetCaption(logging::CurrentMode);
  (SameText(logging::CurrentMode, "PH") ? form.mnuPhone : form.mnuCW).SetChecked(true);
  form.ShowCurrentBand();
  (logging::RstRecord == 1 ? form.mnuRstRecord : form.mnuRstDontRecord).SetChecked(true);
}

}  // namespace

// The whole start-up of the program's working state, in one fixed order. A failure in a step
// without a trap of its own ends the load there with one message; the window stays as far as it
// was set up.
void Form1::Form_Load() {
  try {
    PrepareWindow(*this);
    SetUpStationAtStart(*this);
    AskOpenExistingLog();
    SelectProgramFolder();
    LoadVoiceMessages();
    SelectProgramFolder();
    LoadCWMessages();
    ResizeForTaskBar();
    if (!SameText(rig::RigType, "None")) platform::Instance<rig::RigControlfrm>().Command1_Click();
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    platform::Beep();
    platform::MsgBox(QStringLiteral("Error loading default data ."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Error opening default data."));
  }
}

// Offers the PC clock's offset when the kept one differs. Any failure keeps the offset as it was.
void Form1::CheckUTCOffset() {
  const float kept = UtcOffset;
  try {
    // One reading of the clock: two could fall on either side of a minute's turn.
    const QDateTime local = platform::Now();
    const QDateTime utc = local.toUTC();
    const float recommended = RecommendedUtcOffset(local, utc);
    if (UtcOffset == recommended) return;
    const QString answer = platform::InputBox(UtcOffsetPrompt(local, utc, recommended),
                                              QStringLiteral("Update the Local Time / UTC Offset?"),
                                              platform::NumberText(recommended));
    const std::optional<double> offset = platform::DecimalOfText(answer);
    if (!offset) return;
    UtcOffset = static_cast<float>(*offset);
    SavePref();
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    UtcOffset = kept;
  }
}

// Fills the CW window from cw.txt and selects its keying option. A file that is missing, short or
// damaged is passed over quietly: the window keeps what was read and no option is selected.
void Form1::LoadCWMessages() {
  try {
    platform::TypedValueReader file(ProgramFile(CWMessagesFile), CWMessagesFile);
    keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
    for (TextBox* message : {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5, &cw.Text6, &cw.Text7, &cw.Text8}) {
      message->SetText(file.Text());
    }
    const QString ninth = file.Text();
    cw.Text9.SetText(ninth.isEmpty() ? QStringLiteral("VVV DE ") : ninth);
    for (TextBox* box : {&cw.Text10, &cw.Text11, &cw.Text12, &cw.Text13, &cw.txtSpace}) box->SetText(file.Text());
    keying::KeyingMode = file.Number<std::uint8_t>();
    cw.Text14.SetText(file.Text());
    cw.Check1.SetValue(file.Number<std::int32_t>());
    const float repeatSeconds = file.Single();
    cw.txtCWLoop.SetText(platform::NumberText(repeatSeconds));
    cw.tmrRepeat.SetInterval(RepeatInterval(repeatSeconds));

    for (platform::OptionButton* option : {&cw.Option1, &cw.Option2, &cw.Option3}) option->SetValue(false);
    switch (keying::KeyingMode) {
      case 0: cw.Option4.SetValue(true); break;
      case 1: cw.Option1.SetValue(true); break;
      case 2: cw.Option2.SetValue(true); break;
      case 3: cw.Option3.SetValue(true); break;
      case 5: cw.Option5.SetValue(true); break;
      default: break;
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
  }
}

void Form1::Form_Activate() { RefreshBandMap(); }

void Form1::Form_MouseMove(int, int, float, float) { lblDupe.SetCaption(QString()); }

// A close while CW is keyed stops the keying and keeps the window; the next close goes through.
void Form1::Form_QueryUnload(int& Cancel, int) {
  keying::CWBuffer.clear();
  if (keying::CWSending == 1) Cancel = 1;
}

// Each window lets go of its own ports and devices in its own unload.
void Form1::Form_Unload(int&) {
  platform::UnloadIfLoaded<keying::PhoneFrm>();
  platform::UnloadIfLoaded<keying::CWFrm>();
  platform::UnloadIfLoaded<keying::BlindFrm>();
  platform::UnloadIfLoaded<rig::RigControlfrm>();
  platform::UnloadIfLoaded<spotting::PacketSpotfrm>();
  platform::UnloadIfLoaded<spotting::SpectrumMap>();
  platform::UnloadIfLoaded<keying::frmCWStrings>();
  platform::UnloadIfLoaded<network::frmNetwork>();
  platform::UnloadIfLoaded<keying::frmTappler>();
}

void Form1::Form_Terminate() { EndRun(); }

// Exit lets go of the transmitter and the devices and ends the program at once, without the
// windows' unload handlers. A running time-on clock is logged off as its button does, so the total
// stored is the one up to this moment.
void Form1::mnuExit_Click() {
  if (logging::LoggedOn == 1) cmdLogOn_Click();
  ExitProgram();
}

}  // namespace app
