// The score panel and the display of the current band.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/scoring.h"
#include "platform/trace.h"

#include <optional>

namespace app {

namespace {

using platform::Color;

constexpr Color BandLabelColor = 0x800000;     // navy
constexpr Color CurrentBandLabelColor = 0x80;  // maroon

// A total a contest type without rules leaves empty shows as nothing.
QString Figure(const std::optional<std::int32_t>& total) { return total ? QString::number(*total) : QString(); }

// Checks the current band's menu and colours its two panel labels; a band of no name leaves
// every menu unchecked and every label navy.
void MarkCurrentBand(Form1& form) {
  const std::int32_t current = logging::BandIndex(logging::CurrentBand);
  const auto menus = form.BandMenus();
  for (std::int32_t band = 0; band < std::int32_t(menus.size()); ++band) menus[band]->SetChecked(band == current);
  const auto names = form.BandNameLabels();
  const auto counts = form.BandCountLabels();
  for (std::int32_t band = 0; band < std::int32_t(names.size()); ++band) {
    const Color color = band == current ? CurrentBandLabelColor : BandLabelColor;
    names[band]->SetBackColor(color);
    counts[band]->SetBackColor(color);
  }
}

}  // namespace

// A total too large for its label's 32 bits leaves every label as it was.
void Form1::Labeldisplay() {
  logging::ContestScore score;
  try {
    score = logging::ScoreOf(logging::BandQsoCount, logging::BandGridCount, ContestType, Rover,
                             logging::ActivatedGridCount);
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcLogging, error);
    return;
  }
  lblTotCon.SetCaption(Figure(score.Contacts));
  lblsectogo.SetCaption(Figure(score.Multipliers));
  lblTotSec.SetCaption(Figure(score.Points));
  lblTotScore.SetCaption(QString::number(score.Score));
  // The raw tallies, whether or not the contest counts the band.
  const auto counts = BandCountLabels();
  for (std::size_t band = 0; band < counts.size(); ++band) {
    counts[band]->SetCaption(QString::number(logging::BandQsoCount[band]) + QStringLiteral(" / ") +
                             QString::number(logging::BandGridCount[band]));
  }
}

void Form1::ShowCurrentBand() {
  ResetGridMapColors();
  logging::CurrentBand = logging::BandInContest(logging::CurrentBand, ContestType);
  Label21.SetCaption(logging::CurrentBand + QStringLiteral("Hz"));
  SavePref();
  MarkCurrentBand(*this);
  if (txtSec.Text().size() >= 4) txtSec_Change();
  HighlightWorkedGrids();
  if (Command3.Caption().compare(QLatin1String("Current Band"), Qt::CaseInsensitive) == 0) ListContacts();
  if (txtDX.Visible() || lblDX.Visible()) BandMapScale();
  if (lblDX.Visible()) DisplayBandMapLabels();
  txtSec_Change();
}

}  // namespace app
