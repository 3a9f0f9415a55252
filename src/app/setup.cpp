#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globals.h"
#include "app/gridposition.h"
#include "app/stationsetup.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/numbertext.h"
#include "platform/trace.h"

#include <array>

namespace app {

namespace {

// The dialog as each step finds it: should it have been unloaded meanwhile, the step reads a
// freshly loaded one, as the window's global instance does.
frmStationID& StationDialog() { return platform::Instance<frmStationID>(); }

std::uint8_t SelectedContestType(std::uint8_t current) {
  frmStationID& dialog = StationDialog();
  const std::array<platform::OptionButton*, 5> options = {&dialog.Option1, &dialog.Option2, &dialog.Option3,
                                                          &dialog.Option4, &dialog.Option7};
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (options[i]->Value()) return static_cast<std::uint8_t>(i + 1);
  }
  return current;
}

// The dialog and what it sets: the station, the contest, the log file (Done opens it). From the
// first step after the dialog a failing step is skipped, so the views and the poll always come
// back.
void TakeStationSetUp(Form1& form) {
  using platform::SkipOnError;
  if (logging::LogConnection.IsOpen()) logging::LogConnection.Close();
  StationDialog().Show(platform::Modal);

  SkipOnError(lcApp, [] {
    OwnCall = StationDialog().Text1.Text();
    OwnGrid = platform::TrimBlanks(StationDialog().Text5.Text());
    UtcOffset = static_cast<float>(platform::NumberInText(StationDialog().Text6.Text()));
  });
  SkipOnError(lcApp, [&form] {
    form.List1.SetToolTipText(QString());
    form.List2.SetToolTipText(QString());
  });
  SkipOnError(lcApp, [] { ContestType = SelectedContestType(ContestType); });
  SkipOnError(lcApp, [&form] {
    Rover = StationDialog().Option6.Value() ? 1 : 0;
    if (Rover == 1 && ContestType == 5) {
      form.List1.SetToolTipText(QStringLiteral("Click list to reduce font size"));
      form.List2.SetToolTipText(QStringLiteral("Click list to reduce font size"));
    }
  });
  SkipOnError(lcApp, [&form] {
    form.Label30.SetCaption(logging::CurrentMode);
    form.Label2.SetCaption(OwnCall);
    form.Label4.SetCaption(OwnGrid);
  });
  SkipOnError(lcApp, [] {
    OwnLongitude = platform::NumberInText(StationDialog().Text2.Text());
    OwnLatitude = platform::NumberInText(StationDialog().Text3.Text());
  });
  SkipOnError(lcApp, [] { platform::UnloadIfLoaded<frmStationID>(); });
  SkipOnError(lcApp, [] { FillPositionFromGrid(OwnGrid, OwnLatitude, OwnLongitude); });
  SkipOnError(lcApp, [&form] { form.SavePref(); });
}

}  // namespace

// The station set-up: asks for the station and its log file, then rebuilds every view of the
// log for it. The log poll rests while the connection is closed.
void Form1::mnuSetup_Click() {
  using platform::SkipOnError;
  Timer3.SetEnabled(false);
  TakeStationSetUp(*this);
  SkipOnError(lcApp, [this] {
    if (ContestType == 5) mnuopen2();
  });
  SkipOnError(lcApp, [this] { Labeldisplay(); });
  SkipOnError(lcApp, [this] { GridFill(); });
  SkipOnError(lcApp, [this] { ResetGridMapColors(); });
  SkipOnError(lcApp, [this] { HighlightWorkedGrids(); });
  SkipOnError(lcApp, [this] { WorkList(); });
  Timer3.SetEnabled(true);
}

// At start the question that follows reads the log, once: the set-up names the grid map for the
// station and leaves the log to it.
void SetUpStationAtStart(Form1& form) {
  form.Timer3.SetEnabled(false);
  TakeStationSetUp(form);
  platform::SkipOnError(lcApp, [&form] { form.GridFill(); });
  form.Timer3.SetEnabled(true);
}

}  // namespace app
