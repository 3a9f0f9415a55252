#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/replyfields.h"
#include "rig/replyparsers.h"

namespace rig {

namespace {

QString Field(const QByteArray& reply, qsizetype position, qsizetype length) {
  return QString::fromLatin1(Mid(reply, position, length));
}

// Whether the reply holds a character at a position.
bool Reaches(const QByteArray& reply, qsizetype position) { return reply.size() >= position; }

QByteArray Marker(const QString& command, qsizetype length) { return Mid(command, 1, length).toLatin1(); }

// The mode a rig's mode character stands for: "CW" for one of its CW digits, "PH" for anything
// else, a character that is no digit too.
QString ModeOfCharacter(const QByteArray& reply, qsizetype position, const QByteArray& cwDigits) {
  const QByteArray character = Mid(reply, position, 1);
  return character.size() == 1 && cwDigits.contains(character[0]) ? QStringLiteral("CW") : QStringLiteral("PH");
}

}  // namespace

RigReading ParseKenwoodFrequency(const QByteArray& reply, const QString& frequencyCommand) {
  RigReading reading;
  if (frequencyCommand.size() < 3) return reading;
  const qsizetype p = FindMarker(reply, Marker(frequencyCommand, 2));
  if (p == 0 || !Reaches(reply, p + 13)) return reading;
  reading.frequency = MegahertzFromHzField(Field(reply, p + 2, 11));
  return reading;
}

RigReading ParseKenwoodMode(const QByteArray& reply) {
  RigReading reading;
  const qsizetype p = FindMarker(reply, "MD");
  if (p == 0 || !Reaches(reply, p + 2)) return reading;
  reading.mode = ModeOfCharacter(reply, p + 2, "37");
  return reading;
}

RigReading ParseKenwoodIF(const QByteArray& reply) {
  RigReading reading;
  const qsizetype p = FindMarker(reply, "IF");
  if (p == 0 || !Reaches(reply, p + 13)) return reading;
  reading.frequency = MegahertzFromHzField(Field(reply, p + 2, 11));
  if (!reading.frequency) return reading;
  if (Reaches(reply, p + 29)) reading.mode = ModeOfCharacter(reply, p + 29, "3");
  const QByteArray vfo = Mid(reply, p + 30, 1);
  if (!vfo.isEmpty() && vfo[0] >= '0' && vfo[0] <= '9') reading.kenwoodVfo = static_cast<std::uint8_t>(vfo[0] - '0');
  return reading;
}

RigReading ParseFTdx9000Reply(const QByteArray& reply, const QString& frequencyCommand, const QString& modeCommand) {
  RigReading reading;
  const qsizetype f = FindMarker(reply, Marker(frequencyCommand, 2));
  // All 8 digits: a reply cut after 7 would read ten times too low.
  if (f != 0 && Reaches(reply, f + 9)) reading.frequency = MegahertzFromHzField(Field(reply, f + 2, 8));
  const qsizetype m = FindMarker(reply, Marker(modeCommand, 3));
  if (m != 0 && Reaches(reply, m + 3)) reading.mode = ModeOfCharacter(reply, m + 3, "3");
  return reading;
}

RigReading ParseOrionFrequency(const QByteArray& reply) {
  RigReading reading;
  const qsizetype p = FindMarker(reply, "@AF");
  if (p == 0) return reading;
  const qsizetype end = FindMarker(reply, "\r", p);
  if (end == 0) return reading;
  reading.frequency = MegahertzFromHzField(Field(reply, p + 3, end - p - 3));
  return reading;
}

RigReading ParseOrionMode(const QByteArray& reply) {
  RigReading reading;
  const qsizetype p = FindMarker(reply, "@RMM");
  if (p == 0 || !Reaches(reply, p + 4)) return reading;
  reading.mode = ModeOfCharacter(reply, p + 4, "23");
  return reading;
}

RigReading ReadPegasusFile() {
  RigReading reading;
  try {
    platform::QuotedTextReader file(platform::PegasusFolder() + QStringLiteral("/PEGASUS.OUT"));
    const QString frequency = file.Next();
    const std::optional<double> megahertz = ReceivedNumber(frequency);
    if (!megahertz) throw platform::RuntimeError(QStringLiteral("Type mismatch"), 13);
    reading.frequency = *megahertz;
    const QString mode = file.Next();
    if (file.ReadPastEnd()) throw platform::RuntimeError(QStringLiteral("Input past end of file"), 62);
    reading.mode = mode.isEmpty() || mode == u"CW" ? mode : QStringLiteral("PH");
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcRig, error);
  }
  return reading;
}

}  // namespace rig
