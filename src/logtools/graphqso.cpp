#include "logtools/graphqso.h"

#include "app/modformresize.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/trace.h"
#include "platform/twips.h"

namespace logtools {

namespace {

using platform::Color;

constexpr Color Black = platform::RGB(0, 0, 0);
constexpr Color White = platform::RGB(255, 255, 255);
constexpr Color Grey = platform::RGB(128, 128, 128);

const QString BlackBackground = QStringLiteral("Black Background");
const QString WhiteBackground = QStringLiteral("White Background");

// The plot frame's edges and the band strip under it, in twips.
constexpr double FrameLeft = 480;
constexpr double FrameRight = 9240;
constexpr double FrameTop = 120;
constexpr double FrameBottom = 5880;
constexpr double StripTop = 5900;
constexpr double StripBottom = 6000;
// One grid line and one value label for every sixteenth of the frame's height.
constexpr double ValueStep = 360;

constexpr double LabelHeight = 240;
// The axis labels are a line high, so the button fits beside the legend under them.
constexpr double AxisLabelHeight = 200;
constexpr double TimeLabelTop = 6080;
constexpr double DateLabelTop = 6290;
constexpr double FirstTimeLabelLeft = 120;
constexpr double LastTimeLabelLeft = 8895;
constexpr double TimeLabelWidth = 615;
constexpr double LegendTop = 6495;
constexpr double LegendLeft = 1200;
constexpr double LegendStep = 720;

void DesignLine(platform::Line& line, double x1, double y1, double x2, double y2, Color color) {
  line.SetEnds(x1, y1, x2, y2);
  line.SetBorderColor(color);
}

// A label on the graph's background, which shows through.
platform::Label& DesignLabel(platform::Label& label, const QString& caption, double left, double top, double width,
                             Color color, int alignment, double height = LabelHeight) {
  platform::DesignCaption(label, caption, left, top, width, height);
  label.SetBackStyle(0);
  label.SetForeColor(color);
  label.SetAlignment(alignment);
  return label;
}

}  // namespace

GraphQSO::GraphQSO() : Form(QStringLiteral("GraphQSO")) {
  SetCaption(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
  SetBorderStyle(platform::BorderFixedSingle);
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);
  SetBackColor(Black);
  LayOut();
  WIRE(Command1, Click);
}

void GraphQSO::LayOut() {
  DesignLine(Line4, FrameLeft, FrameTop, FrameLeft, FrameBottom, White);
  DesignLine(Line3, FrameRight, FrameTop, FrameRight, FrameBottom, White);
  DesignLine(Line1, FrameLeft, FrameTop, FrameRight, FrameTop, White);
  DesignLine(Line2, FrameLeft, FrameBottom, FrameRight, FrameBottom, White);
  DesignLine(Line8, FrameLeft, StripTop, FrameRight, StripTop, White);
  DesignLine(Line9, FrameLeft, StripBottom, FrameRight, StripBottom, White);
  Line8.SetVisible(false);
  Line9.SetVisible(false);

  platform::Line* const grid[] = {&Line7,  &Line6,  &Line5,  &Line10, &Line11, &Line12, &Line13, &Line14,
                                  &Line15, &Line16, &Line17, &Line18, &Line19, &Line20, &Line21};
  for (int i = 0; i < static_cast<int>(std::size(grid)); ++i) {
    const double y = FrameTop + ValueStep * (i + 1);
    DesignLine(*grid[i], 500, y, i < 3 ? FrameRight : FrameRight - 20, y, Grey);
    grid[i]->SetBorderStyle(platform::Line::LineDotted);
  }

  // The axes' labels are read by what they mark; the legend's by the caption before it.
  for (int k = 0; k < GraphValueLabelCount; ++k) {
    DesignLabel(lblY.Add(k), QStringLiteral("0"), 0, FrameBottom - ValueStep * k - LabelHeight / 2, 450, White,
                platform::AlignRight);
    lblY[k].SetAccessibleName(QStringLiteral("QSOs per hour scale"));
  }
  const double timeStep = (LastTimeLabelLeft - FirstTimeLabelLeft) / (GraphTimeLabelCount - 1);
  for (int i = 0; i < GraphTimeLabelCount; ++i) {
    const double left = FirstTimeLabelLeft + timeStep * i;
    DesignLabel(lblTime.Add(i), QStringLiteral("00:00"), left, TimeLabelTop, TimeLabelWidth, White,
                platform::AlignCenter, AxisLabelHeight);
    DesignLabel(lblDate.Add(i), QStringLiteral("MM/DD"), left, DateLabelTop, TimeLabelWidth, White,
                platform::AlignCenter, AxisLabelHeight);
    lblTime[i].SetAccessibleName(QStringLiteral("Time scale"));
    lblDate[i].SetAccessibleName(QStringLiteral("Date scale"));
  }
  DesignLabel(Label1, QStringLiteral("Band "), 0, FrameBottom, 450, White, platform::AlignLeft);
  for (int i = 0; i < GraphLegendCount; ++i) {
    DesignLabel(lblBnd.Add(i), GraphLegendCaptions[i], LegendLeft + LegendStep * i, LegendTop, 600,
                GraphLegendColors[i], platform::AlignCenter);
    lblBnd[i].NameAfter(Label1);
    lblBnd[i].SetAccessibleDescription(QStringLiteral("The band's colour in the graph"));
  }
  platform::DesignCaption(Command1, BlackBackground, 7440, 6500, 1800, 300);
}

// Fitted to the work area, so the task bar never hides the axis.
void GraphQSO::Form_Load() {
  using namespace app::ModFormResize;
  platform::SkipOnError(lcLogtools, [this] {
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5});
  });
  DrawGraph();
}

// The caption names the background in use. The legend and the button keep their colours; the
// grid lines take the frame's colour.
void GraphQSO::Command1_Click() {
  SetMousePointer(platform::MousePointerHourglass);
  platform::SkipOnError(lcLogtools, [this] {
    const bool toWhite = Command1.Caption() == BlackBackground;
    Command1.SetCaption(toWhite ? WhiteBackground : BlackBackground);
    SetBackColor(toWhite ? White : Black);
    SetAxisColors(toWhite ? Black : White);
    DrawGraph();
  });
  SetMousePointer(platform::MousePointerDefault);
}

// What cannot be graphed stops the drawing, with the labels reached so far set.
void GraphQSO::DrawGraph() {
  platform::SkipOnError(lcLogtools, [this] {
    const RateGraph graph = ComputeRateGraph(CurrentColors());
    if (graph.Reach == GraphReach::TooFewContacts) {
      platform::MsgBox(NotEnoughContactsPrompt, platform::MsgBoxStyle::OKOnly, NotEnoughContactsTitle);
      return;
    }
    ShowLabels(graph);
    const GraphShapes shapes = GraphShapesOf(graph, FrameOfLines());
    for (const GraphLine& line : shapes.Curve) Line(line.X1, line.Y1, line.X2, line.Y2, GraphCurveColor);
    for (const GraphBox& box : shapes.Strip) Box(box.X1, box.Y1, box.X2, box.Y2, box.Color, true);
  });
}

GraphColors GraphQSO::CurrentColors() const {
  GraphColors colors{.Background = BackColor()};
  for (int i = 0; i < GraphLegendCount; ++i) colors.Legend[i] = lblBnd[i].ForeColor();
  return colors;
}

// Where the scaled lines put the frame and the strip now.
GraphFrame GraphQSO::FrameOfLines() const {
  return {Line4.X1(), Line3.X1(), Line1.Y1(), Line2.Y1(), Line8.Y1(), Line9.Y1()};
}

void GraphQSO::ShowLabels(const RateGraph& graph) {
  if (graph.Reach < GraphReach::AxisLabels) return;
  for (int i = 0; i < GraphTimeLabelCount; ++i) {
    lblTime[i].SetCaption(graph.TimeLabels[i]);
    lblDate[i].SetCaption(graph.DateLabels[i]);
  }
  if (graph.Reach < GraphReach::ValueLabels) return;
  for (int k = 0; k < GraphValueLabelCount; ++k) lblY[k].SetCaption(graph.ValueLabels[k]);
}

void GraphQSO::SetAxisColors(Color color) {
  for (int i = 0; i < GraphTimeLabelCount; ++i) {
    lblDate[i].SetForeColor(color);
    lblTime[i].SetForeColor(color);
  }
  for (int k = 0; k < GraphValueLabelCount; ++k) lblY[k].SetForeColor(color);
  Label1.SetForeColor(color);
  for (platform::Control* control : Controls())
    if (control->Kind() == platform::ControlKind::Line) static_cast<platform::Line*>(control)->SetBorderColor(color);
}

}  // namespace logtools
