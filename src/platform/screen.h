#pragma once

namespace platform {

// The primary screen, in twips, and the part of it that windows may use (the desktop work area:
// the screen less panels and task bars). Tests set sizes of their own.
class Screen {
 public:
  static double Width();
  static double Height();
  static double WorkAreaLeft();
  static double WorkAreaTop();
  static double WorkAreaWidth();
  static double WorkAreaHeight();
  static double TwipsPerPixelX();
  static double TwipsPerPixelY();

  // The screen as a test wants it; the work area becomes the whole of it unless set as well.
  static void SetSizeForTesting(double width, double height);
  static void SetWorkAreaForTesting(double left, double top, double width, double height);
  static void ResetForTesting();
};

}  // namespace platform
