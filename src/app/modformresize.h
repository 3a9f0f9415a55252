#pragma once

#include "platform/form.h"

#include <QString>

#include <cstdint>

// Fits windows laid out for the design screen (platform::DesignScreen) to the screen they run
// on. Called from a window's load, before it is shown. A failure half-way leaves what was
// changed, shows its description titled "Form Resize Error" and returns.
namespace app::ModFormResize {

// Where a window fitted to the screen is placed: always centred across; down, 170 twips above the
// vertical centre (the rule's own placement), exactly at the centre, with its top edge at a
// quarter of the screen height the window leaves free, or 2 twips below the top.
enum class ScreenPlacement { AboveCentre, Centred, QuarterDown, AtTop };

// Scales the window and its controls by the screen's width and height over the design screen's
// across and down (fonts by the smaller factor, the window's own font by the height factor), and
// places it centred across and 170 twips above the vertical centre.
void ResizeToScreen(platform::Form& form);

// Makes a window designed as the whole design screen cover the real one: it takes the
// screen's size at its top left, its font follows the height factor, and its controls are scaled
// as ResizeToScreen scales them. The main window's load does this; its own error trap catches
// what fails (platform::RuntimeError), so nothing is trapped here.
void FillScreen(platform::Form& form);
// The same rule with the window's own placement, for the windows that apply it themselves: no
// error box, a failure (platform::RuntimeError) reaches the caller's trap.
void FitToScreen(platform::Form& form, ScreenPlacement placement);

// What a window fits itself to: the whole screen, or the desktop work area (the screen less
// panels and task bars), whose size takes the screen's place in the rule and in which the
// window is placed.
enum class FitArea { Screen, WorkArea };

// How fonts follow: by the smaller of the area's two factors, the window's own font by the
// height factor (the rule's own); or the controls' fonts by the screen's width over the design
// screen's alone, with no cap or at most 1.5, the window's own font left as it is.
enum class FontFactor { SmallerOfBoth, ScreenWidth, ScreenWidthAtMost1_5 };

struct FitRule {
  ScreenPlacement placement = ScreenPlacement::AboveCentre;
  FitArea area = FitArea::Screen;
  FontFactor fonts = FontFactor::SmallerOfBoth;
};

// The rule's variants, for the windows that apply it themselves; errors reach the caller.
void FitToScreen(platform::Form& form, const FitRule& rule);

// Sizes the window to the area (fillArea 1) or by area / design, centres it in the area, and
// lays its controls out again in proportion to the change of its inner size. Fonts follow
// fontGrowthShare of a growth (all of a shrink); a non-empty fontName becomes their face.
void ResizeControls(platform::Form& form, float areaWidth, float areaHeight, float designWidth, float designHeight,
                    std::uint8_t fillArea, float fontGrowthShare, const QString& fontName);

// Scales every control as ResizeToScreen does, by the factors given (fonts by the smaller),
// for a window that sizes itself; errors reach the caller.
void ScaleControlsBy(platform::Form& form, double widthFactor, double heightFactor);
// The same with the fonts scaled by a factor of their own.
void ScaleControlsBy(platform::Form& form, double widthFactor, double heightFactor, double fontFactor);

// The font factor of the rig and band-plan windows: the screen's width over the design screen's,
// at most 1.5, so their texts stay readable yet do not outgrow their controls on a wide screen.
double CappedFontFactor();

// The spotting windows' rule: the window scaled by the screen's factors over the design screen,
// centred across and placed down as asked; its own font follows the width factor and its
// controls' fonts CappedFontFactor. Errors reach the caller.
void ScaleToScreenWidthFonts(platform::Form& form, ScreenPlacement placement);

// A font size that follows the screen's width: points times the screen's width over the design
// screen's, uncapped.
double PointsForScreenWidth(double points);

// A list column designed for a window as wide as the design screen, at the window's width now.
double ColumnWidthIn(const platform::Form& form, double designWidth);

}  // namespace app::ModFormResize
