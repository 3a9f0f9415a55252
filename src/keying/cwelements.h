#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Morse code as software keying sends it: each character a pattern of dot-length units, "1" key
// down and "0" key up, and the ways one unit is timed.
namespace keying {

// The pattern of one character, upper-cased first: International Morse code, the prosigns "["
// (AR), "]" (SK), ";" (KN), "\" (CL), "=" and "-" (BT), and a space of eight units up. Every
// pattern but the space ends with the three units up that part characters. Empty for "!" (it
// logs the contact instead) and for any character without a code.
QString ElementPattern(const QString& character);

// A space widened by the word-space adjustment: its whole part in more units up when above 0;
// below 0, that many units fewer (-8 and below: none). RuntimeError 6 "Overflow" beyond 32767.
QString WordSpacePattern(double adjustment);

// One unit at a speed in words per minute, in milliseconds: 1200 / speed (60 at 20 WPM).
double UnitMilliseconds(double wordsPerMinute);

// How a unit is waited for: busy on the finest clock, asleep, or by a counted loop.
enum class UnitTiming { Timer, Sleep, Loop, None };

// The millisecond counter's reading above which the timer gives up: the end of a unit would come
// within 2000 ms of the counter's 32-bit wrap.
inline constexpr double kLastTimerEnd = 4294965296.0;

// The counted loop calibrated at `loopsPer60Ms` (loops in 60 ms) is 60 ms x 20 / speed per unit.
double LoopCountPerUnit(double loopsPer60Ms, double wordsPerMinute);

// Counts from 0 in steps of 1 while below `limit`, as the loop method and its calibration count:
// the counter is kept in memory, so the count is never optimised away. Returns where it stopped.
double CountLoops(double limit);

// The loops counted by a calibration.
inline constexpr double kCalibrationLoops = 5'000'000;

// The calibration's result, loops per 60 ms, from the milliseconds kCalibrationLoops took,
// rounded halves to even; nothing when the clock did not move.
std::optional<double> LoopsPer60Ms(std::uint32_t elapsedMilliseconds);

struct UnitWait {
  UnitTiming timing = UnitTiming::Timer;
  double milliseconds = 0;
  double loops = 0;  // for UnitTiming::Loop
};

// Keys a pattern unit by unit: setKey(true) for "1", setKey(false) for "0", each followed by one
// unit's wait. No events run meanwhile. The timer ends unit n at n units after the character's
// start on the finest clock; it gives up near the millisecond counter's wrap, and no further unit
// is keyed then, nor once a signal is ending the program: the caller releases the key.
void KeyElements(const QString& pattern, const UnitWait& wait, const std::function<void(bool down)>& setKey);

}  // namespace keying
