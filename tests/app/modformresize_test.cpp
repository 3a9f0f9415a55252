#include "app/modformresize.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/forms.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using app::ModFormResize::ResizeControls;
using app::ModFormResize::ResizeToScreen;

// A label that refuses every new position once told to, as a control refusing a value would.
class RefusingLabel : public platform::Label {
 public:
  using Label::Label;
  bool refuse = false;

 protected:
  void ApplyGeometry() override {
    if (refuse) throw platform::RuntimeError(QStringLiteral("Invalid property value"), 380);
    Label::ApplyGeometry();
  }
};

// One control of every kind the scaling treats differently, with round design values.
class ScalingForm : public platform::Form {
 public:
  ScalingForm() : Form(QStringLiteral("ScalingForm")) {
    Move(300, 300, 4800, 3600);
    SetFontSize(9);
    lblName.Move(120, 240, 1200, 255);
    lblName.SetFontSize(9);
    cboBand.Move(1440, 240, 1500, 315);
    cboBand.SetFontSize(9);
    imgLogo.Move(3000, 240, 960, 720);
    imgLogo.SetFontSize(9);
    linRule.SetEnds(120, 600, 4500, 600);
    lvwLog.Move(120, 1200, 4320, 1500);
    lvwLog.SetFontSize(9);
    lvwLog.ColumnHeaders.Add(QStringLiteral("Call"), 1200);
    lvwLog.ColumnHeaders.Add(QStringLiteral("Grid"), 900);
    fraBox.Move(120, 2760, 2400, 600);
    fraBox.SetFontSize(9);
    optA.Move(120, 240, 1200, 255);
    optA.SetFontSize(9);
    lblRefusing.Move(2640, 2760, 1200, 255);
    lblRefusing.SetFontSize(9);
    txtAfter.Move(2640, 3060, 1200, 285);
    txtAfter.SetFontSize(9);
  }

  platform::Label lblName{this, "lblName"};
  platform::ComboBox cboBand{this, "cboBand"};
  platform::Image imgLogo{this, "imgLogo"};
  platform::Line linRule{this, "linRule"};
  platform::ListView lvwLog{this, "lvwLog"};
  platform::Frame fraBox{this, "fraBox"};
  platform::OptionButton optA{&fraBox, "optA"};
  RefusingLabel lblRefusing{this, "lblRefusing"};
  platform::TextBox txtAfter{this, "txtAfter"};
};

struct Rect {
  double left, top, width, height;
};

void ExpectScaled(const platform::Control& c, const Rect& design, double wf, double hf, bool keepsHeight = false) {
  SCOPED_TRACE(c.Name().toStdString());
  EXPECT_DOUBLE_EQ(c.Left(), design.left * wf);
  EXPECT_DOUBLE_EQ(c.Top(), design.top * hf);
  EXPECT_DOUBLE_EQ(c.Width(), design.width * wf);
  EXPECT_DOUBLE_EQ(c.Height(), keepsHeight ? design.height : design.height * hf);
}

class ModFormResizeTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::Screen::ResetForTesting(); }

  // For a rule that leaves errors to its caller: a control's refusal comes out, and no box shows.
  template <typename Fit>
  void ExpectRefusalReachesCaller(Fit fit) {
    ScalingForm refusing;
    refusing.lblRefusing.refuse = true;
    EXPECT_THROW(fit(refusing), platform::RuntimeError);
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
  }

  platform::ScriptedDialogs dialogs;
};

TEST_F(ModFormResizeTest, ResizeToScreenScalesByScreenAndCentresAboveMiddle) {
  struct Screen {
    double width, height;
  };
  for (const Screen screen : {Screen{9600, 7200}, Screen{19200, 7200}, Screen{12800, 9600}, Screen{7200, 14400}}) {
    SCOPED_TRACE(testing::Message() << screen.width << " x " << screen.height);
    platform::Screen::SetSizeForTesting(screen.width, screen.height);
    ScalingForm form;
    const double wf = screen.width / 9600;
    const double hf = screen.height / 7200;
    const double fontFactor = std::min(wf, hf);

    ResizeToScreen(form);

    EXPECT_DOUBLE_EQ(form.Width(), 4800 * wf);
    EXPECT_DOUBLE_EQ(form.Height(), 3600 * hf);
    EXPECT_DOUBLE_EQ(form.Left(), (screen.width - 4800 * wf) / 2);
    EXPECT_DOUBLE_EQ(form.Top(), (screen.height - 3600 * hf) / 2 - 170);
    EXPECT_NEAR(form.FontSize(), 9 * hf, 1e-9);

    ExpectScaled(form.lblName, {120, 240, 1200, 255}, wf, hf);
    ExpectScaled(form.cboBand, {1440, 240, 1500, 315}, wf, hf, /*keepsHeight=*/true);
    ExpectScaled(form.imgLogo, {3000, 240, 960, 720}, wf, hf);
    ExpectScaled(form.lvwLog, {120, 1200, 4320, 1500}, wf, hf);
    ExpectScaled(form.optA, {120, 240, 1200, 255}, wf, hf);  // relative to its frame, same factors
    for (const platform::Control* c :
         std::initializer_list<const platform::Control*>{&form.lblName, &form.cboBand, &form.lvwLog, &form.fraBox,
                                                          &form.optA, &form.txtAfter}) {
      EXPECT_NEAR(c->FontSize(), 9 * fontFactor, 1e-9) << c->Name().toStdString();
    }
    EXPECT_DOUBLE_EQ(form.imgLogo.FontSize(), 9);  // an image has no font to scale
    EXPECT_DOUBLE_EQ(form.linRule.X1(), 120 * wf);
    EXPECT_DOUBLE_EQ(form.linRule.X2(), 4500 * wf);
    EXPECT_DOUBLE_EQ(form.linRule.Y1(), 600 * hf);
    EXPECT_DOUBLE_EQ(form.linRule.Y2(), 600 * hf);
    EXPECT_NEAR(form.lvwLog.ColumnHeaders(1).Width(), 1200 * wf, 1e-9);
    EXPECT_NEAR(form.lvwLog.ColumnHeaders(2).Width(), 900 * wf, 1e-9);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(ModFormResizeTest, ATallWindowOnAShortScreenGetsANegativeTop) {
  platform::Screen::SetSizeForTesting(9600, 7200);
  ScalingForm form;
  form.SetHeight(7200);
  ResizeToScreen(form);
  EXPECT_DOUBLE_EQ(form.Height(), 7200);
  EXPECT_DOUBLE_EQ(form.Top(), -170);
}

TEST_F(ModFormResizeTest, AControlThatRefusesEndsTheScalingWithOneBox) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  ScalingForm form;
  form.lblRefusing.refuse = true;

  ResizeToScreen(form);

  ExpectScaled(form.lblName, {120, 240, 1200, 255}, 2, 2);  // before the failure: scaled
  ExpectScaled(form.txtAfter, {2640, 3060, 1200, 285}, 1, 1);  // after it: untouched
  EXPECT_DOUBLE_EQ(form.txtAfter.FontSize(), 9);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, QStringLiteral("Invalid property value"));
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, QStringLiteral("Form Resize Error"));
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
}

TEST_F(ModFormResizeTest, FitToScreenPlacesTheWindowItsOwnWayAndLeavesErrorsToTheCaller) {
  using app::ModFormResize::FitToScreen;
  using app::ModFormResize::ScreenPlacement;
  platform::Screen::SetSizeForTesting(12800, 9600);
  const double free = 9600 - 3600 * 9600.0 / 7200;
  const struct {
    ScreenPlacement placement;
    double top;
  } cases[] = {{ScreenPlacement::AboveCentre, free / 2 - 170},
               {ScreenPlacement::Centred, free / 2},
               {ScreenPlacement::QuarterDown, free / 4},
               {ScreenPlacement::AtTop, 2}};
  for (const auto& c : cases) {
    ScalingForm form;
    FitToScreen(form, c.placement);
    EXPECT_DOUBLE_EQ(form.Top(), c.top);
    EXPECT_DOUBLE_EQ(form.Left(), (12800 - 4800 * 12800.0 / 9600) / 2);
    ExpectScaled(form.lblName, {120, 240, 1200, 255}, 12800.0 / 9600, 9600.0 / 7200);
  }

  ExpectRefusalReachesCaller([](platform::Form& form) { FitToScreen(form, ScreenPlacement::Centred); });
}

// The rule's variants: the work area in the screen's place (its size scales the window and the
// controls, the window centres in it), and fonts by screen width / 9600 alone, capped at 1.5 or
// not, with the window's own font left as designed.
TEST_F(ModFormResizeTest, FitToScreenVariantsTakeTheirAreaAndTheirFontFactor) {
  using namespace app::ModFormResize;
  struct Case {
    const char* what;
    FitRule rule;
    double screenWidth;
    double controlFont;
    double windowFont;
  };
  // A 28800 x 14400 screen with a 600-twip panel on top: work area 28800 x 13800 from y 600.
  const double wf = 3;
  const double hf = 13800.0 / 7200;
  const Case cases[] = {
      {"the rule's own fonts, in the work area", {ScreenPlacement::Centred, FitArea::WorkArea}, 28800,
       9 * std::min(wf, hf), 9 * hf},
      {"screen width, capped", {ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5},
       28800, 9 * 1.5, 9},
      {"screen width under the cap", {ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5},
       12000, 9 * 1.25, 9},
      {"screen width, no cap", {ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidth}, 28800, 9 * 3,
       9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::Screen::SetSizeForTesting(c.screenWidth, 14400);
    platform::Screen::SetWorkAreaForTesting(0, 600, 28800, 13800);
    ScalingForm form;
    FitToScreen(form, c.rule);
    EXPECT_DOUBLE_EQ(form.Width(), 4800 * wf);
    EXPECT_DOUBLE_EQ(form.Height(), 3600 * hf);
    EXPECT_DOUBLE_EQ(form.Left(), (28800 - 4800 * wf) / 2);
    EXPECT_DOUBLE_EQ(form.Top(), 600 + (13800 - 3600 * hf) / 2);
    ExpectScaled(form.lblName, {120, 240, 1200, 255}, wf, hf);
    EXPECT_DOUBLE_EQ(form.linRule.Y1(), 600 * hf);
    EXPECT_NEAR(form.lblName.FontSize(), c.controlFont, 1e-9);
    EXPECT_NEAR(form.txtAfter.FontSize(), c.controlFont, 1e-9);
    EXPECT_NEAR(form.FontSize(), c.windowFont, 1e-9);
  }
}

// The spotting windows' rule: the window's own font by the width factor, uncapped, its controls'
// by the width factor at most 1.5, whatever the height factor.
TEST_F(ModFormResizeTest, ScaleToScreenWidthFontsFollowsTheWidthForFonts) {
  using namespace app::ModFormResize;
  struct Case {
    double screenWidth, screenHeight;
    ScreenPlacement placement;
    double top;
    double controlFont;
  };
  const Case cases[] = {
      {9600, 7200, ScreenPlacement::Centred, (7200 - 3600) / 2.0, 9},
      {12000, 14400, ScreenPlacement::Centred, (14400 - 7200) / 2.0, 9 * 1.25},
      {28800, 7200, ScreenPlacement::AtTop, 2, 9 * 1.5},
      {4800, 9600, ScreenPlacement::AtTop, 2, 9 * 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.screenWidth << " x " << c.screenHeight);
    platform::Screen::SetSizeForTesting(c.screenWidth, c.screenHeight);
    platform::Screen::SetWorkAreaForTesting(0, 600, c.screenWidth / 2, c.screenHeight / 2);  // not its area
    const double wf = c.screenWidth / 9600;
    const double hf = c.screenHeight / 7200;
    ScalingForm form;

    ScaleToScreenWidthFonts(form, c.placement);

    EXPECT_DOUBLE_EQ(form.Width(), 4800 * wf);
    EXPECT_DOUBLE_EQ(form.Height(), 3600 * hf);
    EXPECT_DOUBLE_EQ(form.Left(), (c.screenWidth - 4800 * wf) / 2);
    EXPECT_DOUBLE_EQ(form.Top(), c.top);
    EXPECT_NEAR(form.FontSize(), 9 * wf, 1e-9);
    ExpectScaled(form.lblName, {120, 240, 1200, 255}, wf, hf);
    ExpectScaled(form.cboBand, {1440, 240, 1500, 315}, wf, hf, /*keepsHeight=*/true);
    EXPECT_DOUBLE_EQ(form.linRule.X2(), 4500 * wf);
    EXPECT_DOUBLE_EQ(form.linRule.Y1(), 600 * hf);
    EXPECT_NEAR(form.lvwLog.ColumnHeaders(1).Width(), 1200 * wf, 1e-9);
    EXPECT_NEAR(form.lblName.FontSize(), c.controlFont, 1e-9);
    EXPECT_NEAR(form.optA.FontSize(), c.controlFont, 1e-9);
  }

  ExpectRefusalReachesCaller([](platform::Form& form) { ScaleToScreenWidthFonts(form, ScreenPlacement::Centred); });
}

// Sizes that follow a width alone: a font by the screen's, a column by its window's.
TEST_F(ModFormResizeTest, SizesByScreenWidthAndByWindowWidth) {
  using namespace app::ModFormResize;
  for (const double width : {4800.0, 9600.0, 15360.0, 28800.0}) {
    SCOPED_TRACE(width);
    platform::Screen::SetSizeForTesting(width, 7200);
    EXPECT_NEAR(PointsForScreenWidth(8.25), 8.25 * width / 9600, 1e-9);  // no cap on a wide screen

    platform::Screen::SetSizeForTesting(9600, 7200);
    ScalingForm form;
    form.SetWidth(width);
    EXPECT_NEAR(ColumnWidthIn(form, 940), 940 * width / 9600, 1e-9);
  }
}

TEST_F(ModFormResizeTest, ResizeControlsFillsTheAreaAndFollowsTheInnerSize) {
  ScalingForm form;
  const double oldInnerWidth = form.ScaleWidth();
  const double oldInnerHeight = form.ScaleHeight();

  ResizeControls(form, 9600, 7200, 9600, 7200, 1, 0, QStringLiteral("Arial"));

  EXPECT_DOUBLE_EQ(form.Width(), 9600);
  EXPECT_DOUBLE_EQ(form.Height(), 7200);
  EXPECT_DOUBLE_EQ(form.Left(), 0);
  EXPECT_DOUBLE_EQ(form.Top(), 0);
  const double rw = form.ScaleWidth() / oldInnerWidth;
  const double rh = form.ScaleHeight() / oldInnerHeight;
  ExpectScaled(form.lblName, {120, 240, 1200, 255}, rw, rh);
  ExpectScaled(form.cboBand, {1440, 240, 1500, 315}, rw, rh);  // here a combo box's height follows too
  EXPECT_DOUBLE_EQ(form.linRule.X2(), 4500 * rw);
  EXPECT_DOUBLE_EQ(form.linRule.Y1(), 600 * rh);
  EXPECT_NEAR(form.lvwLog.ColumnHeaders(2).Width(), 900 * rw, 1e-9);
  // Share 0: a growing window keeps its fonts; the face name is given to the scaled controls.
  EXPECT_DOUBLE_EQ(form.lblName.FontSize(), 9);
  EXPECT_EQ(form.lblName.FontName(), QStringLiteral("Arial"));
  EXPECT_EQ(form.FontName(), QStringLiteral("Arial"));
  EXPECT_NE(form.imgLogo.FontName(), QStringLiteral("Arial"));
}

TEST_F(ModFormResizeTest, ResizeControlsFontRule) {
  struct Case {
    const char* what;
    float area;  // the area is area x area * 0.75, the design 9600 x 7200
    float share;
  };
  for (const Case& c : {Case{"grows, half the growth", 19200, 0.5f}, Case{"grows, all of it", 19200, 1},
                        Case{"shrinks, whatever the share", 4800, 0}}) {
    SCOPED_TRACE(c.what);
    ScalingForm form;
    const double oldInnerWidth = form.ScaleWidth();
    const double oldInnerHeight = form.ScaleHeight();

    ResizeControls(form, c.area, c.area * 0.75f, 9600, 7200, 0, c.share, QString());

    EXPECT_DOUBLE_EQ(form.Width(), 4800 * c.area / 9600);
    EXPECT_DOUBLE_EQ(form.Left(), (c.area - form.Width()) / 2);
    const double m = std::min(form.ScaleWidth() / oldInnerWidth, form.ScaleHeight() / oldInnerHeight);
    const double factor = form.Height() > oldInnerHeight ? (m - 1) * c.share + 1 : m;
    if (c.area < 9600) {
      EXPECT_DOUBLE_EQ(factor, m);
    }
    EXPECT_NEAR(form.lblName.FontSize(), 9 * factor, 1e-6);
    EXPECT_NEAR(form.FontSize(), 9 * factor, 1e-6);
  }
}

}  // namespace
