// The one deadline of every wait in the tests: far longer than anything a test waits for takes on
// a loaded 2-core machine beside a second run of the suite. A wait whose condition holds ends at
// once, so only a failing test ever waits this long. Plain C++, for the keyer library's tests too.
#pragma once

#include <chrono>

namespace peertesting {

inline constexpr std::chrono::seconds kBound{60};
// The same for Qt's waits, which count in milliseconds.
inline constexpr int kBoundMs = static_cast<int>(std::chrono::milliseconds(kBound).count());

}  // namespace peertesting
