#include "app/frmstationid.h"

#include "app/globalpreferences.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "app/program.h"
#include "app/servername.h"
#include "app/stationfields.h"
#include "logging/logstore.h"
#include "logging/logtable.h"
#include "logtools/form5.h"
#include "network/frmnetwork.h"
#include "platform/design.h"
#include "platform/errors.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/numbertext.h"
#include "platform/paths.h"
#include "platform/trace.h"

#include <QStringList>

#include <array>
#include <exception>

namespace app {

namespace {

// What Done says when the log database cannot be opened, line by line.
const QStringList OpenFailureLines = {
    QStringLiteral("Unable to find your log file (Corvane.MDB).  Please very the location of the log file and try "
                   "again."),
    QString(),
    QStringLiteral("If you are using Windows 95 and are:"),
    QString(),
    QStringLiteral("1. Certain you have entered the path correctly."),
    QStringLiteral("2. Certain your network is set up correctly (or are accessing the log file on this local PC)."),
    QString(),
    QStringLiteral("The probable cause is that you did not install dcom95 before installing this program.  If you "
                   "suspect that is the case, perform the following steps :"),
    QString(),
    QStringLiteral("- Exit this program"),
    QStringLiteral("- Double Click My Computer"),
    QStringLiteral("- Double Click Control Panel"),
    QStringLiteral("- Double Click Add/Remove Programs"),
    QStringLiteral("- Select this program"),
    QStringLiteral("- Click OK"),
    QStringLiteral("- Using Windows Explorer, navigate to your installation files"),
    QStringLiteral("- Double Click DCOM95.EXE"),
    QStringLiteral("- After DCOM95.EXE has completed installation, Double Click Setup.exe"),
};

void DesignBox(platform::TextBox& box, int maxLength, double left, double top, double width) {
  box.SetMaxLength(maxLength);
  box.Move(left, top, width, 315);
}

void DesignOption(platform::OptionButton& option, const char* caption, double left, double top, double width) {
  option.SetCaption(QString::fromLatin1(caption));
  option.Move(left, top, width, 285);
}

void DesignButton(platform::CommandButton& button, const char* caption, double left, double top) {
  button.SetCaption(QString::fromLatin1(caption));
  button.Move(left, top, 1200, 375);
}

}  // namespace

frmStationID::frmStationID() : Form(QStringLiteral("frmStationID")) {
  SetCaption(QStringLiteral(" Amateur Station I.D."));
  Move(0, 0, 8520, 6000);
  LayOut();
  Connect();
}

// Members are declared in the focus order, which is therefore their tab order.
void frmStationID::LayOut() {
  platform::DesignCaption(lblCall, "Please Enter your Call Sign:", 120, 180, 2520, 255);
  DesignBox(Text1, 0, 2700, 150, 1440);
  platform::DesignCaption(lblGrid, "Your Grid Square:", 120, 600, 2520, 255);
  DesignBox(Text5, 4, 2700, 570, 900);
  platform::DesignCaption(lblUtc, "Hours added for UTC:", 120, 1020, 2520, 255);
  DesignBox(Text6, 6, 2700, 990, 900);
  platform::DesignCaption(lblLatitude, "Latitude:", 120, 1440, 2520, 255);
  DesignBox(Text3, 6, 2700, 1410, 900);
  platform::DesignCaption(lblLongitude, "Longitude:", 120, 1860, 2520, 255);
  DesignBox(Text2, 6, 2700, 1830, 900);
  Text1.NameAfter(lblCall);
  Text5.NameAfter(lblGrid);
  Text6.NameAfter(lblUtc);
  Text3.NameAfter(lblLatitude);
  Text2.NameAfter(lblLongitude);

  fraContest.SetCaption(QStringLiteral("Contest:"));
  fraContest.Move(4320, 60, 4020, 1980);
  DesignOption(Option1, "ARRL January VHF Sweepstakes", 150, 270, 3720);
  DesignOption(Option2, "ARRL June VHF QSO Party", 150, 600, 3720);
  DesignOption(Option3, "ARRL UHF Contest", 150, 930, 3720);
  DesignOption(Option4, "ARRL September VHF QSO Party", 150, 1260, 3720);
  DesignOption(Option7, "CQ World Wide VHF", 150, 1590, 3720);
  Option1.SetValue(true);

  fraStation.SetCaption(QStringLiteral("Station:"));
  fraStation.Move(4320, 2160, 4020, 660);
  DesignOption(Option5, "Fixed", 150, 270, 1500);
  DesignOption(Option6, "Rover", 1860, 270, 1500);
  Option5.SetValue(true);

  DesignButton(Command1, "Done", 120, 2445);
  DesignButton(Command4, "Help", 1500, 2445);
  Command4.SetVisible(false);
  DesignButton(Command3, "Cancel", 2880, 2445);
  Command3.SetVisible(false);

  platform::DesignCaption(lblPath, "Path to network log file:", 120, 3060, 4000, 255);
  DesignBox(Text8, 0, 120, 3360, 6840);
  Text8.NameAfter(lblPath);
  DesignButton(Command2, "Browse", 7140, 3330);
  platform::DesignCaption(lblNetworkNote,
              "The log file can be stored locally on this PC, or on any other PC on your Local Area Netrwork.  If you "
              "are operating with more than one station in network configuration, it is imperative that all PC's "
              "reference the SAME log file location on the SAME PC in your Network Neighborhood.  Make sure that all "
              "PC's are updating the same data file prior to the contest.",
              120, 3840, 8220, 1020);
  lblNetworkNote.SetWordWrap(true);
  platform::DesignCaption(lblCopyNote,
              "To keep the log file in another folder, first copy the empty Corvane.MDB there with your file manager, "
              "then enter its path above.",
              120, 4980, 8220, 480);
  lblCopyNote.SetWordWrap(true);
}

void frmStationID::Connect() {
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = [this] { Command4_Click(); };
  Text1.KeyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
  Text5.KeyPress = [this](int& KeyAscii) { Text5_KeyPress(KeyAscii); };
  Text6.KeyPress = [this](int& KeyAscii) { Text6_KeyPress(KeyAscii); };
  Text6.LostFocus = [this] { Text6_LostFocus(); };
}

void frmStationID::Form_Load() {
  ModFormResize::ResizeToScreen(*this);
  Text1.SetText(OwnCall);
  Text2.SetText(platform::NumberText(OwnLongitude));
  Text3.SetText(platform::NumberText(OwnLatitude));
  Text5.SetText(OwnGrid);
  Text6.SetText(platform::NumberText(UtcOffset));
  const std::array<platform::OptionButton*, 5> contests = {&Option1, &Option2, &Option3, &Option4, &Option7};
  for (int i = 0; i < 4; ++i) contests[i]->SetValue(false);
  if (ContestType >= 1 && ContestType <= 5) contests[ContestType - 1]->SetValue(true);
  if (Rover != 0) {
    Option6.SetValue(true);
  } else {
    Option5.SetValue(true);
  }
  Text8.SetText(LogFilePathShown(LogFilePath, ProgramDir));
}

// Closing by the window frame leaves as Cancel does; the window stays until the program ends.
void frmStationID::Form_QueryUnload(int& Cancel, int UnloadMode) {
  if (UnloadMode != platform::UnloadFromControlMenu) return;
  Cancel = 1;
  Command3_Click();
}

void frmStationID::Cap3(int& KeyAscii) {
  if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 'a' - 'A';
}

void frmStationID::numberr(int& KeyAscii) {
  if (KeyAscii != platform::KeyBack && (KeyAscii < '-' || KeyAscii > '9')) KeyAscii = 0;
}

bool frmStationID::EnterRunsDone(int& KeyAscii) {
  if (KeyAscii != platform::KeyReturn) return false;
  KeyAscii = 0;
  Command1_Click();
  return true;
}

void frmStationID::Text1_KeyPress(int& KeyAscii) {
  if (!EnterRunsDone(KeyAscii)) Cap3(KeyAscii);
}

void frmStationID::Text5_KeyPress(int& KeyAscii) {
  if (!EnterRunsDone(KeyAscii)) Cap3(KeyAscii);
}

void frmStationID::Text6_KeyPress(int& KeyAscii) {
  if (!EnterRunsDone(KeyAscii)) numberr(KeyAscii);
}

void frmStationID::Text6_LostFocus() {
  if (platform::DecimalOfText(Text6.Text()).has_value()) return;
  platform::Beep();
  platform::MsgBox(QStringLiteral("Please enter a numeric value!"), platform::MsgBoxStyle::OKOnly,
                   QStringLiteral("Numeric value required."));
  Text6.SetFocus();
}

// Done: opens the log database on the typed path and records the station's identity.
void frmStationID::Command1_Click() {
  try {
    for (platform::TextBox* box : {&Text6, &Text3, &Text2}) box->SetText(platform::NumericTextOrZero(box->Text()));
    LogFilePath = platform::TrimBlanks(Text8.Text());
    logging::OpenLogDatabase(LogFilePath);
    Hide();
  } catch (const logging::MissingLogColumns& error) {
    platform::TraceError(lcApp, error);
    ReportOpenFailure(error.Description());
    return;
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    ReportOpenFailure();
    return;
  }
  // The log is open from here on: a failure to record the station in the shared preferences file
  // is its own error, not a log file that cannot be found.
  try {
    ServerName = ServerNameForLogFile(LogFilePath);
    if (platform::IsLoaded<network::frmNetwork>()) platform::Instance<network::frmNetwork>().ShowServerName();
    modGlobalPreferences::SetPreference(QStringLiteral("OWN_CALL"), Text1.Text(), 0);
    modGlobalPreferences::SetPreference(QStringLiteral("OWN_UTC"), Text6.Text(), 0);
    modGlobalPreferences::SetPreference(QStringLiteral("OWN_GRID"), Text5.Text(), 0);
    modGlobalPreferences::SetPreference(QStringLiteral("OWN_LONGITUDE"), Text2.Text(), 0);
    modGlobalPreferences::SetPreference(QStringLiteral("OWN_LATITUDE"), Text3.Text(), 1);
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    platform::Beep();
    platform::MsgBox(QString::fromUtf8(error.what()), platform::MsgBoxStyle::OKOnly, QStringLiteral("File, Network or Install Error."));
  }
}

// A file found but of the wrong shape is named with what it lacks, ahead of the usual advice.
void frmStationID::ReportOpenFailure(const QString& reason) {
  platform::Beep();
  Command3.SetVisible(true);
  Command4.SetVisible(true);
  const QString lines = OpenFailureLines.join(QStringLiteral("\r\n"));
  platform::MsgBox(reason.isEmpty() ? lines : reason + QStringLiteral("\r\n\r\n") + lines,
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("File, Network or Install Error."));
}

// Browse: picks the log database file.
void frmStationID::Command2_Click() {
  try {
    cdbFile.Filter = QStringLiteral("(*.MDB)|*.MDB|(All Files)|*.*");
    cdbFile.FilterIndex = 1;
    cdbFile.FileName = QString();
    cdbFile.CancelError = true;
    cdbFile.ShowOpen();
    Text8.SetText(cdbFile.FileName);
    platform::ChDrive(ProgramDrive);
    platform::ChDir(ProgramDir);
    Command1.SetFocus();
  } catch (const std::exception& error) {
    platform::TraceError(lcApp, error);
    platform::Beep();
  }
}

// Cancel: the program cannot run without its log, so it ends here.
void frmStationID::Command3_Click() {
  if (logging::LogConnection.IsOpen()) logging::LogConnection.Close();
  ExitProgram();
}

// Help: the help text, modally; it is unloaded once the operator closes it.
void frmStationID::Command4_Click() {
  platform::ShowModalAndUnload<logtools::Form5>();
  Command1.SetFocus();
}

}  // namespace app
