#include "logtools/frmimport.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/reload.h"
#include "logtools/appendlog.h"
#include "platform/design.h"
#include "platform/instances.h"
#include "platform/trace.h"

namespace logtools {

namespace {

constexpr platform::Color kRed = 0x0000FF;

void DesignButton(platform::CommandButton& button, const char* caption, double left, double top) {
  platform::DesignCaption(button, QString::fromUtf8(caption), left, top, 1200, 375);
}

void DesignNote(platform::Label& label, const char* caption, double top) {
  platform::DesignCaption(label, QString::fromUtf8(caption), 240, top, 6600, 480);
  label.SetWordWrap(true);
}

}  // namespace

frmImport::frmImport() : Form(QStringLiteral("frmImport")) {
  SetCaption(QStringLiteral("Append Data or Restore From Backup"));
  SetBorderStyle(platform::BorderFixedSingle);
  // Designed by its client area.
  Move(0, 0, 7080 + 2 * BorderTwips, 3840 + CaptionTwips + BorderTwips);
  LayOut();
  Connect();
}

void frmImport::LayOut() {
  platform::DesignCaption(Label1, QStringLiteral("Enter path and file to append to your primary file:"), 240, 240,
                          6000, 255);
  Text1.Move(240, 540, 5280, 315);
  Text1.NameAfter(Label1);
  DesignButton(Command3, "Browse", 5640, 510);
  platform::DesignCaption(Check1, QStringLiteral("Eliminate Duplicates from imported file"), 240, 1020, 4800, 315);
  Check1.SetValue(1);
  DesignButton(Command2, "Append", 240, 1500);
  DesignButton(Command1, "Done", 1560, 1500);
  DesignNote(Label2,
             "This function appends (adds) records to your existing primary data file.  Once initiated, it can not be "
             "undone.",
             2100);
  DesignNote(Label3,
             "If you wish to clear your primary data file before proceeding, first exit this form and click New from "
             "the File menu.",
             2640);
  DesignNote(Label4, "Be very careful!  Improper use of this function will render your database unuseable!", 3180);
  Label4.SetForeColor(kRed);
}

void frmImport::Connect() {
  WIRE(Command1, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Check1, Click);
}

void frmImport::Form_Load() {
  platform::SkipOnError(lcLogtools, [this] {
    app::ModFormResize::FitToScreen(*this, app::ModFormResize::ScreenPlacement::QuarterDown);
  });
}

void frmImport::Command1_Click() { Hide(); }

// Browse: a cancelled or failing dialog only beeps, the path typed stays.
void frmImport::Command3_Click() {
  try {
    cdbFile.CancelError = true;
    cdbFile.Filter = QStringLiteral("*.DAT; *.MDB|*.DAT; *.MDB");
    cdbFile.FilterIndex = 1;
    cdbFile.FileName.clear();
    cdbFile.ShowOpen();
    Text1.SetText(cdbFile.FileName);
    app::SelectProgramFolder();
    Command2.SetFocus();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogtools, error);
    platform::Beep();
  }
}

// Only switching elimination off asks, and anything but Yes ticks the box again.
void frmImport::Check1_Click() {
  if (Check1.Value() != 0) return;
  const int answer = platform::MsgBox(QStringLiteral("Are you sure?  Once imported, duplicates can only be removed "
                                                     "manually and will not be identified by the program."),
                                      platform::MsgBoxStyle::YesNo, QStringLiteral("Are you sure"));
  if (answer == platform::MsgBoxResult::Yes) return;
  Check1.SetValue(1);
  Check1.SetFocus();
}

// Appending the live log onto itself is refused before anything is read. The contacts go in one
// by one; whatever stops the append keeps those added before it, and the reload that follows a
// complete append shows them all.
void frmImport::Command2_Click() {
  logging::BackupTickCount = 0;
  logging::DupeFound = 0;
  const QString path = Text1.Text().trimmed();
  if (IsLiveLogFile(path, app::LogFilePath)) {
    platform::Beep();
    platform::MsgBox(QStringLiteral("You can not append the same file onto itself."), platform::MsgBoxStyle::OKOnly,
                     QStringLiteral("Invalid Request!"));
    return;
  }
  SetMousePointer(platform::MousePointerHourglass);
  try {
    AppendLogFile(path, Check1.Value() == 1);
  } catch (const std::exception& error) {
    platform::TraceError(lcLogtools, error);
    ReportUnreadableFile();
    return;
  }
  platform::Instance<app::Form1>().WorkList();
  platform::SkipOnError(lcLogtools, [this] { Command1.SetFocus(); });
  SetMousePointer(platform::MousePointerDefault);
}

void frmImport::ReportUnreadableFile() {
  SetMousePointer(platform::MousePointerDefault);
  logging::LogRecordset.Close();
  platform::SkipOnError(lcLogtools, [this] { Command1.SetFocus(); });
  platform::Beep();
  platform::MsgBox(QStringLiteral("Unable to read file."), platform::MsgBoxStyle::OKOnly,
                   QStringLiteral("Append Error"));
}

}  // namespace logtools

namespace app {

// The log held is brought up to date before the window opens; a log that cannot be read, after
// the reload's error box, opens no window, as the exports stop.
void Form1::mnuCombine_Click() {
  if (!WorkList()) return;
  platform::Instance<logtools::frmImport>().Show(platform::Modal);
  if (platform::IsLoaded<logtools::frmImport>()) platform::Instance<logtools::frmImport>().Unload();
}

}  // namespace app
