#include "keying/cwelements.h"

#include "platform/clock.h"
#include "platform/endprogram.h"
#include "platform/errors.h"
#include "platform/numbertext.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace keying {

namespace {

constexpr int kSpaceUnits = 8;
// A longer space would be hours of silence and a string the size of the memory.
constexpr double kMostSpaceUnits = 32767;

// Dots and dashes of every character with a code.
const QHash<QChar, const char*>& Codes() {
  static const QHash<QChar, const char*> codes = {
      {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},   {'D', "-.."},    {'E', "."},      {'F', "..-."},
      {'G', "--."},    {'H', "...."},   {'I', ".."},     {'J', ".---"},   {'K', "-.-"},    {'L', ".-.."},
      {'M', "--"},     {'N', "-."},     {'O', "---"},    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},
      {'S', "..."},    {'T', "-"},      {'U', "..-"},    {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},
      {'Y', "-.--"},   {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
      {'4', "....-"},  {'5', "....."},  {'6', "-...."},  {'7', "--..."},  {'8', "---.."},  {'9', "----."},
      {'.', ".-.-.-"}, {',', "--..--"}, {'?', "..--.."}, {'/', "-..-."},  {'=', "-...-"},  {'-', "-...-"},
      {'[', ".-.-."},  {']', "...-.-"}, {';', "-.--."},  {'\\', "-.-..-.."},
  };
  return codes;
}

// A dot one unit down, a dash three, one unit up between them and three after the character.
QString UnitsOf(const char* code) {
  QString units;
  for (const char* element = code; *element; ++element) {
    if (element != code) units += QLatin1Char('0');
    units += *element == '.' ? QStringLiteral("1") : QStringLiteral("111");
  }
  return units + QStringLiteral("000");
}

// Sleep and the loop wait one unit after another.
void WaitOneUnit(const UnitWait& wait) {
  switch (wait.timing) {
    case UnitTiming::Timer:
    case UnitTiming::None:
      return;
    case UnitTiming::Sleep:
      platform::Sleep(static_cast<std::uint32_t>(platform::RoundHalfEven(wait.milliseconds)));
      return;
    case UnitTiming::Loop:
      CountLoops(wait.loops);
      return;
  }
}

// The timer ends each unit at its own moment counted from the character's start, busy on the
// finest clock without yielding, so that neither rounding nor a late unit adds up. A unit whose end
// would lie too close to the millisecond counter's wrap is given up, and with it the rest.
void KeyOnDeadlines(const QString& pattern, double unitMilliseconds, const std::function<void(bool down)>& setKey) {
  const double counterAtStart = platform::TimeGetTime();
  const double start = platform::FineMilliseconds();
  for (qsizetype unit = 0; unit < pattern.size(); ++unit) {
    if (platform::EndSignalPending()) return;
    setKey(pattern[unit] == QLatin1Char('1'));
    const double sinceStart = static_cast<double>(unit + 1) * unitMilliseconds;
    if (counterAtStart + sinceStart > kLastTimerEnd) return;
    while (platform::FineMilliseconds() < start + sinceStart && !platform::EndSignalPending()) {
    }
  }
}

}  // namespace

QString ElementPattern(const QString& character) {
  if (character == QLatin1String(" ")) return QString(kSpaceUnits, QLatin1Char('0'));
  if (character.size() != 1) return {};
  const auto code = Codes().constFind(character.toUpper().front());
  return code == Codes().cend() ? QString() : UnitsOf(*code);
}

QString WordSpacePattern(double adjustment) {
  const double units = std::max(0.0, std::floor(kSpaceUnits + adjustment));
  if (units > kMostSpaceUnits) throw platform::RuntimeError(QStringLiteral("Overflow"), 6);
  return QString(static_cast<qsizetype>(units), QLatin1Char('0'));
}

double UnitMilliseconds(double wordsPerMinute) { return 60.0 / (wordsPerMinute * 50.0) * 1000.0; }

double LoopCountPerUnit(double loopsPer60Ms, double wordsPerMinute) { return loopsPer60Ms / wordsPerMinute * 20.0; }

double CountLoops(double limit) {
  volatile double count = 0;
  while (count < limit) count = count + 1;
  return count;
}

std::optional<double> LoopsPer60Ms(std::uint32_t elapsedMilliseconds) {
  if (elapsedMilliseconds == 0) return std::nullopt;
  return platform::RoundHalfEven(kCalibrationLoops / elapsedMilliseconds * 60.0);
}

void KeyElements(const QString& pattern, const UnitWait& wait, const std::function<void(bool down)>& setKey) {
  if (wait.timing == UnitTiming::Timer) {
    KeyOnDeadlines(pattern, wait.milliseconds, setKey);
    return;
  }
  for (const QChar unit : pattern) {
    if (platform::EndSignalPending()) return;
    setKey(unit == QLatin1Char('1'));
    WaitOneUnit(wait);
  }
}

}  // namespace keying
