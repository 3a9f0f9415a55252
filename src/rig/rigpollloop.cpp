// The rig window's poll loop: one timer tick sends the poll commands, the next reads the answer,
// hands it to the rig family's parser and passes what it tells on to the main window.
#include "rig/rigcontrolfrm.h"

#include "app/form1.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/hexconversions.h"
#include "rig/replyfields.h"
#include "rig/rigfamily.h"

#include <algorithm>
#include <array>

namespace rig {

namespace {

using F = RigFamily;

// "###.####0": five decimals, no zero before the point below 1 MHz (".50000").
QString FrequencyCaption(double megahertz) {
  QString caption = QString::number(megahertz, 'f', 5);
  if (caption.startsWith(QLatin1String("0."))) caption.remove(0, 1);
  return caption;
}

// The logging mode of the HF and the 6 m and 2 m sub-bands. A frequency on an edge belongs to
// neither side; the frequency is compared at the edges' single precision.
struct SubBand {
  float lower;
  float upper;
  const char* mode;
};
constexpr std::array<SubBand, 19> SubBands{{
    {3.5f, 3.6f, "CW"},      {3.6f, 4.0f, "PH"},      {7.0f, 7.125f, "CW"},     {7.125f, 7.3f, "PH"},
    {10.1f, 10.15f, "CW"},   {14.0f, 14.15f, "CW"},   {14.15f, 14.35f, "PH"},   {18.068f, 18.11f, "CW"},
    {18.11f, 18.168f, "PH"}, {21.0f, 21.2f, "CW"},    {21.2f, 21.45f, "PH"},    {24.89f, 24.93f, "CW"},
    {24.93f, 24.99f, "PH"},  {28.0f, 28.3f, "CW"},    {28.3f, 29.7f, "PH"},     {50.0f, 50.1f, "CW"},
    {50.1f, 54.0f, "PH"},    {144.0f, 144.1f, "CW"},  {144.1f, 148.0f, "PH"},
}};

}  // namespace

// One tick sends the poll commands, the next takes the answer; the loop never waits for the rig.
// A fault ends the tick where it stands, so the same phase is tried again. A port whose device
// has gone stops the loop until it is back.
void RigControlfrm::tmrGetData_Timer() {
  try {
    if (AwaitingReply == 0) {
      SendTick();
    } else {
      ReadTick();
    }
    lastTickFault_.clear();
  } catch (const std::exception& error) {
    // A lasting fault recurs on every tick, up to 20 times a second: traced once.
    const QString fault = QString::fromLocal8Bit(error.what());
    if (fault != lastTickFault_ && !RigPortLost()) platform::TraceError(lcRig, error);
    lastTickFault_ = fault;
  }
  if (RigPortLost()) WaitForRigPort();
}

// Commands still waiting to go out are not joined by new ones; the read tick comes all the same.
void RigControlfrm::SendTick() {
  if (comComm1.OutBufferCount() == 0) WritePollCommands();
  AwaitingReply = 1;
  ReplyBuffer.clear();
}

void RigControlfrm::WritePollCommands() {
  const auto writeText = [this](const QString& command) {
    if (!command.isEmpty()) comComm1.SetOutput(command);
  };
  const auto writeHexPairs = [this](const QString& command, int pairs) {
    // Pairs that are not hex give no bytes: such a command is not sent.
    const QByteArray bytes = HexTextToBytes(Mid(command, 1, 3 * pairs - 1));
    if (!bytes.isEmpty()) comComm1.SetOutput(QString::fromLatin1(bytes));
  };
  const RigFamily family = FamilyOf(RigType);
  if (IsCiv(family)) {
    WriteOneCommandAlternately(17, [&](const QString& command) { writeHexPairs(command, 6); });
    return;
  }
  if (IsBinaryYaesu(family)) {
    if (FreqPollCommand.size() >= 14) writeHexPairs(FreqPollCommand, 5);
    return;
  }
  switch (family) {
    case F::Kenwood:
    case F::Kenwood2:
    case F::Elecraft:
      writeText(FreqPollCommand);
      writeText(ModePollCommand);
      break;
    case F::Other:
      for (const QString& command : {FreqPollCommand, ModePollCommand}) {
        if (chkConvToHex.Value() == 1) {
          writeText(QString::fromLatin1(HexTextToBytes(command)));
        } else {
          writeText(command);
        }
      }
      break;
    case F::FrontPanel: WriteOneCommandAlternately(7, [&](const QString& command) { writeHexPairs(command, 3); }); break;
    case F::FTdx9000: WriteOneCommandAlternately(2, writeText); break;
    case F::Orion:
      if (!FreqPollCommand.isEmpty()) writeText(FreqPollCommand + QLatin1Char('\r'));
      if (!ModePollCommand.isEmpty()) writeText(ModePollCommand + QLatin1Char('\r'));
      break;
    default: break;  // the Pegasus is read from its file; without a rig nothing is asked
  }
}

// The frequency command on one send tick, the mode command on the next; a command too short to
// send still takes its turn.
void RigControlfrm::WriteOneCommandAlternately(int minimumLength, const std::function<void(const QString&)>& write) {
  const QString& command = PollModeNext == 0 ? FreqPollCommand : ModePollCommand;
  if (command.size() >= minimumLength) write(command);
  PollModeNext = PollModeNext == 0 ? 1 : 0;
}

// Only what has arrived by now is read; the rest of a slow answer comes with the next one.
void RigControlfrm::ReadTick() {
  const RigFamily family = FamilyOf(RigType);
  const bool pegasus = family == F::Pegasus;
  if (!pegasus) ReplyBuffer = comComm1.Input();
  if (!ReplyBuffer.isEmpty() || pegasus) {
    ParseReply(family);
    if (OptFreq.Value()) ModeFromFrequency();
    if (Visible()) ShowReading();
    HandOnToMainWindow();
  }
  ReplyBuffer.clear();
  AwaitingReply = 0;
}

void RigControlfrm::ParseReply(RigFamily family) {
  const QByteArray reply = ReplyBuffer.toLatin1();
  // The one-command rigs' reply answers the command of the last send tick.
  const bool frequencyAsked = PollModeNext == 1;
  switch (family) {
    case F::Kenwood:
    case F::Elecraft:
      TakeReading(ParseKenwoodFrequency(reply, txtFreq.Text()));
      TakeReading(ParseKenwoodMode(reply));
      break;
    case F::Kenwood2: TakeReading(ParseKenwoodIF(reply)); break;
    case F::Icom:
    case F::Icom735:
    case F::OmniVI: TakeReading(frequencyAsked ? ParseIcomFrequency(reply, family) : ParseIcomMode(reply)); break;
    case F::Yaesu: TakeReading(ParseYaesuReply(reply)); break;
    case F::Yaesu757: TakeReading(ParseYaesu757(reply)); break;
    case F::Yaesu890: TakeReading(ParseYaesu890(reply)); break;
    case F::Yaesu920: TakeReading(ParseYaesu920(reply)); break;
    case F::Yaesu990: TakeReading(ParseYaesu990(reply)); break;
    case F::Yaesu1000: TakeReading(ParseYaesu1000(reply)); break;
    case F::FTdx9000: TakeReading(ParseFTdx9000Reply(reply, txtFreq.Text(), txtMode.Text())); break;
    case F::FrontPanel: TakeReading(frequencyAsked ? ParseTenTecPanelA(reply) : ParseTenTecPanelB(reply)); break;
    case F::Pegasus: TakeReading(ReadPegasusFile()); break;
    case F::Orion:
      TakeReading(ParseOrionFrequency(reply));
      TakeReading(ParseOrionMode(reply));
      break;
    case F::NoProtocol:
    case F::Other: break;  // the reply is only shown
  }
}

// What the reply did not tell stays as held from earlier ticks.
void RigControlfrm::TakeReading(const RigReading& reading) {
  if (reading.frequency) RigFrequency = *reading.frequency;
  if (reading.mode) RigMode = *reading.mode;
  if (reading.kenwoodVfo) KenwoodVfo = *reading.kenwoodVfo;
}

void RigControlfrm::ShowReading() {
  if (RigFrequency > 0) lblFreq.SetCaption(FrequencyCaption(RigFrequency));
  lblMode.SetCaption(RigMode);
  if (ChkConvHex.Value() == 1) ReplyBuffer = BytesToHexText(ReplyBuffer.toLatin1());
  lblUnProcess.SetCaption(ReplyBuffer);
}

// The values held go on every tick: the main window acts only on a change of band or mode.
void RigControlfrm::HandOnToMainWindow() {
  app::Form1& main = platform::Instance<app::Form1>();
  // Bands lie far apart: the logger finds the band at single precision.
  if (chkFrequency.Value() == 1) main.BandFreqConversion(static_cast<float>(RigFrequency));
  if (!OptDont.Value()) main.ModeSelection(RigMode);
}

void RigControlfrm::ModeFromFrequency() {
  const auto frequency = static_cast<float>(RigFrequency);
  const auto inside = [frequency](const SubBand& band) { return frequency > band.lower && frequency < band.upper; };
  const auto found = std::find_if(SubBands.begin(), SubBands.end(), inside);
  if (found != SubBands.end()) RigMode = QString::fromLatin1(found->mode);
}

}  // namespace rig
