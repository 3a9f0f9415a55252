#include "rig/rigcommands.h"

#include <QStringView>
#include <cmath>
#include <initializer_list>

#include "platform/asidefile.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/hexconversions.h"
#include "rig/replyfields.h"

namespace rig {

namespace {

enum class Family {
  Kenwood,
  Kenwood2,
  Elecraft,
  Icom,
  Icom735,
  OmniVI,
  FrontPanel,
  Orion,
  Pegasus,
  Yaesu,
  YaesuOp0A,
  FTdx9000,
  Other
};

bool IsOneOf(const QString& name, std::initializer_list<QStringView> names) {
  for (QStringView candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

Family FamilyOf(const QString& rigType) {
  if (rigType == u"Kenwood") return Family::Kenwood;
  if (rigType == u"Kenwood 2") return Family::Kenwood2;
  if (rigType == u"Elecraft") return Family::Elecraft;
  if (rigType == u"Icom") return Family::Icom;
  if (rigType == u"Icom 735") return Family::Icom735;
  if (rigType == u"Ten Tec Omni VI") return Family::OmniVI;
  if (rigType == u"Ten Tec Fnt Pnl") return Family::FrontPanel;
  if (rigType == u"Ten Tec Orion") return Family::Orion;
  if (rigType == u"Ten Tec Pegasus") return Family::Pegasus;
  if (rigType == u"Yaesu") return Family::Yaesu;
  // These take frequencies with opcode 0A and modes with opcode 0C.
  if (IsOneOf(rigType,
              {u"Yaesu 757 GX II", u"Yaesu 890", u"Yaesu 920", u"Yaesu 990", u"Yaesu 1000 D", u"Yaesu 1000"})) {
    return Family::YaesuOp0A;
  }
  if (rigType == u"Yaesu FTdx9000") return Family::FTdx9000;
  return Family::Other;
}

// The frequency rounded to whole units (Hz: 1e6 per MHz, 10 Hz: 1e5), half to even.
double RoundedUnits(float megahertz, double unitsPerMegahertz) {
  return std::nearbyint(static_cast<double>(megahertz) * unitsPerMegahertz);
}

double HzOf(float megahertz) { return RoundedUnits(megahertz, 1e6); }
double TenHzUnitsOf(float megahertz) { return RoundedUnits(megahertz, 1e5); }

// The front panel takes Hz held in single precision.
float PanelHzOf(float megahertz) { return static_cast<float>(HzOf(megahertz)); }

[[noreturn]] void Refuse(float megahertz, const QString& why) {
  throw platform::RuntimeError(FrequencyNumberText(megahertz) + QStringLiteral(" MHz ") + why,
                               5);  // "Invalid procedure call or argument"
}

void CheckDigits(float megahertz, double units, int digits, const QString& field) {
  if (units >= std::pow(10.0, digits)) Refuse(megahertz, QStringLiteral("does not fit %1").arg(field));
}

QString Padded(double units, int digits) {
  return QStringLiteral("%1").arg(static_cast<qint64>(units), digits, 10, QChar(u'0'));
}

// Digit pairs in the opposite order: least significant first, as CI-V and the 0A Yaesus want.
QString ReversedPairs(const QString& digits) {
  QString reversed;
  for (qsizetype k = digits.size() - 2; k >= 0; k -= 2) reversed += digits.sliced(k, 2);
  return reversed;
}

// The CI-V address of the frequency poll command; empty when it is not two hex digits, since a
// frame without it would go to another device.
QString CivAddress(const RigCommandSettings& settings) {
  const QString address = Mid(settings.freqPollCommand, 7, 2);
  return address.size() == 2 && HexStringToBytes(address).size() == 1 ? address : QString();
}

QByteArray CivFrame(const RigCommandSettings& settings, const QString& command) {
  const QString address = CivAddress(settings);
  if (address.isEmpty()) return {};
  return HexStringToBytes(QStringLiteral("FEFE") + address + QStringLiteral("E0") + command + QStringLiteral("FD"));
}

QByteArray KenwoodFrequency(const QString& prefix, float megahertz) {
  return (prefix + Padded(HzOf(megahertz), 11) + u';').toLatin1();
}

QByteArray FrontPanelFrequency(float megahertz) {
  const auto hz = static_cast<quint32>(PanelHzOf(megahertz));
  return HexStringToBytes(QStringLiteral("2A41%1").arg(hz, 8, 16, QChar(u'0')).toUpper() + QStringLiteral("0D"));
}

std::vector<float> FrequencyPauses(const QString& rigType, Family family) {
  switch (family) {
    case Family::Elecraft: return {205, 1000};
    case Family::Icom:
    case Family::Icom735: return {140};
    case Family::OmniVI: return {140, 220};
    case Family::Other: return {};
    default: return {rigType == u"Yaesu 1000" ? 10.0f : 205.0f};
  }
}

QByteArray FrequencyBytes(const RigCommandSettings& settings, Family family, float megahertz) {
  switch (family) {
    case Family::Kenwood: return KenwoodFrequency(Mid(settings.frequencyCommand, 1, 2), megahertz);
    case Family::Kenwood2:
      return KenwoodFrequency(settings.kenwoodVfo == 1 ? QStringLiteral("FB") : QStringLiteral("FA"), megahertz);
    case Family::Elecraft: return KenwoodFrequency(QStringLiteral("FA"), megahertz);
    case Family::Icom:
    case Family::Icom735:
    case Family::OmniVI: return CivFrame(settings, QStringLiteral("05") + ReversedPairs(Padded(HzOf(megahertz), 10)));
    case Family::FrontPanel: return FrontPanelFrequency(megahertz);
    case Family::Orion: return (QStringLiteral("*AF") + FrequencyNumberText(megahertz) + u'\r').toLatin1();
    case Family::Yaesu: return HexStringToBytes(Padded(TenHzUnitsOf(megahertz), 8) + QStringLiteral("01"));
    case Family::YaesuOp0A:
      return HexStringToBytes(ReversedPairs(Padded(TenHzUnitsOf(megahertz), 8)) + QStringLiteral("0A"));
    case Family::FTdx9000: return (Mid(settings.frequencyCommand, 1, 2) + Padded(HzOf(megahertz), 8) + u';').toLatin1();
    case Family::Pegasus:
    case Family::Other: return {};
  }
  return {};
}

// One mode's command per family; nullptr where the family has none.
struct ModeCodes {
  QStringView mode;
  const char* kenwood;  // text
  const char* civ;      // hex byte of the 06 frame
  const char* yaesu;    // hex byte before 00 00 00 07
  const char* op0C;     // hex byte between 00 00 00 and 0C
  const char* ftdx;     // digit
};

constexpr ModeCodes kModeCodes[] = {
    {u"LSB", "MD1;", "00", "00", "00", "1"},
    {u"USB", "MD2;", "01", "01", "01", "2"},
    {u"CW", "MD3;", "03", "02", "02", "3"},
    {u"CW-R", nullptr, "07", nullptr, "03", "7"},
    {u"AM", "MD5;", "02", "04", "04", "5"},
    {u"FM", "MD4;", "05", "08", "06", "4"},
    {u"RTTY", "MD6;", "04", "0A", "08", "6"},
    {u"RTTY-R", nullptr, "08", nullptr, nullptr, nullptr},
    {u"FSK", "MD6;", nullptr, nullptr, nullptr, nullptr},
    {u"DIG", nullptr, nullptr, "0A", nullptr, nullptr},
    {u"PKT", nullptr, nullptr, "0C", "0A", nullptr},
};

const ModeCodes* CodesOf(const QString& mode) {
  for (const ModeCodes& codes : kModeCodes) {
    if (mode == codes.mode) return &codes;
  }
  return nullptr;
}

}  // namespace

void CheckFrequencyFits(const RigCommandSettings& settings, float megahertz) {
  if (!std::isfinite(megahertz) || megahertz <= 0) Refuse(megahertz, QStringLiteral("is no frequency to tune to"));
  switch (FamilyOf(settings.rigType)) {
    case Family::Kenwood:
    case Family::Kenwood2:
    case Family::Elecraft:
      CheckDigits(megahertz, HzOf(megahertz), 11, QStringLiteral("the 11 digits of Hz of the rig's frequency command"));
      break;
    case Family::Icom:
    case Family::Icom735:
    case Family::OmniVI:
      CheckDigits(megahertz, HzOf(megahertz), 10, QStringLiteral("the 10 digits of Hz of the CI-V frequency frame"));
      break;
    case Family::FrontPanel:
      if (PanelHzOf(megahertz) >= 4294967296.0f) {
        Refuse(megahertz, QStringLiteral("does not fit the 4 bytes of Hz of the front panel's frequency command"));
      }
      break;
    case Family::Orion:
    case Family::Pegasus:
      if (FrequencyNumberText(megahertz).contains(u'E')) {
        Refuse(megahertz, QStringLiteral("cannot be written as plain decimals for the rig"));
      }
      break;
    case Family::Yaesu:
    case Family::YaesuOp0A:
      CheckDigits(megahertz, TenHzUnitsOf(megahertz), 8,
                  QStringLiteral("the 8 digits of 10 Hz of the Yaesu frequency command"));
      break;
    case Family::FTdx9000:
      CheckDigits(megahertz, HzOf(megahertz), 8,
                  QStringLiteral("the 8 digits of Hz of the FTdx9000 frequency command"));
      break;
    case Family::Other: break;
  }
}

FrequencyCommand BuildFrequencyCommand(const RigCommandSettings& settings, float megahertz) {
  CheckFrequencyFits(settings, megahertz);
  const Family family = FamilyOf(settings.rigType);
  return {FrequencyPauses(settings.rigType, family), FrequencyBytes(settings, family, megahertz),
          family == Family::Pegasus};
}

QByteArray BuildModeCommand(const RigCommandSettings& settings, const QString& mode) {
  const ModeCodes* codes = CodesOf(mode);
  if (codes == nullptr) return {};
  switch (FamilyOf(settings.rigType)) {
    case Family::Kenwood:
    case Family::Kenwood2:
    case Family::Elecraft: return codes->kenwood ? QByteArray(codes->kenwood) : QByteArray();
    case Family::Icom:
    case Family::OmniVI:
      return codes->civ ? CivFrame(settings, QStringLiteral("06") + QLatin1String(codes->civ)) : QByteArray();
    case Family::Yaesu:
      return codes->yaesu ? HexStringToBytes(QLatin1String(codes->yaesu) + QStringLiteral("00000007")) : QByteArray();
    case Family::YaesuOp0A:
      return codes->op0C
                 ? HexStringToBytes(QStringLiteral("000000") + QLatin1String(codes->op0C) + QStringLiteral("0C"))
                 : QByteArray();
    case Family::FTdx9000:
      return codes->ftdx ? (Mid(settings.modeCommand, 1, 3) + QLatin1String(codes->ftdx) + u';').toLatin1()
                         : QByteArray();
    default: return {};
  }
}

QString FrequencyNumberText(float megahertz) { return platform::QuotedValue(megahertz).Written(); }

QByteArray PegasusInContent(float megahertz, const QString& rigMode) {
  return (FrequencyNumberText(megahertz) + QStringLiteral("\r\n") + rigMode.trimmed() + QStringLiteral("\r\n"))
      .toLatin1();
}

void WritePegasusFile(float megahertz, const QString& rigMode) {
  // Written aside and put in place whole, so the control program never reads half a file.
  const QString path = platform::PegasusFolder() + QStringLiteral("/PEGASUS.IN");
  try {
    platform::WriteFileAside(path, PegasusInContent(megahertz, rigMode));
  } catch (const platform::RuntimeError& error) {
    qCWarning(lcRig) << "PEGASUS.IN not written:" << path << error.Description();
  }
}

}  // namespace rig
