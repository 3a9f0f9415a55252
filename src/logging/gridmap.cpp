// The grid map: 165 squares around the own position, the current band's worked squares coloured,
// four buttons that shift it, a click that takes a square into the grid box and a hover that
// counts its contacts. Beside it, the clicks on the 50 M and 144 M worked-grid lists and a mouse
// button on a band-map spot.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/gridnames.h"
#include "logging/logstore.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/globals.h"
#include "spotting/spotstore.h"

#include <array>

namespace app {

namespace {

// The first ten bands have a list on the panel; the others count in the total only.
constexpr std::int32_t ListedBandCount = 10;

// Contacts of the in-memory log whose received grid is the square, in all and per listed band.
QString SquareContactCounts(const QString& square) {
  std::int32_t total = 0;
  std::array<std::int32_t, ListedBandCount> perBand{};
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) {
    if (logging::LogGridRcvd[slot].compare(square, Qt::CaseInsensitive) != 0) continue;
    ++total;
    const std::int32_t band = logging::BandIndex(logging::LogBand[slot]);
    if (band >= 0 && band < ListedBandCount) ++perBand[band];
  }
  const auto n = [&perBand](int band) { return QString::number(perBand[band]); };
  return square + QStringLiteral("  Total = ") + QString::number(total) + QStringLiteral("   50 = ") + n(0) +
         QStringLiteral("   144 = ") + n(1) + QStringLiteral("   222 = ") + n(2) + QStringLiteral("\r\n432 = ") + n(3) +
         QStringLiteral("   902 = ") + n(4) + QStringLiteral("   1.3 = ") + n(5) + QStringLiteral("   2.3 = ") + n(6) +
         QStringLiteral("   3.5 = ") + n(7) + QStringLiteral("\r\n5.8 = ") + n(8) + QStringLiteral("   10 = ") + n(9);
}

// The arrow buttons: the map moves by whole squares, then is named and coloured afresh.
void ShiftGridMap(Form1& form, float northward, float westward) {
  logging::GridMapLatOffset += northward;
  logging::GridMapLonOffset += westward;
  form.ResetGridMapColors();
  form.GridFill();
  form.HighlightWorkedGrids();
  form.txtCall.SetFocus();
}

// A rover in contest type 5 lists grids with the own grid beside them; a click on the 50 M or
// 144 M list makes its text smaller to fit them and reloads the lists.
void ShrinkRoverList(Form1& form, platform::ListBox& list) {
  if (Rover != 1 || ContestType != 5) return;
  list.SetFontSize(list.FontSize() * 0.9);
  list.SetHeight(form.List3.Height());
  form.mnuopen2();
}

}  // namespace

void Form1::GridFill() {
  const auto names =
      logging::GridMapSquareNames(OwnLatitude, OwnLongitude, logging::GridMapLatOffset, logging::GridMapLonOffset);
  if (!names) return;
  for (int square = 0; square < logging::GridMapSquareCount; ++square) lblGrid[square].SetCaption((*names)[square]);
}

void Form1::ResetGridMapColors() {
  for (int square : lblGrid.Indexes()) lblGrid[square].SetForeColor(logging::RemainingGridColor);
}

void Form1::HighlightWorkedGrids() {
  const std::int32_t band = logging::BandIndex(logging::CurrentBand);
  if (band < 0) return;
  QStringList worked;
  if (band < ListedBandCount) {
    const platform::ListBox& list = *BandLists()[band];
    for (int item = 0; item < list.ListCount(); ++item) worked << list.List(item);
  } else {
    for (std::int32_t slot = 1; slot <= logging::BandGridCount[band]; ++slot) worked << logging::BandGrids[band][slot];
  }
  for (QString& grid : worked) {
    if (grid.size() > 3) ColorChange(grid);
  }
}

void Form1::ColorChange(QString& grid) {
  const int square = FirstSquareNamed(grid);
  if (square < 0) return;
  platform::Label& label = lblGrid[square];
  if (label.ForeColor() != logging::WorkedGridColor) label.SetForeColor(logging::WorkedGridColor);
}

int Form1::FirstSquareNamed(const QString& grid) {
  if (squaresRenamed_) {
    squaresByName_.clear();
    for (int square : lblGrid.Indexes()) {
      const QString name = lblGrid[square].Caption().toCaseFolded();
      if (!squaresByName_.contains(name)) squaresByName_.insert(name, square);
    }
    squaresRenamed_ = false;
  }
  return squaresByName_.value(grid.toCaseFolded(), -1);
}

void Form1::lblGrid_Change(int) { squaresRenamed_ = true; }

void Form1::Command7_Click() { ShiftGridMap(*this, 1, 0); }
void Form1::Command4_Click() { ShiftGridMap(*this, -1, 0); }
void Form1::Command5_Click() { ShiftGridMap(*this, 0, 2); }
void Form1::Command6_Click() { ShiftGridMap(*this, 0, -2); }

void Form1::lblGrid_Click(int Index) { txtSec.SetText(lblGrid[Index].Caption()); }

void Form1::lblGrid_MouseMove(int Index, int, int, float, float) {
  lblDupe.SetCaption(SquareContactCounts(lblGrid[Index].Caption()));
}

void Form1::List1_Click() { ShrinkRoverList(*this, List1); }
void Form1::List2_Click() { ShrinkRoverList(*this, List2); }

// Right button: take the spot (rig tuned to it, its call into the entry line); any other button
// dismisses it from the band map, leaving the spot list as it is.
void Form1::lblDXSpot_MouseDown(int Index, int Button, int, float, float) {
  if (!spotting::IsSpotSlot(Index)) return;
  if (Button == platform::RightButton) {
    platform::Instance<rig::RigControlfrm>().ChangeFrequency(spotting::DXSpotFreq[Index]);
    txtCall.SetFocus();
    txtCall.SetText(spotting::DXSpotCall[Index]);
    platform::SendKeys(QStringLiteral("{TAB}"));
    return;
  }
  spotting::RemoveSpot(Index);
  DisplayBandMapLabels();
}

}  // namespace app
