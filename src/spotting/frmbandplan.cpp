#include "spotting/frmbandplan.h"

#include "app/modformresize.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/screen.h"
#include "platform/trace.h"

#include <QLocale>

#include <algorithm>

namespace spotting {

namespace {

using platform::RGB;

constexpr platform::Color kNavy = RGB(0, 0, 128);
constexpr platform::Color kWhite = RGB(255, 255, 255);
constexpr platform::Color kBlack = RGB(0, 0, 0);
constexpr platform::Color kBlue = RGB(0, 0, 255);
constexpr platform::Color kGreen = RGB(0, 255, 0);
constexpr platform::Color kYellow = RGB(255, 255, 0);

// An edge in MHz as "#,###.##0" shows it: thousands grouped, one to three decimals, no zero
// before the point (1,240.0, 14.025, .5).
QString EdgeText(float megahertz) {
  static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
  QString text = grouped.toString(static_cast<double>(megahertz), 'f', 3);
  while (text.endsWith(u'0') && text.at(text.size() - 2) != u'.') text.chop(1);
  if (text.startsWith(QStringLiteral("0."))) text.remove(0, 1);
  return text;
}

QString RangeText(float lower, float upper) { return EdgeText(lower) + QStringLiteral(" - ") + EdgeText(upper); }

}  // namespace

frmBandPlan::frmBandPlan() : Form(QStringLiteral("frmBandPlan")) {
  using platform::DesignCaption;
  SetCaption(QStringLiteral("Frequency Privileges"));
  // Designed by its client area.
  Move(0, 0, 9480 + 2 * BorderTwips, 6690 + CaptionTwips + BorderTwips);
  double left = 120;
  for (auto [button, caption] : {std::pair{&Command1, "Novice"}, {&Command2, "Technician"}, {&Command3, "Tech +"},
                                 {&Command4, "General"}, {&Command5, "Advanced"}, {&Command6, "Extra"}}) {
    DesignCaption(*button, caption, left, 60, 1050, 375);
    left += 1110;
  }
  DesignCaption(Label2, "Privelages", 6840, 60, 2520, 255);
  Label2.SetFontName(QStringLiteral("Arial Narrow"));
  Label2.SetFontSize(8.25);
  DesignCaption(Label3, "CW", 6840, 375, 1200, 255);
  Label3.SetForeColor(kWhite);
  DesignCaption(Label4, "Phone", 8160, 375, 1200, 255);
  DesignCaption(Label1, "Frequencies Effective", 120, 465, 4200, 240);
  Label1.SetFontName(QStringLiteral("Arial"));
  Label1.SetFontSize(9);
  for (platform::Label* header : {&Label1, &Label2}) {
    header->SetForeColor(kWhite);
    header->SetBackColor(kNavy);
  }
  for (platform::Label* label : {&Label2, &Label3, &Label4}) label->SetAlignment(platform::AlignCenter);
  Line1.SetEnds(120, 720, 9360, 720);
  DesignCaption(Command7, "Done", 4140, 6180, 1200, 375);

  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command4, Click);
  WIRE(Command5, Click);
  WIRE(Command6, Click);
  WIRE(Command7, Click);
}

// The whole work area from the screen's top left corner; the controls follow the window, their
// fonts the screen's width.
void frmBandPlan::FitToWorkArea() {
  const double oldWidth = Width();
  const double oldHeight = Height();
  Move(0, 0, platform::Screen::WorkAreaWidth(), platform::Screen::WorkAreaHeight());
  app::ModFormResize::ScaleControlsBy(*this, Width() / oldWidth, Height() / oldHeight,
                                      app::ModFormResize::CappedFontFactor());
}

void frmBandPlan::Form_Load() {
  platform::SkipOnError(lcSpotting, [this] { FitToWorkArea(); });
  Label4.SetBackColor(kGreen);
  Label3.SetBackColor(kBlue);
  if (!ReadPlan()) return;
  ShowClass(QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E"));
}

// The date and the rows; false, after the message, when the file cannot be read whole. The rows
// read before a damaged one stay for the class buttons, but a plan too long for the table is
// dropped whole, so no class draws from a part of it.
bool frmBandPlan::ReadPlan() {
  try {
    rig::BandPlanReader file(QStringLiteral("BandPlan.txt"));
    Label1.SetCaption(QStringLiteral("Frequencies Effective: ") + file.EffectiveDate());
    while (!file.AtEnd()) {
      if (std::ssize(PlanRows) == rig::MaxBandPlanRows) {
        PlanRows.clear();
        throw platform::RuntimeError(
            QStringLiteral("BandPlan.txt holds more than %1 rows").arg(rig::MaxBandPlanRows));
      }
      PlanRows.push_back(file.NextRow());
    }
    return true;
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcSpotting, error);
    platform::MsgBox(QStringLiteral("Band data not available."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Band Data Not Available."));
    return false;
  }
}

void frmBandPlan::ShowClass(const QString& title, const QString& classLetter) {
  Label2.SetCaption(title);
  DrawBandPlan(classLetter);
}

void frmBandPlan::Command1_Click() { ShowClass(QStringLiteral("Novice Frequency Privileges"), QStringLiteral("N")); }
void frmBandPlan::Command2_Click() {
  ShowClass(QStringLiteral("Technician Frequency Privileges"), QStringLiteral("T"));
}
void frmBandPlan::Command3_Click() {
  ShowClass(QStringLiteral("Technician Plus Frequency Privileges"), QStringLiteral("P"));
}
void frmBandPlan::Command4_Click() { ShowClass(QStringLiteral("General Frequency Privileges"), QStringLiteral("G")); }
void frmBandPlan::Command5_Click() {
  ShowClass(QStringLiteral("Advanced Frequency Privileges"), QStringLiteral("A"));
}
void frmBandPlan::Command6_Click() { ShowClass(QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E")); }

void frmBandPlan::Command7_Click() { Hide(); }

// The labels go at once: the next drawing makes the same names straight away.
void frmBandPlan::RemoveDrawing() {
  for (const std::unique_ptr<platform::Label>& label : drawing_) label->Retire();
  drawing_.clear();
}

platform::Label& frmBandPlan::AddDrawnLabel(const QString& name, const QString& text, const QString& toolTip) {
  platform::Label& label = *drawing_.emplace_back(std::make_unique<platform::Label>(this, name));
  label.SetBorderStyle(1);
  label.SetAlignment(platform::AlignCenter);
  label.SetCaption(text);
  label.SetToolTipText(toolTip);
  label.SetVisible(true);
  return label;
}

// A failure part-way leaves what was drawn so far.
void frmBandPlan::DrawBandPlan(const QString& classLetter) {
  RemoveDrawing();
  try {
    DrawBands(classLetter);
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// The "O" rows of the bands shown for a class: those whose rows that follow directly, up to the
// next band, include one of the class.
std::vector<const rig::BandPlanRow*> frmBandPlan::BandsShownFor(const QString& classLetter) const {
  std::vector<const rig::BandPlanRow*> shown;
  for (auto outline = PlanRows.begin(); outline != PlanRows.end(); ++outline) {
    if (outline->ClassLetter != u"O") continue;
    for (auto row = outline + 1; row != PlanRows.end() && row->Band == outline->Band; ++row) {
      if (row->ClassLetter == classLetter) {
        shown.push_back(&*outline);
        break;
      }
    }
  }
  return shown;
}

const rig::BandPlanRow* frmBandPlan::FirstRowOfBand(const QString& band) const {
  auto found = std::find_if(PlanRows.begin(), PlanRows.end(), [&](const rig::BandPlanRow& row) { return row.Band == band; });
  return found == PlanRows.end() ? nullptr : &*found;
}

// Bars share the room under Line1; each row of the class becomes a segment on its band's bar,
// placed by its edges within the bar's range.
void frmBandPlan::DrawBands(const QString& classLetter) {
  const double fontScale = app::ModFormResize::CappedFontFactor();
  const double width = Width();
  const double height = Height();
  const std::vector<const rig::BandPlanRow*> outlines = BandsShownFor(classLetter);
  if (outlines.empty()) return;
  const double top = Line1.Y1();
  const double step = 0.8 * (height - top) / static_cast<double>(outlines.size());
  const double barHeight = std::min(0.04 * height, step);

  std::vector<DrawnBand> bands;
  for (const rig::BandPlanRow* outline : outlines) {
    const int n = static_cast<int>(bands.size()) + 1;
    platform::Label& bar = AddDrawnLabel(QStringLiteral("blbl%1").arg(n), outline->Band,
                                         outline->Band + QStringLiteral("  ") + RangeText(outline->LowerMHz, outline->UpperMHz));
    bar.Move(0.1 * width, top + n * step, 0.85 * width, barHeight);
    bar.SetBackColor(kBlack);
    bar.SetForeColor(kBlack);
    const rig::BandPlanRow* range = FirstRowOfBand(outline->Band);
    bands.push_back({&bar, range->LowerMHz, range->UpperMHz});
  }
  for (std::size_t k = 0; k < bands.size(); ++k) {
    const platform::Label& bar = *bands[k].bar;
    platform::Label& name = AddDrawnLabel(QStringLiteral("bnlb%1").arg(k + 1), bar.Caption(), bar.ToolTipText());
    name.Move(0.04 * width, bar.Top(), 0.05 * width, bar.Height());
    name.SetForeColor(kBlack);
    name.SetBackColor(kYellow);
    name.SetFontName(QStringLiteral("ARIAL"));
    name.SetFontBold(true);
    name.SetFontSize(8 * fontScale);
  }
  int n = 0;
  for (const rig::BandPlanRow& row : PlanRows) {
    if (row.ClassLetter != classLetter) continue;
    for (const DrawnBand& band : bands) {
      // A band without width has no scale to place segments on.
      if (band.bar->Caption() != row.Band || band.upper == band.lower) continue;
      const double span = static_cast<double>(band.upper) - band.lower;
      const QString text = RangeText(row.LowerMHz, row.UpperMHz);
      const bool cw = row.Mode == u"CW";
      platform::Label& segment = AddDrawnLabel(QStringLiteral("priv%1").arg(++n), text,
                                               (cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + text);
      const platform::Label& bar = *band.bar;
      segment.Move(bar.Left() + (row.LowerMHz - band.lower) / span * bar.Width(), bar.Top(),
                   (static_cast<double>(row.UpperMHz) - row.LowerMHz) / span * bar.Width(), bar.Height());
      segment.SetForeColor(cw ? kWhite : kBlack);
      segment.SetBackColor(cw ? kBlue : kGreen);
      segment.SetFontName(QStringLiteral("ARIAL NARROW"));
      segment.SetFontSize(7 * fontScale);
    }
  }
}

}  // namespace spotting
