#include "logging/preferences.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"
#include "platform/trace.h"
#include "rig/globals.h"

#include <QFileInfo>

namespace logging {

namespace {

QString PreferencesFilePath() { return app::ProgramDir + QStringLiteral("\\") + PreferencesFileName; }

}  // namespace

void WritePreferencesFile(const QString& path, const PreferenceValues& v) {
  const std::initializer_list<platform::QuotedValue> lines = {
      v.OwnCall,      v.OwnGrid,         v.UtcOffset,          v.CurrentMode,     v.CurrentBand,    v.StoredOnTime,
      v.ContestType,  v.RstRecord,       v.FormSize,           v.Rover,           v.OwnLongitude,   v.OwnLatitude,
      v.PanelView,    v.WorkedGridColor, v.RemainingGridColor, v.LogFilePath,     v.RefreshRate,    v.VoiceNavigation,
      v.RigType,      v.TaskBarDisplay,  v.ListPrevious};
  platform::QuotedTextWriter writer(path);
  for (const platform::QuotedValue& line : lines) writer.WriteRecord({line});
  writer.Close();
}

PreferenceValues ReadPreferencesFile(const QString& path) {
  PreferenceValues v;
  // A first start has no file yet: it starts from the values above and writes them at its first save.
  if (!QFileInfo::exists(platform::NativePath(path))) return v;
  platform::TypedValueReader file(path, PreferencesFileName);
  v.OwnCall = file.Text();
  v.OwnGrid = file.Text();
  v.UtcOffset = file.Single();
  v.CurrentMode = file.Text();
  v.CurrentBand = file.Text();
  v.StoredOnTime = file.Single();
  v.ContestType = file.Number<std::uint8_t>();
  v.RstRecord = file.Number<std::uint8_t>();
  v.FormSize = file.Number<std::uint8_t>();
  v.Rover = file.Number<std::uint8_t>();
  v.OwnLongitude = file.Double();
  v.OwnLatitude = file.Double();
  v.PanelView = file.Text();
  v.WorkedGridColor = file.Number<std::int32_t>();
  v.RemainingGridColor = file.Number<std::int32_t>();
  v.LogFilePath = file.Text();
  v.RefreshRate = file.Single();
  v.VoiceNavigation = file.Number<std::uint8_t>();
  v.RigType = file.Text();
  v.TaskBarDisplay = file.Number<std::uint8_t>();
  v.ListPrevious = file.Number<std::uint8_t>();
  return v;
}

PreferenceValues CurrentPreferences(const QString& panelView) {
  return {app::OwnCall,      app::OwnGrid,         app::UtcOffset,        CurrentMode,         CurrentBand,
          StoredOnTime,      app::ContestType,     RstRecord,             app::FormSize,       app::Rover,
          app::OwnLongitude, app::OwnLatitude,     panelView,             WorkedGridColor,     RemainingGridColor,
          app::LogFilePath,  RefreshRate,          VoiceNavigation,       rig::RigType,        app::TaskBarDisplay,
          ListPrevious};
}

void TakePreferences(const PreferenceValues& v) {
  app::OwnCall = v.OwnCall;
  app::OwnGrid = v.OwnGrid;
  app::UtcOffset = v.UtcOffset;
  CurrentMode = v.CurrentMode;
  CurrentBand = v.CurrentBand;
  StoredOnTime = v.StoredOnTime;
  app::ContestType = v.ContestType;
  RstRecord = v.RstRecord;
  app::FormSize = v.FormSize;
  app::Rover = v.Rover;
  app::OwnLongitude = v.OwnLongitude;
  app::OwnLatitude = v.OwnLatitude;
  WorkedGridColor = v.WorkedGridColor;
  RemainingGridColor = v.RemainingGridColor;
  app::LogFilePath = v.LogFilePath;
  RefreshRate = v.RefreshRate;
  VoiceNavigation = v.VoiceNavigation;
  rig::RigType = v.RigType;
  app::TaskBarDisplay = v.TaskBarDisplay;
  ListPrevious = v.ListPrevious;
}

}  // namespace logging

namespace app {

// Writes the whole preferences file from the current values. A file that cannot be written is
// reported once and the program goes on with its values in memory; the old file stays whole.
void Form1::SavePref() {
  const QString path = logging::PreferencesFilePath();
  try {
    SelectProgramFolder();
    logging::WritePreferencesFile(path, logging::CurrentPreferences(Command2.Caption()));
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcLogging, error);
    platform::MsgBox(error.Description() + QStringLiteral("  ") + platform::NativePath(path),
                     platform::MsgBoxStyle::OKOnly, QStringLiteral("File, Network or Install Error."));
  }
}

QString Form1::ReadPreferences() {
  SelectProgramFolder();
  const logging::PreferenceValues values = logging::ReadPreferencesFile(logging::PreferencesFilePath());
  logging::TakePreferences(values);
  if (values.ListPrevious == 1) mnuListPrevious.SetChecked(true);
  return values.PanelView;
}

}  // namespace app
