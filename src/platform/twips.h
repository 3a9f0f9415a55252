#pragma once

namespace platform {

// Positions and sizes are kept in twips, as the windows were designed: 15 twips per pixel at 96 dpi.
inline constexpr double TwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }
inline double PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

struct TwipsSize {
  double width;
  double height;
};

// The screen every window was laid out for (640 x 480 pixels): a window's design places and sizes
// are shares of it, which the fit rules (app/modformresize.h) carry over to the real screen.
inline constexpr TwipsSize DesignScreen{9600, 7200};

}  // namespace platform
