#include "app/modformresize.h"

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/listview.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "platform/twips.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace app::ModFormResize {

namespace {

using platform::ControlKind;

constexpr double DesignWidth = platform::DesignScreen.width;
constexpr double DesignHeight = platform::DesignScreen.height;
constexpr double VerticalOffset = 170;
constexpr double TopMargin = 2;

bool IsScaledKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListBox:
    case ControlKind::CommandButton:
    case ControlKind::TextBox:
    case ControlKind::Label:
    case ControlKind::ComboBox:
    case ControlKind::Image:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Frame:
    case ControlKind::ListView:
      return true;
    default:
      return false;
  }
}

struct Factors {
  double width;   // left, width, X end points, column headers
  double height;  // top, height, Y end points
  double font;
  bool keepComboHeight;
  QString fontName;  // empty: faces stay
};

void ScaleControl(platform::Control& control, const Factors& f) {
  const ControlKind kind = control.Kind();
  if (IsScaledKind(kind)) {
    if (!(kind == ControlKind::ComboBox && f.keepComboHeight)) control.SetHeight(control.Height() * f.height);
    control.SetLeft(control.Left() * f.width);
    control.SetTop(control.Top() * f.height);
    control.SetWidth(control.Width() * f.width);
    if (kind != ControlKind::Image) {
      if (!f.fontName.isEmpty()) control.SetFontName(f.fontName);
      control.SetFontSize(control.FontSize() * f.font);
    }
  }
  if (kind == ControlKind::Line) {
    auto& line = static_cast<platform::Line&>(control);
    line.SetX1(line.X1() * f.width);
    line.SetX2(line.X2() * f.width);
    line.SetY1(line.Y1() * f.height);
    line.SetY2(line.Y2() * f.height);
  }
  if (kind == ControlKind::ListView) {
    auto& view = static_cast<platform::ListView&>(control);
    for (int i = 1; i <= view.ColumnHeaders.Count(); ++i) {
      platform::ColumnHeader header = view.ColumnHeaders(i);
      header.SetWidth(header.Width() * f.width);
    }
  }
}

void ScaleControls(platform::Form& form, const Factors& factors) {
  // The walk is by index over a collection that scaling does not change.
  const auto& controls = form.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) ScaleControl(*controls[i], factors);
}

// Both operations trap every error: the first failure ends the operation with one box.
void RunTrapped(const std::function<void()>& body) {
  try {
    body();
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcApp, error);
    platform::MsgBox(error.Description(), platform::MsgBoxStyle::OKOnly, QStringLiteral("Form Resize Error"));
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    platform::MsgBox(QString::fromLocal8Bit(error.what()), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Form Resize Error"));
  }
}

constexpr double MostScreenWidthFontFactor = 1.5;

struct Area {
  double left, top, width, height;
};

Area AreaOf(FitArea area) {
  using platform::Screen;
  if (area == FitArea::WorkArea)
    return {Screen::WorkAreaLeft(), Screen::WorkAreaTop(), Screen::WorkAreaWidth(), Screen::WorkAreaHeight()};
  return {0, 0, Screen::Width(), Screen::Height()};
}

double FontFactorOf(FontFactor fonts, double widthFactor, double heightFactor) {
  const double screenWidthFactor = platform::Screen::Width() / DesignWidth;
  switch (fonts) {
    case FontFactor::ScreenWidth:
      return screenWidthFactor;
    case FontFactor::ScreenWidthAtMost1_5:
      return CappedFontFactor();
    case FontFactor::SmallerOfBoth:
      break;
  }
  return std::min(widthFactor, heightFactor);
}

// Gives the window its size and its place in the area.
void SizeAndPlace(platform::Form& form, double width, double height, const Area& area, ScreenPlacement placement) {
  form.SetWidth(width);
  form.SetHeight(height);
  form.SetLeft(area.left + (area.width - form.Width()) / 2);
  const double freeHeight = area.height - form.Height();
  switch (placement) {
    case ScreenPlacement::AboveCentre:
      form.SetTop(area.top + freeHeight / 2 - VerticalOffset);
      break;
    case ScreenPlacement::Centred:
      form.SetTop(area.top + freeHeight / 2);
      break;
    case ScreenPlacement::QuarterDown:
      form.SetTop(area.top + freeHeight / 4);
      break;
    case ScreenPlacement::AtTop:
      form.SetTop(area.top + TopMargin);
      break;
  }
}

// Gives the window its size in the area and its place there; its controls are scaled by the
// area's factors over the design.
void PlaceInArea(platform::Form& form, double width, double height, const FitRule& rule) {
  const Area area = AreaOf(rule.area);
  const double wf = area.width / DesignWidth;
  const double hf = area.height / DesignHeight;
  SizeAndPlace(form, width, height, area, rule.placement);
  if (rule.fonts == FontFactor::SmallerOfBoth) form.SetFontSize(form.FontSize() * hf);
  ScaleControls(form, Factors{wf, hf, FontFactorOf(rule.fonts, wf, hf), true, {}});
}

}  // namespace

void ResizeToScreen(platform::Form& form) {
  RunTrapped([&form] { FitToScreen(form, ScreenPlacement::AboveCentre); });
}

void ScaleControlsBy(platform::Form& form, double widthFactor, double heightFactor) {
  ScaleControlsBy(form, widthFactor, heightFactor, std::min(widthFactor, heightFactor));
}

void ScaleControlsBy(platform::Form& form, double widthFactor, double heightFactor, double fontFactor) {
  ScaleControls(form, Factors{widthFactor, heightFactor, fontFactor, true, {}});
}

double CappedFontFactor() { return std::min(platform::Screen::Width() / DesignWidth, MostScreenWidthFontFactor); }

// The size is the design size times the factor, as these windows have always been sized; the
// order of FitToScreen (over the design screen, then times the screen) can differ in the last
// bit, and so by a pixel.
void ScaleToScreenWidthFonts(platform::Form& form, ScreenPlacement placement) {
  const Area screen = AreaOf(FitArea::Screen);
  const double wf = screen.width / DesignWidth;
  const double hf = screen.height / DesignHeight;
  SizeAndPlace(form, form.Width() * wf, form.Height() * hf, screen, placement);
  form.SetFontSize(form.FontSize() * wf);
  ScaleControlsBy(form, wf, hf, CappedFontFactor());
}

double PointsForScreenWidth(double points) { return points * platform::Screen::Width() / DesignWidth; }

double ColumnWidthIn(const platform::Form& form, double designWidth) {
  return designWidth * (form.Width() / DesignWidth);
}

void FitToScreen(platform::Form& form, ScreenPlacement placement) { FitToScreen(form, FitRule{placement}); }

void FitToScreen(platform::Form& form, const FitRule& rule) {
  const Area area = AreaOf(rule.area);
  PlaceInArea(form, form.Width() / DesignWidth * area.width, form.Height() / DesignHeight * area.height, rule);
}

void FillScreen(platform::Form& form) {
  PlaceInArea(form, platform::Screen::Width(), platform::Screen::Height(), FitRule{ScreenPlacement::Centred});
}

void ResizeControls(platform::Form& form, float areaWidth, float areaHeight, float designWidth, float designHeight,
                    std::uint8_t fillArea, float fontGrowthShare, const QString& fontName) {
  RunTrapped([&] {
    const double oldScaleWidth = form.ScaleWidth();
    const double oldScaleHeight = form.ScaleHeight();
    if (fillArea == 1) {
      form.SetWidth(areaWidth);
      form.SetHeight(areaHeight);
    } else {
      form.SetWidth(form.Width() / designWidth * areaWidth);
      form.SetHeight(form.Height() / designHeight * areaHeight);
    }
    form.SetLeft((areaWidth - form.Width()) / 2);
    form.SetTop((areaHeight - form.Height()) / 2);
    if (oldScaleWidth == 0 || oldScaleHeight == 0) throw platform::RuntimeError(QStringLiteral("Division by zero"), 11);
    const double rw = form.ScaleWidth() / oldScaleWidth;
    const double rh = form.ScaleHeight() / oldScaleHeight;
    const double m = std::min(rw, rh);
    const double fontFactor = form.Height() > oldScaleHeight ? (m - 1) * fontGrowthShare + 1 : m;
    if (!fontName.isEmpty()) form.SetFontName(fontName);
    form.SetFontSize(form.FontSize() * fontFactor);
    ScaleControls(form, Factors{rw, rh, fontFactor, false, fontName});
  });
}

}  // namespace app::ModFormResize
