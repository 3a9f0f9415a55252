#include "rig/rigcommands.h"

#include <QStringView>
#include <cmath>

#include "platform/asidefile.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/modulevalues.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/hexconversions.h"
#include "rig/replyfields.h"
#include "rig/rigfamily.h"

namespace rig {

namespace {

using F = RigFamily;

// 1 once a failed write of PEGASUS.IN has been shown: the rig stops following the logger while
// it fails, which the operator must know, and once a session is enough to tell.
MODULE_VALUE(std::uint8_t, PegasusFailureShown, 0);

// The frequency rounded to whole units (Hz: 1e6 per MHz, 10 Hz: 1e5), half to even. A double
// holds every Hz of the frequencies a rig command carries, up to 100 GHz and beyond.
double RoundedUnits(double megahertz, double unitsPerMegahertz) { return std::nearbyint(megahertz * unitsPerMegahertz); }

double HzOf(double megahertz) { return RoundedUnits(megahertz, kHzPerMegahertz); }
double TenHzUnitsOf(double megahertz) { return RoundedUnits(megahertz, kTenHzPerMegahertz); }

[[noreturn]] void Refuse(double megahertz, const QString& why) {
  throw platform::RuntimeError(FrequencyNumberText(megahertz) + QStringLiteral(" MHz ") + why,
                               5);  // "Invalid procedure call or argument"
}

void CheckDigits(double megahertz, double units, int digits, const QString& field) {
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

QByteArray KenwoodFrequency(const QString& prefix, double megahertz) {
  return (prefix + Padded(HzOf(megahertz), 11) + u';').toLatin1();
}

QByteArray FrontPanelFrequency(double megahertz) {
  const auto hz = static_cast<quint32>(HzOf(megahertz));
  return HexStringToBytes(QStringLiteral("2A41%1").arg(hz, 8, 16, QChar(u'0')).toUpper() + QStringLiteral("0D"));
}

std::vector<float> FrequencyPauses(RigFamily family) {
  switch (family) {
    case F::Elecraft: return {205, 1000};
    case F::Icom:
    case F::Icom735: return {140};
    case F::OmniVI: return {140, 220};
    case F::Yaesu1000: return {10};
    case F::NoProtocol:
    case F::Other: return {};
    default: return {205};
  }
}

QByteArray FrequencyBytes(const RigCommandSettings& settings, RigFamily family, double megahertz) {
  if (TakesOpcode0A(family)) {
    return HexStringToBytes(ReversedPairs(Padded(TenHzUnitsOf(megahertz), 8)) + QStringLiteral("0A"));
  }
  if (IsCiv(family)) return CivFrame(settings, QStringLiteral("05") + ReversedPairs(Padded(HzOf(megahertz), 10)));
  switch (family) {
    case F::Kenwood: return KenwoodFrequency(Mid(settings.frequencyCommand, 1, 2), megahertz);
    case F::Kenwood2:
      return KenwoodFrequency(settings.kenwoodVfo == 1 ? QStringLiteral("FB") : QStringLiteral("FA"), megahertz);
    case F::Elecraft: return KenwoodFrequency(QStringLiteral("FA"), megahertz);
    case F::FrontPanel: return FrontPanelFrequency(megahertz);
    case F::Orion: return (QStringLiteral("*AF") + FrequencyNumberText(megahertz) + u'\r').toLatin1();
    case F::Yaesu: return HexStringToBytes(Padded(TenHzUnitsOf(megahertz), 8) + QStringLiteral("01"));
    case F::FTdx9000: return (Mid(settings.frequencyCommand, 1, 2) + Padded(HzOf(megahertz), 8) + u';').toLatin1();
    default: return {};  // the Pegasus takes its exchange file; "Other" and no rig take nothing
  }
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

void CheckFrequencyFits(const RigCommandSettings& settings, double megahertz) {
  if (!std::isfinite(megahertz) || megahertz <= 0) Refuse(megahertz, QStringLiteral("is no frequency to tune to"));
  const RigFamily family = FamilyOf(settings.rigType);
  if (IsBinaryYaesu(family)) {
    CheckDigits(megahertz, TenHzUnitsOf(megahertz), 8,
                QStringLiteral("the 8 digits of 10 Hz of the Yaesu frequency command"));
  }
  if (IsCiv(family)) {
    CheckDigits(megahertz, HzOf(megahertz), 10, QStringLiteral("the 10 digits of Hz of the CI-V frequency frame"));
  }
  switch (family) {
    case F::Kenwood:
    case F::Kenwood2:
    case F::Elecraft:
      CheckDigits(megahertz, HzOf(megahertz), 11, QStringLiteral("the 11 digits of Hz of the rig's frequency command"));
      break;
    case F::FrontPanel:
      if (HzOf(megahertz) > 0xFFFFFFFF) {
        Refuse(megahertz, QStringLiteral("does not fit the 4 bytes of Hz of the front panel's frequency command"));
      }
      break;
    case F::Orion:
    case F::Pegasus:
      if (FrequencyNumberText(megahertz).contains(u'E')) {
        Refuse(megahertz, QStringLiteral("cannot be written as plain decimals for the rig"));
      }
      break;
    case F::FTdx9000:
      CheckDigits(megahertz, HzOf(megahertz), 8,
                  QStringLiteral("the 8 digits of Hz of the FTdx9000 frequency command"));
      break;
    default: break;
  }
}

FrequencyCommand BuildFrequencyCommand(const RigCommandSettings& settings, double megahertz) {
  CheckFrequencyFits(settings, megahertz);
  const RigFamily family = FamilyOf(settings.rigType);
  return {FrequencyPauses(family), FrequencyBytes(settings, family, megahertz), family == F::Pegasus};
}

QByteArray BuildModeCommand(const RigCommandSettings& settings, const QString& mode) {
  const ModeCodes* codes = CodesOf(mode);
  if (codes == nullptr) return {};
  const RigFamily family = FamilyOf(settings.rigType);
  if (TakesOpcode0A(family)) {
    return codes->op0C ? HexStringToBytes(QStringLiteral("000000") + QLatin1String(codes->op0C) + QStringLiteral("0C"))
                       : QByteArray();
  }
  switch (family) {
    case F::Kenwood:
    case F::Kenwood2:
    case F::Elecraft: return codes->kenwood ? QByteArray(codes->kenwood) : QByteArray();
    case F::Icom:
    case F::OmniVI:
      return codes->civ ? CivFrame(settings, QStringLiteral("06") + QLatin1String(codes->civ)) : QByteArray();
    case F::Yaesu:
      return codes->yaesu ? HexStringToBytes(QLatin1String(codes->yaesu) + QStringLiteral("00000007")) : QByteArray();
    case F::FTdx9000:
      return codes->ftdx ? (Mid(settings.modeCommand, 1, 3) + QLatin1String(codes->ftdx) + u';').toLatin1()
                         : QByteArray();
    default: return {};
  }
}

QString FrequencyNumberText(double megahertz) {
  // Not a number and the infinities have no Hz to round to; they are named as they are.
  const double toTheHertz = std::isfinite(megahertz) ? HzOf(megahertz) / kHzPerMegahertz : megahertz;
  return platform::QuotedValue(toTheHertz).Written();
}

QByteArray PegasusInContent(double megahertz, const QString& rigMode) {
  return (FrequencyNumberText(megahertz) + QStringLiteral("\r\n") + rigMode.trimmed() + QStringLiteral("\r\n"))
      .toLatin1();
}

void WritePegasusFile(double megahertz, const QString& rigMode) {
  // Written aside and put in place whole, so the control program never reads half a file (in
  // place, where the exchange folder takes no new file).
  const QString path = platform::PegasusFolder() + QStringLiteral("/PEGASUS.IN");
  try {
    platform::WriteFileAside(path, PegasusInContent(megahertz, rigMode));
  } catch (const platform::RuntimeError& error) {
    qCWarning(lcRig) << "PEGASUS.IN not written:" << path << error.Description();
    platform::ShowWriteFailureOnce(PegasusFailureShown, QStringLiteral("The rig's exchange file"), error.Description(),
                                   path, QStringLiteral("Error Changing Frequency"));
  }
}

}  // namespace rig
