#pragma once

namespace platform {

// Positions and sizes are kept in twips, as the windows were designed: 15 twips per pixel at 96 dpi.
inline constexpr double TwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }
inline double PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

}  // namespace platform
