#include <QStringList>

#include "rig/hexconversions.h"
#include "rig/replyfields.h"
#include "rig/replyparsers.h"

namespace rig {

namespace {

constexpr char kPreamble = '\xFE';
constexpr char kEndOfFrame = '\xFD';

// Walks the CI-V frames with one command byte in a reply, handing each data byte to `data` and
// each end of frame to `end`; `data` returns false to end the walk.
template <typename OnData, typename OnEnd>
void WalkCivFrames(const QByteArray& reply, char command, OnData data, OnEnd end) {
  enum class State { Empty, GotFirstFE, GotSecondFE, WaitForFD } state = State::Empty;
  for (qsizetype k = 1; k <= reply.size(); ++k) {
    const char byte = Mid(reply, k, 1)[0];
    switch (state) {
      case State::Empty:
        if (byte == kPreamble) state = State::GotFirstFE;
        break;
      case State::GotFirstFE:
        if (byte == kPreamble) {
          k += 2;  // the two addresses, whichever way the frame goes
          state = State::GotSecondFE;
        } else {
          state = State::Empty;
        }
        break;
      case State::GotSecondFE:
        state = byte == command ? State::WaitForFD : State::Empty;
        break;
      case State::WaitForFD:
        if (byte == kEndOfFrame) {
          end();
          state = State::Empty;
        } else if (!data(byte)) {
          return;
        }
        break;
    }
  }
}

// The 890, 1000 and 990 read the low digit of byte 8 alike; another digit leaves the mode.
std::optional<QString> StatusBlockMode(const QString& digit) {
  if (digit == u"2") return QStringLiteral("CW");
  if (digit.size() == 1 && QStringLiteral("0134567").contains(digit)) return QStringLiteral("PH");
  return std::nullopt;
}

// The 920 takes any mode digit but 1 as "PH". Only a block that reaches it tells the mode: a cut
// one must not read as "PH".
std::optional<QString> Yaesu920Mode(const QString& digit) {
  if (digit.isEmpty()) return std::nullopt;
  return digit == u"1" ? QStringLiteral("CW") : QStringLiteral("PH");
}

// A status block: a run of hex digits read as one binary number of units, then the mode from the
// low digit of byte 8.
RigReading ParseStatusBlock(const QByteArray& reply, qsizetype firstDigit, qsizetype lastDigit,
                            double unitsPerMegahertz, std::optional<QString> (*modeOfDigit)(const QString&)) {
  RigReading reading;
  if (reply.size() < 5) return reading;
  const QString hexText = Yaesu757Digits(reply);
  bool ok = false;
  const qulonglong units = Mid(hexText, firstDigit, lastDigit - firstDigit + 1).toULongLong(&ok, 16);
  if (!ok) return reading;
  reading.frequency = RoundedMegahertz(static_cast<double>(units), unitsPerMegahertz);
  reading.mode = modeOfDigit(Mid(hexText, 16, 1));
  return reading;
}

// The 757's mode byte reads as a decimal number up to its first letter: "0A" is 0, "A0" is 0.
int LeadingDecimal(const QString& digits) {
  int value = 0;
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

}  // namespace

RigReading ParseIcomFrequency(const QByteArray& reply, RigFamily family) {
  RigReading reading;
  QString digits;
  QString frameDigits;
  // The data come least significant byte first: each one goes in front.
  WalkCivFrames(
      reply, '\x03',
      [&](char byte) {
        frameDigits.prepend(Yaesu757Digits(QByteArray(1, byte)));
        return true;
      },
      // A frame cut short by the end of the reply would read as a wrong frequency: only whole
      // frames count.
      [&] {
        digits.prepend(frameDigits);
        frameDigits.clear();
      });
  // Ten digits read as MHz with six decimals; the 735's eight as hundreds of its MHz.
  const std::optional<double> number = ReceivedNumber(BcdToFreqText(digits));
  if (!number) return reading;
  reading.frequency = family == RigFamily::Icom735 ? RoundedMegahertz(*number * 1e3, kTenHzPerMegahertz)
                                                   : RoundedMegahertz(*number * kHzPerMegahertz, kHzPerMegahertz);
  return reading;
}

RigReading ParseIcomMode(const QByteArray& reply) {
  RigReading reading;
  WalkCivFrames(
      reply, '\x04',
      [&](char byte) {
        reading.mode = byte == '\x03' ? QStringLiteral("CW") : QStringLiteral("PH");
        return false;
      },
      [] {});
  return reading;
}

RigReading ParseYaesuReply(const QByteArray& reply) {
  RigReading reading;
  if (reply.size() < 5) return reading;
  const QString hexText = Yaesu757Digits(Mid(reply, 1, 5));
  const std::optional<double> megahertz = ReceivedNumber(DigitsToFreqText(hexText));
  if (!megahertz) return reading;
  reading.frequency = RoundedMegahertz(*megahertz * kTenHzPerMegahertz, kTenHzPerMegahertz);
  const QString mode = Mid(hexText, 9, 2);
  static const QStringList kPhone = QStringLiteral("00 01 04 08 84 88").split(u' ');
  static const QStringList kCw = QStringLiteral("02 03 82 83").split(u' ');
  if (kPhone.contains(mode)) reading.mode = QStringLiteral("PH");
  if (kCw.contains(mode)) reading.mode = QStringLiteral("CW");
  return reading;
}

RigReading ParseYaesu890(const QByteArray& reply) {
  return ParseStatusBlock(reply, 5, 10, kTenHzPerMegahertz, StatusBlockMode);
}

RigReading ParseYaesu1000(const QByteArray& reply) {
  return ParseStatusBlock(reply, 4, 9, kTenHzPerMegahertz, StatusBlockMode);
}

RigReading ParseYaesu990(const QByteArray& reply) {
  return ParseStatusBlock(reply, 3, 8, kTenHzPerMegahertz, StatusBlockMode);
}

RigReading ParseYaesu920(const QByteArray& reply) {
  return ParseStatusBlock(reply, 3, 10, kHzPerMegahertz, Yaesu920Mode);
}

RigReading ParseYaesu757(const QByteArray& reply) {
  RigReading reading;
  // The frequency needs bytes 6 to 9 whole: a cut block would read as another frequency.
  if (reply.size() < 9) return reading;
  const QString hexText = Yaesu757Digits(reply);
  const QString digits = Mid(hexText, 17, 2) + Mid(hexText, 15, 2) + Mid(hexText, 13, 2) + Mid(hexText, 11, 2);
  const std::optional<double> tenHz = ReceivedNumber(digits);
  if (!tenHz) return reading;
  reading.frequency = RoundedMegahertz(*tenHz, kTenHzPerMegahertz);
  if (reply.size() < 10) return reading;
  static const QStringList kModes = QStringLiteral("PH PH CW CW AM FM").split(u' ');
  const int mode = LeadingDecimal(Mid(hexText, 19, 2));
  if (mode < kModes.size()) reading.mode = kModes[mode];
  return reading;
}

RigReading ParseTenTecPanelA(const QByteArray& reply) {
  RigReading reading;
  // Bytes 2 to 5 whole: a cut reply would read as a frequency a power of 256 too low.
  if (reply.size() < 5) return reading;
  bool ok = false;
  const qulonglong hz = Mid(Yaesu757Digits(reply), 3, 8).toULongLong(&ok, 16);
  if (ok) reading.frequency = RoundedMegahertz(static_cast<double>(hz), kHzPerMegahertz);
  return reading;
}

RigReading ParseTenTecPanelB(const QByteArray& reply) {
  RigReading reading;
  if (reply.size() < 3) return reading;
  const QString digit = Mid(Yaesu757Digits(reply), 4, 1);
  if (digit == u"3") reading.mode = QStringLiteral("CW");
  if (digit.size() == 1 && QStringLiteral("0124").contains(digit)) reading.mode = QStringLiteral("PH");
  return reading;
}

}  // namespace rig
