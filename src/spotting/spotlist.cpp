// The main window's side of the spot intake: the "spotted" alert, the spot list and the DX area's
// mouse handlers.
#include "spotting/spotlist.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotintake.h"
#include "spotting/spotmapwindow.h"
#include "spotting/spotstore.h"

namespace spotting {

namespace {

constexpr platform::Color kAlertBackColor = 0xFFFFFF;

// The spot list's "Frequency" column, 0-based after the item text.
constexpr int kFrequencyColumn = 1;

// Written after the design caption, past its first 60 characters, which the exports and the AGW
// engine read as the program's name.
const QString kSourceDownNote = QStringLiteral("DX Spots Down - Reconnecting");

// Newest at the top; a full list loses its bottom row first.
void AddSpotListRow(platform::ListView& list, const QStringList& row) {
  if (list.ListItems.Count() >= SpotListRows) list.ListItems.Remove(SpotListRows);
  platform::ListItem item = list.ListItems.Add(1, row.front());
  for (int column = 1; column < row.size(); ++column) item.SetSubItems(column, row[column]);
}

// Asks without loading: a spectrum map that is not loaded is not shown, and loading it here
// would run its load in the middle of an intake.
bool SpectrumMapShown() { return platform::IsLoaded<SpectrumMap>() && platform::Instance<SpectrumMap>().Visible(); }

void ShowSpectrumMap() {
  platform::SkipOnError(lcSpotting, [] { platform::ShowModalAndUnload<SpectrumMap>(); });
}

bool IsNoRig(const QString& rigType) { return rigType.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0; }

}  // namespace

void CreateSpotListColumns(app::Form1& form) {
  static const struct {
    const char* caption;
    double width;
    int alignment;
  } kColumns[] = {
      {"Call", 1040, platform::AlignLeft},      {"Frequency", 880, platform::AlignRight},
      {"QTH", 2000, platform::AlignLeft},       {"Status", 0, platform::AlignCenter},
      {"Comments", 3400, platform::AlignLeft},  {"Prefix", 520, platform::AlignLeft},
      {"Time", 600, platform::AlignLeft},       {"From", 520, platform::AlignLeft},
  };
  for (const auto& column : kColumns) {
    const double width = app::ModFormResize::ColumnWidthIn(form, column.width);
    form.txtDX.ColumnHeaders.Add(QString::fromUtf8(column.caption), width, column.alignment);
  }
}

}  // namespace spotting

namespace app {

// The own call is checked first, so even a spot dropped for its frequency raises the alert.
void Form1::BandMapSpots(const QString& qDXSpotCall, const QString& qDXSpotFreq, const QString& qDXSpotRecord) {
  try {
    if (spotting::IsOwnCallSpotted(qDXSpotCall, OwnCall)) {
      platform::Beep();
      lblDialog.SetCaption(spotting::SpottedDialogCaption());
      lblDialog.SetBackColor(spotting::kAlertBackColor);
      lblDupe.SetCaption(spotting::SpottedDupeCaption(qDXSpotRecord));
      lblDupe.SetBackColor(spotting::kAlertBackColor);
    }
    const std::optional<QStringList> row = spotting::FileSpot(qDXSpotCall, qDXSpotFreq, qDXSpotRecord);
    if (!row) return;
    if (lblDX.Visible()) DisplayBandMapLabels();
    if (spotting::SpectrumMapShown()) platform::Instance<spotting::SpectrumMap>().BandMapLabelDisplay();
    spotting::AddSpotListRow(txtDX, *row);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

// In the title bar: the spot area shows nothing of a feed gone stale.
void Form1::ShowSpotSourceDown(bool down) {
  QString caption = Caption();
  if (caption.endsWith(spotting::kSourceDownNote)) caption.chop(spotting::kSourceDownNote.size());
  if (down) caption += spotting::kSourceDownNote;
  SetCaption(caption);
}

// Tunes to the selected row and takes its call. The call is read before tuning: the rig command
// lets events run, and a spot arriving meanwhile moves the rows.
void Form1::txtDX_Click() {
  try {
    txtCall.SetFocus();
    if (txtDX.ListItems.Count() == 0) return;
    const std::optional<platform::ListItem> selected = txtDX.SelectedItem();
    if (!selected) return;
    const std::optional<double> megahertz = spotting::SpotNumber(selected->SubItems(spotting::kFrequencyColumn));
    if (!megahertz) return;
    const QString call = selected->Text();
    if (!spotting::IsNoRig(rig::RigType)) {
      platform::Instance<rig::RigControlfrm>().ChangeFrequency(*megahertz);
    }
    txtCall.SetFocus();
    txtCall.SetText(call);
  } catch (const std::exception& error) {
    platform::TraceError(lcSpotting, error);
  }
}

void Form1::txtDX_DblClick() { spotting::ShowSpectrumMap(); }

// The spotting window reads its settings file by plain name.
void Form1::lblDX_Click() {
  platform::SkipOnError(lcSpotting, [] {
    SelectProgramFolder();
    platform::Instance<spotting::PacketSpotfrm>().Show();
  });
}

void Form1::lblDX_DblClick() { spotting::ShowSpectrumMap(); }

void Form1::lblDXSpot_MouseMove(int Index, int, int, float, float) {
  if (!lblDXSpot.Exists(Index)) return;
  lblDupe.SetCaption(lblDXSpot[Index].ToolTipText());
}

}  // namespace app
