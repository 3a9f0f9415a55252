#include "spotting/packetspotfrm.h"

#include "app/form1.h"
#include "app/modformresize.h"
#include "logging/logstore.h"
#include "platform/design.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/optiongroups.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"

#include <initializer_list>
#include <utility>

namespace spotting {

namespace {

const QString SettingsFile = QStringLiteral("PackSpot.txt");

constexpr int EscapeKey = 27;
constexpr int CtrlOnly = 2;

bool SameSource(const QString& text, const QString& source) { return text.compare(source, Qt::CaseInsensitive) == 0; }

// The help paragraphs, each shown followed by an empty line.
const QString G1 = QStringLiteral(
    "Use this form to configure your DX spotting options.  After you make your selections, a list or band map "
    "will display on the main form (as selected here) to keep you updated on the latest packet spots.");
const QString G2 = QStringLiteral(
    "The list will show the last 2-3 posts on the main form depending on your screen size.  The band map will "
    "display the prefixes posted for your current band.  To see the whole call and frequency, move your mouse "
    "over the prefix and observe either the tool tip or the Possible Duplicates box.");
const QString G3 = QStringLiteral(
    "The program keeps the last 50 DX posts regardless of band in memory. Your band map will cycle through these "
    "posts as they are received.  Posts received within the last 10 minutes will be yellow; posts 10-30 minutes "
    "old will be white and posts 30-60 minutes old will be gray.");
const QString G4 = QStringLiteral(
    "If you are using the program's rig control features, you can right click any spot displayed on the main "
    "form's band map or HF spectrum map to tune your rig to the spot frequency. Right clicking will not change "
    "frequency when displaying the DX spots in list mode.");
const QString T1 = QStringLiteral(
    "If you have an Internet connection (either telephone line or high speed), the Telnet option is very easy to "
    "implement.  Just connect to the Internet by your regular ISP and click Open on this form.  Type your call "
    "sign when prompted and press enter.");
const QString P1 = QStringLiteral(
    "To use a Packet TNC, you will have to check your modem documentation for the proper serial port settings.  "
    "Use either Crtl C or the Esc key to send the Hex character to put your TNC in command mode (you do not have "
    "to press enter to send the Hex character).  Otherwise, just type and press enter to send text.");
const QString P2 = QStringLiteral(
    "One nice feature with the packet option is that you don't actually have to connect to another packet "
    "station.  Just click the DX Only check box so that only packets identified as DX will be displayed.  As long "
    "as DX posts are being transmitted the software will check recent posts to eliminate duplicate posts.  Even "
    "if you are connected, it is a good idea to check this box to eliminate miscellaneous comments, etc.");
const QString A1 = QStringLiteral(
    "This program will also interface with the AGW Packet Engine.  The AGW Packet engine will interface with "
    "your existing sound card (or TNC including Baypac) to send and receive Packet.  To use the AGW Packet "
    "Engine:");
const QString A3 = QStringLiteral(
    "The file to download is AGWPE.zip.  Instructions for use are on this website as well.");
const QString A6 = QStringLiteral("To send a connect request using the AGW packet engine, type in the format of");
const QString A7 = QStringLiteral(":C Varnek     or to disconnect :D");
const QString A8 = QStringLiteral("and press enter (you can also use the Esc key to add a colon).");
const QString E1 = QStringLiteral(
    "When you have configured your DX spotting options, click Open to initiate the communication.  Then click "
    "Done to return to the main form.");
const QString E2 = QStringLiteral(
    "If the list is being displayed on the main form, you can click on it to quickly return to this form.  To "
    "return the main form to the original display, select None from the spotting options.");
const QString K1 = QStringLiteral(
    "This code was developed and tested with a Kantronics KPC3+ TNC.  I look forward to hearing about your "
    "experiences with different hardware.");

// The paragraphs each source's help shows, in order.
QStringList HelpParagraphs(const QString& source) {
  if (SameSource(source, NoneSource)) {
    return {G1, G2, G3, G4, T1, P1, P2, A1, AGWDownloadStep, A3, AGWRunStep, AGWOpenStep, A6, A7, A8, E1, E2, K1};
  }
  if (SameSource(source, TNCSource)) return {P1, P2, E1, E2, K1};
  if (SameSource(source, TelnetSource)) return {T1, E1, E2};
  if (SameSource(source, AGWSource)) return {A1, AGWDownloadStep, A3, AGWRunStep, AGWOpenStep, A6, A7, A8, E1, E2, K1};
  return {};
}

void SetAllEnabled(std::initializer_list<platform::Control*> controls, bool enabled) {
  for (platform::Control* control : controls) control->SetEnabled(enabled);
}

}  // namespace

PacketSpotfrm::PacketSpotfrm() : Form(QStringLiteral("PacketSpotfrm")) {
  SetCaption(QStringLiteral(" DX Spotting Setup"));
  Move(0, 0, 9480, 7080);
  SetKeyPreview(true);  // Esc and Ctrl+C reach the window before the send box
  LayOutControls();

  // The design's choices, before any settings are loaded.
  OptBand.SetValue(true);
  optComm(0).SetValue(true);
  baud.optBaud192.SetValue(true);
  optParityNone.SetValue(true);
  bits.optData8.SetValue(true);
  bits.optStop1.SetValue(true);
  optPowerNone.SetValue(true);
  Option1.SetValue(true);
  txtHex.SetMaxLength(2);
  txtTelnetPort.SetMaxLength(5);
  txtUnProcessed.SetLocked(true);
  txtUnProcessed.SetFontName(QStringLiteral("Monospace"));
  Label4.SetVisible(false);
  Timer1.SetInterval(333);
  Timer1.SetEnabled(false);
  ReopenTimer.SetInterval(ReopenIntervalMs);
  ReopenTimer.SetEnabled(false);

  WIRE(List1, Click);
  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(cmdDone, Click);
  WIRE(txtSent, KeyPress);
  WIRE(txtSent, Change);
  WIRE_TIMER(Timer1);
  WIRE_TIMER(ReopenTimer);
  WIRE_SOCKET(Winsock1, Connect);
  WIRE_SOCKET(Winsock1, DataArrival);
  WIRE_SOCKET(Winsock1, Close);
  WIRE_SOCKET(Winsock1, Error);
  WIRE_SOCKET(AGWProbe, Connect);
  WIRE_SOCKET(AGWProbe, Error);
  WirePortOptions();
}

void PacketSpotfrm::LayOutControls() {
  const auto frame = platform::DesignCaption<platform::Frame>;
  const auto options = platform::DesignOptions;

  platform::DesignCaption(Label1, "Select Option:", 120, 120, 2280, 255);
  List1.Move(120, 390, 2280, 1020);
  frame(Frame2, "Main Form Display", 120, 1500, 2280, 600);
  options({{&OptBand, "Band Map"}, {&OptList, "List"}}, 2, 1140);
  platform::DesignCaption(Label4, "Listening", 120, 2220, 2280, 255);
  Label4.SetFontBold(true);
  platform::DesignCaption(Command1, "Open Port", 120, 2580, 1080, 375);
  platform::DesignCaption(Command2, "Close Port", 1320, 2580, 1080, 375);
  platform::DesignCaption(Command3, "&Spot Last", 120, 3060, 1080, 375);
  platform::DesignCaption(cmdDone, "&Done", 1320, 3060, 1080, 375);

  frame(baud.fraBaud, "Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)", 2520, 120, 6720, 600);
  options({{&baud.optBaud12, "1.2k"},
           {&baud.optBaud24, "2.4k"},
           {&baud.optBaud48, "4.8k"},
           {&baud.optBaud96, "9.6k"},
           {&baud.optBaud144, "14.4k"},
           {&baud.optBaud192, "19.2k"}},
          6, 1080);
  frame(fraPort, "Comm Port", 2520, 780, 4200, 900);
  platform::DesignPortOptions(optComm, 780);
  frame(fraPower, "Connection Power", 6840, 780, 2400, 900);
  options({{&optPowerNone, "None"}, {&optPowerRTS, "RTS"}, {&optPowerDTR, "DTR"}}, 3, 760);
  frame(fraParity, "Parity", 2520, 1800, 2040, 1260);
  options({{&optParityOdd, "Odd"}, {&optParityNone, "None"}, {&optParityEven, "Even"}}, 1, 1800);
  frame(bits.fraData, "Data Bits", 4680, 1800, 1320, 600);
  options({{&bits.optData7, "7"}, {&bits.optData8, "8"}}, 2, 600);
  frame(bits.fraStop, "Stop Bits", 6120, 1800, 1320, 600);
  options({{&bits.optStop1, "1"}, {&bits.optStop2, "2"}}, 2, 600);
  frame(Frame1, "Handshaking", 7560, 1800, 1680, 1440);
  options({{&Option1, "None"}, {&Option2, "Xon Xoff"}, {&Option3, "RTS"}, {&Option4, "RTS OnOff"}}, 1, 1500);

  platform::DesignCaption(Label2, "TNC cmd mode hex character:", 2520, 3180, 3300, 255);
  txtHex.Move(5880, 3150, 480, 315);
  chkConvToHex.SetCaption(QStringLiteral("Convert to Hex"));
  chkConvToHex.Move(6840, 3540, 2040, 255);
  chkDX.SetCaption(QStringLiteral("List DX Only (also controls main form)"));
  chkDX.Move(2520, 3540, 4200, 255);
  platform::DesignCaption(Label7, "Telnet Host:", 2520, 3930, 1080, 255);
  txtTelnetHost.Move(3600, 3900, 2880, 315);
  platform::DesignCaption(Label3, "Telnet Port:", 6600, 3930, 1080, 255);
  txtTelnetPort.Move(7680, 3900, 1560, 315);

  txtUnProcessed.Move(120, 4320, 9120, 1560);
  platform::DesignCaption(Label6, "Send text  (Ctrl  C or Esc for TNC Command mode):", 120, 5970, 9120, 255);
  txtSent.Move(120, 6240, 9120, 315);

  List1.NameAfter(Label1);
  txtHex.NameAfter(Label2);
  txtTelnetHost.NameAfter(Label7);
  txtTelnetPort.NameAfter(Label3);
  txtUnProcessed.SetAccessibleName(QStringLiteral("Received text"));
  txtSent.NameAfter(Label6);  // its caption follows the source chosen
}


PacketSpotfrm::OptionGroup PacketSpotfrm::ParityOptions() {
  return {{&optParityOdd, "O"}, {&optParityNone, "N"}, {&optParityEven, "E"}};
}

PacketSpotfrm::OptionGroup PacketSpotfrm::PowerOptions() {
  return {{&optPowerNone, "N"}, {&optPowerRTS, "R"}, {&optPowerDTR, "D"}};
}

// Option k + 1 stands for handshaking k + 1.
std::vector<platform::OptionButton*> PacketSpotfrm::HandshakeOptions() {
  return {&Option1, &Option2, &Option3, &Option4};
}

// The port options but the port number (a control array of its own).
std::vector<platform::OptionButton*> PacketSpotfrm::LineOptions() {
  std::vector<platform::OptionButton*> all = platform::OptionsOf(
      {baud.RateOptions(), ParityOptions(), bits.DataBitsOptions(), bits.StopBitsOptions(), PowerOptions()});
  for (platform::OptionButton* option : HandshakeOptions()) all.push_back(option);
  return all;
}

// Every port option closes the source; the new value is read when the TNC port next opens.
void PacketSpotfrm::WirePortOptions() {
  for (platform::OptionButton* option : LineOptions()) {
    Wire(option->Click, option->Name() + QStringLiteral("_Click"), [this] { PortOption_Click(); });
  }
  Wire(optComm.Click, QStringLiteral("optComm_Click"), [this](int) { PortOption_Click(); });
}

void PacketSpotfrm::PortOption_Click() {
  if (SpotLoading == 0) Command2_Click();
}

bool PacketSpotfrm::SourceIs(const QString& source) const { return SameSource(SpotSource, source); }

// No source chosen yet (a first run, no settings file) is no source at all.
bool PacketSpotfrm::NoSource() const { return SpotSource.isEmpty() || SourceIs(NoneSource); }

void PacketSpotfrm::Form_Load() {
  try {
    // Its top stays at the screen's top.
    app::ModFormResize::ScaleToScreenWidthFonts(*this, app::ModFormResize::ScreenPlacement::AtTop);
    for (const QString& source : {NoneSource, TNCSource, TelnetSource, AGWSource}) List1.AddItem(source);
    DisableAllControls();
    SpotLoading = 1;
    LoadPacketSettings();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
  SpotLoading = 0;
  SpotBuffer = SpotLineBuffer();
}

// A missing or damaged file leaves what was done before the failing step.
void PacketSpotfrm::LoadPacketSettings() {
  try {
    platform::TypedValueReader file(SettingsFile, SettingsFile);
    SpotBaud = file.Text();
    SpotParity = file.Text();
    SpotDataBits = file.Text();
    SpotStopBits = file.Text();
    SpotPort = file.Number<std::uint8_t>();
    SpotPowerLine = file.Text();
    SpotSource = file.Text();
    const auto convToHex = file.Number<std::int16_t>();
    SpotHandshake = file.Number<std::uint8_t>();
    file.Number<std::int16_t>();  // "List DX Only" is read past: each load starts with every line shown
    const bool listChosen = file.Boolean();
    const QString commandCharacter = file.Text();
    const QString telnetPort = file.Text();
    const QString telnetHost = file.Text();

    chkConvToHex.SetValue(convToHex);
    OptList.SetValue(listChosen);
    txtHex.SetText(commandCharacter);
    txtTelnetPort.SetText(telnetPort);
    txtTelnetHost.SetText(telnetHost);
    for (int index = 0; index < List1.ListCount(); ++index) {
      if (SameSource(List1.List(index), SpotSource)) List1.SetListIndex(index);
    }
    if (SpotPort < 1 || SpotPort > optComm.Count()) {
      throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9);
    }
    optComm(SpotPort - 1).SetValue(true);
    SelectLoadedOptions();
    SpotLoading = 0;
    EnableSourceControls();
    if (!NoSource()) Command1_Click();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Each option is selected exactly when the loaded value is its own, in any letter case; a
// handshaking outside the four selects none.
void PacketSpotfrm::SelectLoadedOptions() {
  const std::pair<OptionGroup, QString> loaded[] = {{baud.RateOptions(), SpotBaud.trimmed()},
                                                    {ParityOptions(), SpotParity},
                                                    {bits.DataBitsOptions(), SpotDataBits},
                                                    {bits.StopBitsOptions(), SpotStopBits},
                                                    {PowerOptions(), SpotPowerLine}};
  for (const auto& [group, value] : loaded) platform::SelectOnlyCode(group, value, Qt::CaseInsensitive);
  const std::vector<platform::OptionButton*> handshakes = HandshakeOptions();
  if (SpotHandshake >= 1 && SpotHandshake <= handshakes.size()) handshakes[SpotHandshake - 1]->SetValue(true);
}

void PacketSpotfrm::EnableSourceControls() {
  if (SourceIs(TNCSource)) EnableTNCControls();
  if (SourceIs(TelnetSource)) EnableTelnetControls();
  if (SourceIs(AGWSource)) EnableAGWControls();
}

// Written aside and put in place whole: a failure leaves the old file as it was.
void PacketSpotfrm::SavePacketSettings() {
  try {
    platform::QuotedTextWriter file(SettingsFile);
    for (const platform::QuotedValue& value :
         {platform::QuotedValue(SpotBaud), platform::QuotedValue(SpotParity), platform::QuotedValue(SpotDataBits),
          platform::QuotedValue(SpotStopBits), platform::QuotedValue(SpotPort), platform::QuotedValue(SpotPowerLine),
          platform::QuotedValue(SpotSource), platform::QuotedValue(chkConvToHex.Value()),
          platform::QuotedValue(SpotHandshake), platform::QuotedValue(chkDX.Value()),
          platform::QuotedValue(OptList.Value()), platform::QuotedValue(txtHex.Text()),
          platform::QuotedValue(txtTelnetPort.Text()), platform::QuotedValue(txtTelnetHost.Text())}) {
      file.WriteRecord({value});
    }
    file.Close();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Takes the TNC port values from the options, a group without a selected option keeping its
// value, and opens the TNC port.
void PacketSpotfrm::SetCommSettings() {
  try {
    if (NoSource()) return;
    Label4.SetVisible(true);
    using platform::SelectedCode;
    SpotPort = platform::SelectedPortNumber(optComm, SpotPort);
    SpotBaud = SelectedCode(baud.RateOptions(), SpotBaud);
    SpotParity = SelectedCode(ParityOptions(), SpotParity);
    SpotDataBits = SelectedCode(bits.DataBitsOptions(), SpotDataBits);
    SpotStopBits = SelectedCode(bits.StopBitsOptions(), SpotStopBits);
    SpotCommSettings = platform::LineSettingsText(SpotBaud, SpotParity, SpotDataBits, SpotStopBits);
    SpotPowerLine = SelectedCode(PowerOptions(), SpotPowerLine);
    const std::vector<platform::OptionButton*> handshakes = HandshakeOptions();
    for (std::size_t k = 0; k < handshakes.size(); ++k) {
      if (handshakes[k]->Value()) SpotHandshake = static_cast<std::uint8_t>(k + 1);
    }
    if (SourceIs(TNCSource)) OpenTNCPort();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::List1_Click() {
  try {
    chkDX.SetValue(0);
    if (SpotLoading == 0) {
      Command2_Click();
      DisableAllControls();
      SpotSource = List1.Text();
      if (SourceIs(TNCSource)) {
        for (platform::OptionButton* option :
             {&baud.optBaud96, &optParityNone, &bits.optData8, &bits.optStop1, &Option3}) {
          option->SetValue(true);
        }
        txtHex.SetText(QStringLiteral("03"));
        EnableTNCControls();
      }
    }
    ShowSpottingHelp();
    if (SourceIs(TelnetSource)) EnableTelnetControls();
    if (SourceIs(AGWSource)) EnableAGWControls();
    // "None" leaves the caption as it is.
    if (SourceIs(TNCSource)) {
      Label6.SetCaption(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    } else if (SourceIs(AGWSource)) {
      Label6.SetCaption(QStringLiteral("Send text (use : to send cmds such as :C Varnek or :D)"));
    } else if (SourceIs(TelnetSource)) {
      Label6.SetCaption(QStringLiteral("Type text to send and press enter:"));
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::DisableAllControls() {
  SetAllEnabled({&Command1, &Command2, &txtSent, &Label6, &Frame2, &OptBand, &OptList, &chkDX, &fraPort, &baud.fraBaud,
              &fraParity, &bits.fraData, &bits.fraStop, &fraPower, &Frame1, &txtHex, &Label2, &txtTelnetHost,
              &txtTelnetPort, &Label7, &Label3, &chkConvToHex},
             false);
  EnablePortOptions(false);
}

void PacketSpotfrm::EnableTNCControls() {
  EnableAGWControls();
  SetAllEnabled({&fraPort, &baud.fraBaud, &fraParity, &bits.fraData, &bits.fraStop, &fraPower, &Frame1, &txtHex,
                 &Label2, &Label1, &Label4},
                true);
  EnablePortOptions(true);
}

void PacketSpotfrm::EnablePortOptions(bool enabled) {
  for (int index : optComm.Indexes()) optComm(index).SetEnabled(enabled);
  for (platform::OptionButton* option : LineOptions()) option->SetEnabled(enabled);
}

void PacketSpotfrm::EnableTelnetControls() {
  EnableAGWControls();
  SetAllEnabled({&txtTelnetHost, &txtTelnetPort, &Label7, &Label3}, true);
}

// What every source uses: open, close, the send box and the main window's display.
void PacketSpotfrm::EnableAGWControls() {
  SetAllEnabled({&Command1, &Command2, &txtSent, &Label6, &Frame2, &OptBand, &OptList, &chkDX}, true);
}

void PacketSpotfrm::ShowSpottingHelp() {
  QString help;
  for (const QString& paragraph : HelpParagraphs(List1.Text())) help += paragraph + CrLf + CrLf;
  ReceivedText.SetText(help);
  ReceivedText.SetSelStart(1);
}

// An opening while the source is being opened again is the next attempt, reported as any
// opening; when it fails the source is opened again as before.
void PacketSpotfrm::Command1_Click() {
  try {
    StopReopening();
    ReceivedText.SetText(QStringLiteral("** Attempting to Open Port **") + CrLf + CrLf);
    if (comComm1.PortOpen()) comComm1.SetPortOpen(false);
    if (!NoSource()) {
      // The AGW engine listens only once it is reached: it shows "Listening" itself.
      Label4.SetVisible(!SourceIs(AGWSource));
      FocusSendBox();
    }
    if (SourceIs(TNCSource)) SetCommSettings();
    if (SourceIs(AGWSource)) OpenAGWEngine();
    if (SourceIs(TelnetSource)) OpenTelnet();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The operator closes the source: it is no longer opened again.
void PacketSpotfrm::Command2_Click() {
  SourceMeantOpen = false;
  StopReopening();
  CloseSource();
}

void PacketSpotfrm::CloseSource() {
  try {
    if (!Label4.Visible()) return;
    Label4.SetVisible(false);
    ReceivedText.Append(CrLf + CrLf + QStringLiteral("** Port Closed **"));
    TrimReceivedText();
    if (comComm1.PortOpen()) comComm1.SetPortOpen(false);
    Winsock1.Close();
    if (SourceIs(AGWSource)) {
      if (!ConnectedCall.isEmpty()) {
        DisconnectAGWStation();
        SetCaption(QStringLiteral("DX Spotting Setup"));
        ConnectedCall.clear();
      }
      CloseAGWEngine();
    }
    Timer1.SetEnabled(false);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Open and receiving: "Listening", the receive tick, and no more attempts.
void PacketSpotfrm::SourceReached() {
  Label4.SetVisible(true);
  Timer1.SetEnabled(true);
  SourceMeantOpen = true;
  StopReopening();
}

// The source dropped or an opening failed: closed, and opened again later unless the operator
// closed it or it was never reached. The main window says so meanwhile, as this window is
// mostly hidden.
void PacketSpotfrm::SourceLost() {
  CloseSource();
  if (!SourceMeantOpen) return;
  ReopenTimer.SetEnabled(true);
  ShowSourceDownOnMainWindow(true);
}

void PacketSpotfrm::StopReopening() {
  ReopenTimer.SetEnabled(false);
  AGWProbe.Close();
  ShowSourceDownOnMainWindow(false);
}

bool PacketSpotfrm::Reopening() const { return ReopenTimer.Enabled(); }

// The spotting window goes with the main window: a main window not loaded has nothing to show.
void PacketSpotfrm::ShowSourceDownOnMainWindow(bool down) {
  if (platform::IsLoaded<app::Form1>()) platform::Instance<app::Form1>().ShowSpotSourceDown(down);
}

// One attempt, without waiting; it reports nothing when it fails, and the timer tries again.
void PacketSpotfrm::ReopenTimer_Timer() {
  try {
    if (SourceIs(TNCSource)) OpenTNCPort();
    if (SourceIs(TelnetSource)) ReconnectTelnet();
    if (SourceIs(AGWSource)) ProbeAGWEngine();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The spot template: the placeholder selected, so that the frequency typed replaces it.
void PacketSpotfrm::Command3_Click() {
  try {
    txtSent.SetText(QStringLiteral("DX Frequency in kHz ") + std::as_const(logging::LogCalls)[logging::LogCount]);
    txtSent.SetFocus();
    txtSent.SetSelStart(3);
    txtSent.SetSelLength(16);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// Saves the choices, lays out the main window's DX area and hides; an open source stays open.
void PacketSpotfrm::cmdDone_Click() {
  try {
    if (!NoSource() && !Label4.Visible()) Command1_Click();
    platform::Instance<app::Form1>().SavePref();
    SavePacketSettings();
    platform::Instance<app::Form1>().PacketResize();
    Hide();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void PacketSpotfrm::Form_Activate() {
  try {
    if (NoSource()) return;
    TrimReceivedText();
    FocusSendBox();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The send box takes the focus only where it can: a source whose controls are not enabled (its
// load stopped early) leaves it disabled.
void PacketSpotfrm::FocusSendBox() {
  if (Visible() && txtSent.Enabled()) txtSent.SetFocus();
}

// Esc or Ctrl+C: every line shown, the source opened, and the TNC put in command mode.
void PacketSpotfrm::Form_KeyDown(int& KeyCode, int Shift) {
  if (KeyCode != EscapeKey && !(KeyCode == 'C' && Shift == CtrlOnly)) return;
  try {
    chkDX.SetValue(0);
    if (!Label4.Visible()) Command1_Click();
    if (comComm1.PortOpen() && SourceIs(TNCSource)) {
      SendCommandCharacter();
      KeyCode = 0;
      FocusSendBox();
    }
    if (txtSent.Text().isEmpty()) FocusSendBox();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The character whose code txtHex holds in hexadecimal, with no line end.
void PacketSpotfrm::SendCommandCharacter() {
  bool ok = false;
  const int code = txtHex.Text().trimmed().toInt(&ok, 16);
  if (!ok || code < 0 || code > 255) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
  comComm1.SetOutput(QString(QChar(code)));
}

void PacketSpotfrm::Form_Unload(int&) {
  try {
    StopReopening();
    if (!ConnectedCall.isEmpty()) DisconnectAGWStation();
    if (SourceIs(AGWSource)) CloseAGWEngine();
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

}  // namespace spotting
