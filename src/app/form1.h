#pragma once

#include "platform/dialogs.h"
#include "platform/forms.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>

namespace app {

// The main window: the entry line, the contact list, score, clocks, the band lists or the grid
// map, the DX area and the menu bar. Its controls are declared here once; each subsystem defines
// the procedures and handlers it owns in its own file, and each group of declarations below
// starts with the name of that file.
// Many names do not explain themselves (txtSec is the grid box, Label3 the "New" indicator): the
// comments below say what each is, tests/app/form1_test.cpp tables every control's kind, caption
// and visibility, and src/platform/README.md explains the life cycle and the wiring.
class Form1 : public platform::Form {
 public:
  // ---- src/app/form1.cpp: the design (the controls below, laid out and wired by the private
  // Design and Connect procedures at the end)
  Form1();
  // The first ten bands' panel controls, in band order ("50 M" first).
  std::array<platform::Label*, 10> BandNameLabels();
  std::array<platform::Label*, 10> BandCountLabels();
  std::array<platform::ListBox*, 10> BandLists();

  // ---- Entry line
  platform::Label lblCallHeader{this, "lblCallHeader"};
  platform::Label lblRSTRHeader{this, "lblRSTRHeader"};
  platform::Label lblSecHeader{this, "lblSecHeader"};
  platform::Label lblRSTSHeader{this, "lblRSTSHeader"};
  platform::TextBox txtCall{this, "txtCall"};
  platform::TextBox txtRSTR{this, "txtRSTR"};
  platform::TextBox txtSec{this, "txtSec"};
  platform::TextBox txtRSTS{this, "txtRSTS"};
  platform::TextBox txtPostConTime{this, "txtPostConTime"};
  platform::TextBox txtPostConDate{this, "txtPostConDate"};
  platform::Label lblPostConDate{this, "lblPostConDate"};
  platform::Label lblPostConTime{this, "lblPostConTime"};
  platform::Label lblHeadingHeader{this, "lblHeadingHeader"};
  platform::Label Label23{this, "Label23"};  // heading, degrees
  platform::Label lblDistanceHeader{this, "lblDistanceHeader"};
  platform::Label Label24{this, "Label24"};  // distance, miles
  platform::Label Label3{this, "Label3"};    // "New": the grid is not yet worked on the band
  platform::Label Label30{this, "Label30"};  // the mode; a click toggles it

  // ---- Message lines
  platform::Label lblDialog{this, "lblDialog"};
  platform::Label lblDupe{this, "lblDupe"};

  // ---- Buttons
  platform::CommandButton cmdClear{this, "cmdClear"};
  platform::CommandButton cmdLogOn{this, "cmdLogOn"};
  platform::Label lblDupHeader{this, "lblDupHeader"};
  platform::CommandButton cmdDup{this, "cmdDup"};
  platform::CommandButton cmdList{this, "cmdList"};
  platform::CommandButton Command3{this, "Command3"};  // band filter of the contact list
  platform::CommandButton Command2{this, "Command2"};  // band lists or grid map
  platform::CommandButton cmdEdit{this, "cmdEdit"};
  platform::CommandButton cmdDelete{this, "cmdDelete"};

  // ---- Score, band, clocks and rates
  platform::Label lblTotConHeader{this, "lblTotConHeader"};
  platform::Label lblTotCon{this, "lblTotCon"};
  platform::Label lblTotSecHeader{this, "lblTotSecHeader"};
  platform::Label lblTotSec{this, "lblTotSec"};
  platform::Label lblsectogoHeader{this, "lblsectogoHeader"};
  platform::Label lblsectogo{this, "lblsectogo"};
  platform::Label lblTotScoreHeader{this, "lblTotScoreHeader"};
  platform::Label lblTotScore{this, "lblTotScore"};
  platform::Label lblBandHeader{this, "lblBandHeader"};
  platform::Label Label21{this, "Label21"};  // the current band
  platform::Label lblLocalHeader{this, "lblLocalHeader"};
  platform::Label lblCurTime{this, "lblCurTime"};
  platform::Label Label16{this, "Label16"};  // AM or PM
  platform::Label lblUtcHeader{this, "lblUtcHeader"};
  platform::Label lblutctime{this, "lblutctime"};
  platform::Label lblTimeOnHeader{this, "lblTimeOnHeader"};
  platform::Label lblttrack{this, "lblttrack"};
  platform::Label lblAQSO60Header{this, "lblAQSO60Header"};
  platform::Label lblAQSO60{this, "lblAQSO60"};
  platform::Label lblAQSO20Header{this, "lblAQSO20Header"};
  platform::Label lblAQSO20{this, "lblAQSO20"};
  platform::Label Label2{this, "Label2"};  // own call, as the set-up leaves it
  platform::Label Label4{this, "Label4"};  // own grid

  // ---- Contact list
  platform::ListView ListView1{this, "ListView1"};

  // ---- Band-list panel: band name labels, worked-grid lists, count labels
  platform::Label lbl160{this, "lbl160"};
  platform::Label lbl80{this, "lbl80"};
  platform::Label lbl40{this, "lbl40"};
  platform::Label lbl20{this, "lbl20"};
  platform::Label lbl15{this, "lbl15"};
  platform::Label lbl100{this, "lbl100"};
  platform::Label Label15{this, "Label15"};
  platform::Label Label17{this, "Label17"};
  platform::Label Label18{this, "Label18"};
  platform::Label Label19{this, "Label19"};
  platform::ListBox List1{this, "List1"};
  platform::ListBox List2{this, "List2"};
  platform::ListBox List3{this, "List3"};
  platform::ListBox List4{this, "List4"};
  platform::ListBox List5{this, "List5"};
  platform::ListBox List6{this, "List6"};
  platform::ListBox List7{this, "List7"};
  platform::ListBox List8{this, "List8"};
  platform::ListBox List9{this, "List9"};
  platform::ListBox List10{this, "List10"};
  platform::Label Label10{this, "Label10"};  // below the lists; the lists reach down to it
  platform::Label lbl50{this, "lbl50"};
  platform::Label lbl144{this, "lbl144"};
  platform::Label lbl222{this, "lbl222"};
  platform::Label lbl432{this, "lbl432"};
  platform::Label lbl902{this, "lbl902"};
  platform::Label lbl13{this, "lbl13"};
  platform::Label lbl23{this, "lbl23"};
  platform::Label lbl35{this, "lbl35"};
  platform::Label lbl58{this, "lbl58"};
  platform::Label lbl10{this, "lbl10"};

  // ---- Grid map, in the band-list panel's place
  platform::ControlArray<platform::Label> lblGrid{this, "lblGrid"};  // 0..164, 15 rows of 11
  platform::CommandButton Command7{this, "Command7"};  // map one row north
  platform::CommandButton Command4{this, "Command4"};  // map one row south
  platform::CommandButton Command5{this, "Command5"};  // map one column west
  platform::CommandButton Command6{this, "Command6"};  // map one column east

  // ---- DX area: spot list or band map
  platform::ListView txtDX{this, "txtDX"};
  platform::Label lblDX{this, "lblDX"};
  platform::Line LineDX{this, "LineDX"};
  platform::ControlArray<platform::Label> lblFreqSpot{this, "lblFreqSpot"};  // 0..4
  platform::ControlArray<platform::Label> lblDXSpot{this, "lblDXSpot"};      // 0..49, one per spot slot

  // ---- Timers
  platform::Timer Timer1{this, "Timer1"};  // rate figures
  platform::Timer Timer2{this, "Timer2"};  // clocks
  platform::Timer Timer3{this, "Timer3"};  // shared-log poll and backup
  platform::Timer Timer4{this, "Timer4"};  // starts the station network once

  platform::CommonDialog cdbFile;

  // ---- Menu bar, in menu order
  platform::Menu mnuFile{this, "mnuFile"};
  platform::Menu mnuNew{&mnuFile, "mnuNew"};
  platform::Menu mnuOpen{&mnuFile, "mnuOpen"};
  platform::Menu mnuFileSep1{&mnuFile, "mnuFileSep1"};
  platform::Menu mnuArchive{&mnuFile, "mnuArchive"};
  platform::Menu mnuFileSep2{&mnuFile, "mnuFileSep2"};
  platform::Menu mnuWriteSumm{&mnuFile, "mnuWriteSumm"};
  platform::Menu mnuFileSep3{&mnuFile, "mnuFileSep3"};
  platform::Menu mnuQuellbookExport{&mnuFile, "mnuQuellbookExport"};
  platform::Menu mnuExportADIF{&mnuFile, "mnuExportADIF"};
  platform::Menu mnuFileSep4{&mnuFile, "mnuFileSep4"};
  platform::Menu mnuCombine{&mnuFile, "mnuCombine"};
  platform::Menu mnuFileSep5{&mnuFile, "mnuFileSep5"};
  platform::Menu mnuCopyListtoClipboard{&mnuFile, "mnuCopyListtoClipboard"};
  platform::Menu mnuFileSep6{&mnuFile, "mnuFileSep6"};
  platform::Menu mnuExit{&mnuFile, "mnuExit"};

  platform::Menu mnuOptions{this, "mnuOptions"};
  platform::Menu mnuTransmit{&mnuOptions, "mnuTransmit"};
  platform::Menu mnuCWSetup{&mnuTransmit, "mnuCWSetup"};
  platform::Menu mnuPhoneSetup{&mnuTransmit, "mnuPhoneSetup"};
  platform::Menu mnuOptionsSep1{&mnuOptions, "mnuOptionsSep1"};
  platform::Menu mnuAppearance{&mnuOptions, "mnuAppearance"};
  platform::Menu mnuFormSize{&mnuAppearance, "mnuFormSize"};
  platform::Menu mnuColors{&mnuAppearance, "mnuColors"};
  platform::Menu mnuTaskBar{&mnuAppearance, "mnuTaskBar"};
  platform::Menu mnuOptionsSep2{&mnuOptions, "mnuOptionsSep2"};
  platform::Menu mnuRst{&mnuOptions, "mnuRst"};
  platform::Menu mnuRstRecord{&mnuRst, "mnuRstRecord"};
  platform::Menu mnuRstDontRecord{&mnuRst, "mnuRstDontRecord"};
  platform::Menu mnuOptionsSep3{&mnuOptions, "mnuOptionsSep3"};
  platform::Menu mnuRefreshrate{&mnuOptions, "mnuRefreshrate"};
  platform::Menu mnuOptionsSep4{&mnuOptions, "mnuOptionsSep4"};
  platform::Menu mnuRigInterface{&mnuOptions, "mnuRigInterface"};
  platform::Menu mnuOptionsSep5{&mnuOptions, "mnuOptionsSep5"};
  platform::Menu mnuDXSpot{&mnuOptions, "mnuDXSpot"};
  platform::Menu mnuDXSpotting{&mnuDXSpot, "mnuDXSpotting"};
  platform::Menu mnuViewSpectrumMap{&mnuDXSpot, "mnuViewSpectrumMap"};
  platform::Menu mnuOptionsSep6{&mnuOptions, "mnuOptionsSep6"};
  platform::Menu mnuBlind{&mnuOptions, "mnuBlind"};
  platform::Menu mnuOptionsSep7{&mnuOptions, "mnuOptionsSep7"};
  platform::Menu mnuListPrevious{&mnuOptions, "mnuListPrevious"};
  platform::Menu mnuOptionsSep8{&mnuOptions, "mnuOptionsSep8"};
  platform::Menu mnuPostContest{&mnuOptions, "mnuPostContest"};

  platform::Menu mnuSetup{this, "mnuSetup"};

  platform::Menu mnuBand{this, "mnuBand"};
  platform::Menu mnu160{&mnuBand, "mnu160"};  // "50 MHz": the names are not the bands
  platform::Menu mnu80{&mnuBand, "mnu80"};
  platform::Menu mnu40{&mnuBand, "mnu40"};
  platform::Menu mnu20{&mnuBand, "mnu20"};
  platform::Menu mnu15{&mnuBand, "mnu15"};
  platform::Menu mnu10{&mnuBand, "mnu10"};
  platform::Menu mnu23{&mnuBand, "mnu23"};
  platform::Menu mnu35{&mnuBand, "mnu35"};
  platform::Menu mnu58{&mnuBand, "mnu58"};
  platform::Menu mnu10g{&mnuBand, "mnu10g"};
  platform::Menu mnu24g{&mnuBand, "mnu24g"};
  platform::Menu mnu47g{&mnuBand, "mnu47g"};
  platform::Menu mnu75g{&mnuBand, "mnu75g"};
  platform::Menu mnu120g{&mnuBand, "mnu120g"};
  platform::Menu mnu142g{&mnuBand, "mnu142g"};
  platform::Menu mnu241g{&mnuBand, "mnu241g"};
  platform::Menu mnu300g{&mnuBand, "mnu300g"};
  platform::Menu mnuBandSep1{&mnuBand, "mnuBandSep1"};
  platform::Menu mnuPrivileges{&mnuBand, "mnuPrivileges"};

  platform::Menu mnuMode{this, "mnuMode"};
  platform::Menu mnuCW{&mnuMode, "mnuCW"};
  platform::Menu mnuPhone{&mnuMode, "mnuPhone"};

  platform::Menu mnuRecall{this, "mnuRecall"};
  platform::Menu mnuGraph{this, "mnuGraph"};
  platform::Menu mnuNetwork{this, "mnuNetwork"};
  platform::Menu mnuHelp{this, "mnuHelp"};

  // The procedures and handlers below stand in groups by the file that defines them.

  // ---- src/app/mainload.cpp: the start-up, the window's life and its end
  void Form_Load() override;
  void Form_Activate() override;
  void Form_MouseMove(int Button, int Shift, float X, float Y) override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void Form_Terminate() override;
  void mnuExit_Click();
  void CheckUTCOffset();  // offers the PC clock's UTC offset when it differs from UtcOffset
  void LoadCWMessages();  // fills the CW window from cw.txt

  // ---- src/app/keyboard.cpp: the keys the window sees before its controls
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;

  // ---- src/app/setup.cpp: the station set-up
  void mnuSetup_Click();

  // ---- src/app/windowmenus.cpp: the menu items that open the other windows
  void mnuWriteSumm_Click();
  void mnuCWSetup_Click();
  void mnuPhoneSetup_Click();
  void mnuColors_Click();
  void mnuRigInterface_Click();
  void mnuDXSpotting_Click();
  void mnuViewSpectrumMap_Click();
  void mnuBlind_Click();
  void mnuPrivileges_Click();
  void mnuGraph_Click();
  void mnuNetwork_Click();
  void mnuHelp_Click();

  // ---- src/app/panellayout.cpp: the window's size on the screen, the band lists or the grid map
  void mnuFormSize_Click();
  void mnuTaskBar_Click();
  void HideBandLists();     // the grid map in the band lists' place
  void ShowBandLists();     // the band lists in the grid map's place
  void ResizeBandLists();   // the band lists reach down to Label10
  void ResizeForTaskBar();  // lays the window out on the screen or on the work area

  // ---- src/app/mainrescale.cpp
  void ResizeControls();  // shrinks the window to FormSize percent of the screen

  // ---- src/logging/entryline.cpp: the entry line's boxes, and the menu items that fill them
  void txtCall_KeyPress(int& KeyAscii);
  void txtCall_GotFocus();
  void txtCall_Change();
  void txtRSTR_KeyPress(int& KeyAscii);
  void txtRSTR_GotFocus();
  void txtRSTS_KeyPress(int& KeyAscii);
  void txtRSTS_GotFocus();
  void txtRSTS_Change();
  void txtSec_KeyPress(int& KeyAscii);
  void txtSec_GotFocus();
  void txtSec_Change();
  void txtPostConDate_KeyPress(int& KeyAscii);
  void txtPostConDate_GotFocus();
  void txtPostConTime_KeyPress(int& KeyAscii);
  void txtPostConTime_GotFocus();
  void mnuRstRecord_Click();
  void mnuRstDontRecord_Click();
  void mnuListPrevious_Click();
  void mnuPostContest_Click();
  void mnuRecall_Click();

  // ---- src/logging/entrybuttons.cpp: the buttons beside the entry line
  void cmdClear_Click();
  void cmdDelete_Click();
  void cmdEdit_Click();
  void cmdDup_Click();
  void cmdList_Click();

  // ---- src/logging/commit.cpp: contact logging, the commit
  void Mains();   // commits the contact standing in the entry line
  void frmcmp();  // checks that the entry line holds a grid and a call

  // ---- src/logging/dupecheck.cpp: the dupe checks the commit and the call box make
  void dupcheck();                       // refuses a dupe found in the log table
  void dupcheck2();                      // warns of a dupe in the in-memory log; can list earlier contacts
  void PartialCallCheck(int& KeyAscii);  // lists logged calls that begin with what is typed
  void DupeHoldTimeout();                // holds the call box's keys until 3 s after a dupe

  // ---- src/logging/contactlist.cpp: the contact list
  void Command2_Click();
  void Command3_Click();
  void ListView1_Click();
  void ListView1_GotFocus();
  void ListView1_ColumnClick(int ColumnIndex);
  void ListView1_MouseUp(int Button, int Shift, float X, float Y);
  void ListContacts();  // refills the contact list

  // ---- src/logging/clocks.cpp: the clocks, the on-time and the rate figures
  void cmdLogOn_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer4_Timer();
  void TimeStats();  // the rate figures

  // ---- src/logging/score.cpp
  void Labeldisplay();     // score and per-band labels
  void ShowCurrentBand();  // shows, saves and marks the current band

  // ---- src/logging/bandmode.cpp: the current band and mode, their menus and panel labels
  // The 17 band menus, in band order ("50 M" first).
  std::array<platform::Menu*, 17> BandMenus();
  void Label30_Click();
  void lbl160_Click();
  void lbl80_Click();
  void lbl40_Click();
  void lbl20_Click();
  void lbl15_Click();
  void lbl100_Click();
  void Label15_Click();
  void Label17_Click();
  void Label18_Click();
  void Label19_Click();
  void lbl50_Click();
  void lbl144_Click();
  void lbl222_Click();
  void lbl432_Click();
  void lbl902_Click();
  void lbl13_Click();
  void lbl23_Click();
  void lbl35_Click();
  void lbl58_Click();
  void lbl10_Click();
  void mnu160_Click();
  void mnu80_Click();
  void mnu40_Click();
  void mnu20_Click();
  void mnu15_Click();
  void mnu10_Click();
  void mnu23_Click();
  void mnu35_Click();
  void mnu58_Click();
  void mnu10g_Click();
  void mnu24g_Click();
  void mnu47g_Click();
  void mnu75g_Click();
  void mnu120g_Click();
  void mnu142g_Click();
  void mnu241g_Click();
  void mnu300g_Click();
  void mnuCW_Click();
  void mnuPhone_Click();
  // The rig window makes the log follow the rig through these two.
  void BandFreqConversion(float frequencyValue);  // selects the band of a frequency in MHz
  void ModeSelection(const QString& strMode);     // selects "PH" or "CW"
  void BandConflictWarning();  // warns of another station of the network on the band

  // ---- src/logging/gridmap.cpp: the grid map, the 50 M and 144 M lists' clicks, a spot's button
  void List1_Click();
  void List2_Click();
  void lblGrid_Click(int Index);
  void lblGrid_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void lblGrid_Change(int Index);
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void lblDXSpot_MouseDown(int Index, int Button, int Shift, float X, float Y);
  void GridFill();                  // the grid map's square names
  void HighlightWorkedGrids();      // colours the current band's worked squares
  void ResetGridMapColors();        // every square back to the colour of grids still to work
  void ColorChange(QString& grid);  // marks a grid as worked on the grid map

  // ---- src/logging/gridheading.cpp
  void GridHeading();  // heading and distance to the grid typed into txtSec

  // ---- src/logging/poll.cpp: the shared log's poll
  void Timer3_Timer();
  void mnuRefreshrate_Click();
  void FileSize();  // polls the table's row count and reloads on a change

  // ---- src/logging/reload.cpp: reading the whole log from the table
  void mnuOpen_Click();
  bool mnuopen2();              // reloads the whole log from the table; false when it could not
  bool WorkList();              // the reload every other part calls; false when it could not
  void AskOpenExistingLog();    // the start-up question: continue the log or start a new one

  // ---- src/logging/newlog.cpp
  void mnuNew_Click();
  void NewLog();  // empties the log after the operator confirms

  // ---- src/logging/archive.cpp
  void mnuArchive_Click();

  // ---- src/logging/backup.cpp
  void BackupLog();  // writes the backup file from the in-memory log

  // ---- src/logging/preferences.cpp
  void SavePref();            // writes the preferences file
  QString ReadPreferences();  // takes the preferences file's values; returns the panel view saved

  // ---- src/logtools/exportmenus.cpp: the exports and the list on the clipboard
  void mnuQuellbookExport_Click();
  void mnuExportADIF_Click();
  void mnuCopyListtoClipboard_Click();

  // ---- src/logtools/frmimport.cpp: the append of another log
  void mnuCombine_Click();

  // ---- src/spotting/spotlist.cpp: the spot list and the DX area's mouse
  void txtDX_Click();
  void txtDX_DblClick();
  void lblDX_Click();
  void lblDX_DblClick();
  void lblDXSpot_MouseMove(int Index, int Button, int Shift, float X, float Y);
  // The spotting window hands each DX spot on (frequency in kHz).
  void BandMapSpots(const QString& qDXSpotCall, const QString& qDXSpotFreq, const QString& qDXSpotRecord);
  // The spotting window's source dropped and is being opened again (true), or is back or closed.
  void ShowSpotSourceDown(bool down);

  // ---- src/spotting/bandmap.cpp: the band map of the DX area; it acts only while lblDX shows
  void BandMapScale();          // the frequency scale of the current band
  void DisplayBandMapLabels();  // the spots within the scale
  void RefreshBandMap();        // redraws the spots
  void PacketResize();          // opens, closes or switches the DX area as the spotting window chose

 private:
  // 1 from a Ctrl shortcut's key-down to the character of the same stroke, which is swallowed
  // (src/app/keyboard.cpp).
  std::uint8_t CtrlKeyPending = 0;

  // ---- src/logging/gridmap.cpp: the grid map's squares by name
  int FirstSquareNamed(const QString& grid);  // -1 when no square shows the grid
  // Case-folded square names and the first square of each; made again when next asked after a
  // square was renamed.
  QHash<QString, int> squaresByName_;
  bool squaresRenamed_ = true;

  // ---- src/app/form1.cpp: the constructor's steps
  void DesignEntryLine();
  void DesignMessagesAndButtons();
  void DesignScoreAndClocks();
  void DesignContactList();
  void DesignBandPanel();
  void DesignGridMap();
  void DesignDXArea();
  void DesignTimers();
  void DesignMenus();
  void ConnectEntryEvents();
  void ConnectPanelEvents();
  void ConnectOtherEvents();
  void ConnectMenuEvents();
};

}  // namespace app
