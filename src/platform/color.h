#pragma once

#include <QColor>

#include <cstdint>

namespace platform {

// Colours travel as the program stores them: &HBBGGRR, blue in the highest byte.
using Color = std::int32_t;

inline constexpr Color RGB(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
inline QColor ToQColor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline Color FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// The system's button-face colour, which labels are reset to.
Color ButtonFaceColor();

}  // namespace platform
