#include "app/form1.h"

#include "platform/design.h"

namespace app {

namespace {

using platform::Color;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kNavy = 0x800000;
constexpr Color kRed = 0x0000FF;
constexpr Color kBlack = 0x000000;
constexpr Color kLightGrey = 0xC0C0C0;
constexpr Color kMessageTeal = platform::RGB(0, 192, 192);

constexpr double kEntryFontSize = 12;
constexpr double kClockFontSize = 12;
constexpr double kPanelFontSize = 7;
constexpr double kGridFontSize = 6.75;

// The title's first 60 characters, trimmed, name the program in the exports.
const QString kCaption = QStringLiteral("Varnek's Corvane Log 2.5").leftJustified(64, QLatin1Char(' '));

// Band panel columns: one per band of the first ten, across the right-hand side.
constexpr double kPanelLeft = 3360;
constexpr double kPanelColumnStep = 606;
constexpr double kPanelColumnWidth = 582;
constexpr double kPanelTop = 2640;

void DesignButton(platform::CommandButton& button, const QString& caption, double left, double top,
                  double width, double height) {
  button.SetCaption(caption);
  button.Move(left, top, width, height);
  button.SetTabStop(false);  // Tab cycles through the entry line only
}

void DesignEntryBox(platform::TextBox& box, int maxLength, int tabIndex, double left, double width) {
  box.SetMaxLength(maxLength);
  box.SetTabIndex(tabIndex);
  box.Move(left, 255, width, 375);
  box.SetFontSize(kEntryFontSize);
  box.SetFontBold(true);
}

// A fixed caption with the value it names to its right.
void DesignFigure(platform::Label& header, const QString& caption, platform::Label& value,
                  const QString& design, double top) {
  platform::DesignCaption(header, caption, 60, top, 2220, 225);
  platform::DesignCaption(value, design, 2340, top, 960, 225);
  value.SetFontBold(true);
}

}  // namespace

Form1::Form1() : Form(QStringLiteral("Form1")) {
  SetCaption(kCaption);
  Move(0, 0, 9600, 7200);
  SetKeyPreview(true);
  DesignEntryLine();
  DesignMessagesAndButtons();
  DesignScoreAndClocks();
  DesignContactList();
  DesignBandPanel();
  DesignGridMap();
  DesignDXArea();
  DesignTimers();
  DesignMenus();
  ConnectEntryEvents();
  ConnectPanelEvents();
  ConnectOtherEvents();
  ConnectMenuEvents();
}

std::array<platform::Label*, 10> Form1::BandNameLabels() {
  return {&lbl160, &lbl80, &lbl40, &lbl20, &lbl15, &lbl100, &Label15, &Label17, &Label18, &Label19};
}

std::array<platform::Label*, 10> Form1::BandCountLabels() {
  return {&lbl50, &lbl144, &lbl222, &lbl432, &lbl902, &lbl13, &lbl23, &lbl35, &lbl58, &lbl10};
}

std::array<platform::ListBox*, 10> Form1::BandLists() {
  return {&List1, &List2, &List3, &List4, &List5, &List6, &List7, &List8, &List9, &List10};
}

// ---------------------------------------------------------------------------------------------
// Design values

void Form1::DesignEntryLine() {
  platform::DesignCaption(lblCallHeader, "Call", 60, 60, 1200, 195);
  platform::DesignCaption(lblRSTRHeader, "Rcvd", 1320, 60, 480, 195);
  platform::DesignCaption(lblSecHeader, "Grid", 1860, 60, 900, 195);
  platform::DesignCaption(lblRSTSHeader, "Sent", 2820, 60, 480, 195);
  // The grid comes before the RST sent in the tab order, though it stands left of it.
  DesignEntryBox(txtCall, 13, 0, 60, 1200);
  DesignEntryBox(txtRSTR, 3, 1, 1320, 480);
  DesignEntryBox(txtSec, 8, 2, 1860, 900);
  DesignEntryBox(txtRSTS, 3, 3, 2820, 480);

  platform::DesignCaption(lblHeadingHeader, "Hdg", 60, 675, 360, 240);
  platform::DesignCaption(Label23, "", 420, 675, 480, 240);
  Label23.SetFontBold(true);
  platform::DesignCaption(lblDistanceHeader, "Mi", 960, 675, 300, 240);
  platform::DesignCaption(Label24, "", 1260, 675, 600, 240);
  Label24.SetFontBold(true);
  platform::DesignCaption(Label3, "New", 1860, 675, 900, 240);
  Label3.SetAlignment(platform::AlignCenter);
  Label3.SetFontBold(true);
  Label3.SetForeColor(kRed);
  platform::DesignCaption(Label30, "CW", 2820, 675, 480, 285);
  Label30.SetAlignment(platform::AlignCenter);
  Label30.SetBorderStyle(1);
  Label30.SetFontBold(true);

  // Post-contest date and time: shown only in post-contest mode.
  // The time comes before the date in the tab order, though it stands right of it.
  platform::DesignCaption(lblPostConDate, "Date", 60, 1020, 420, 225);
  platform::DesignCaption(lblPostConTime, "Time", 1920, 1020, 480, 225);
  txtPostConTime.SetMaxLength(5);
  txtPostConTime.SetTabIndex(4);
  txtPostConTime.Move(2400, 990, 900, 285);
  txtPostConDate.SetMaxLength(10);
  txtPostConDate.SetTabIndex(5);
  txtPostConDate.Move(480, 990, 1200, 285);
  for (platform::Control* postContest :
       std::initializer_list<platform::Control*>{&lblPostConDate, &txtPostConDate, &lblPostConTime, &txtPostConTime}) {
    postContest->SetVisible(false);
  }
}

void Form1::DesignMessagesAndButtons() {
  platform::DesignCaption(lblDialog, "", 60, 1335, 3240, 255);
  lblDialog.SetBackColor(kMessageTeal);
  lblDialog.SetFontBold(true);
  platform::DesignCaption(lblDupe, "", 60, 1620, 3240, 675);
  lblDupe.SetWordWrap(true);

  DesignButton(cmdClear, "&Clear", 60, 2340, 660, 330);
  DesignButton(cmdLogOn, "&Log \"Time On\"", 780, 2340, 1440, 330);
  cmdLogOn.SetToolTipText("Records On/Off times and controls duration clock.");
  platform::DesignCaption(lblDupHeader, "Partial", 2250, 2385, 570, 240);
  lblDupHeader.SetAlignment(platform::AlignRight);
  DesignButton(cmdDup, "On", 2850, 2340, 450, 330);
  DesignButton(cmdList, "Last 20", 60, 2715, 900, 330);
  DesignButton(Command3, "All Bands", 1020, 2715, 1080, 330);
  DesignButton(Command2, "View Grids", 2160, 2715, 1140, 330);
  DesignButton(cmdEdit, "Edit Contact", 60, 3090, 1560, 330);
  DesignButton(cmdDelete, "Delete Contact", 1740, 3090, 1560, 330);
  cmdEdit.SetVisible(false);
  cmdDelete.SetVisible(false);
}

void Form1::DesignScoreAndClocks() {
  DesignFigure(lblTotConHeader, "Total Contacts ............", lblTotCon, "0", 3480);
  DesignFigure(lblTotSecHeader, "Total QSO Points ........", lblTotSec, "0", 3705);
  DesignFigure(lblsectogoHeader, "Total Multipliers ...........", lblsectogo, "0", 3930);
  DesignFigure(lblTotScoreHeader, "Total Score..................", lblTotScore, "0", 4155);

  platform::DesignCaption(lblBandHeader, "Band", 60, 4485, 720, 240);
  platform::DesignCaption(Label21, "", 840, 4470, 1500, 255);
  Label21.SetFontBold(true);

  platform::DesignCaption(lblLocalHeader, "Local", 60, 4755, 1440, 195);
  platform::DesignCaption(lblCurTime, "Reg Time", 60, 4950, 1440, 330);
  platform::DesignCaption(Label16, "", 1500, 5010, 300, 270);
  platform::DesignCaption(lblUtcHeader, "UTC", 1860, 4755, 1440, 195);
  platform::DesignCaption(lblutctime, "UTC TIME", 1860, 4950, 1440, 330);
  for (platform::Label* clock : {&lblCurTime, &lblutctime}) {
    clock->SetFontSize(kClockFontSize);
    clock->SetFontBold(true);
  }

  DesignFigure(lblTimeOnHeader, "Total Time On:", lblttrack, "00:00:00", 5400);
  DesignFigure(lblAQSO60Header, "QSOs / Hr (last 60 min)", lblAQSO60, "0", 5655);
  DesignFigure(lblAQSO20Header, "QSOs / Hr (last 20 min)", lblAQSO20, "0", 5895);
  platform::DesignCaption(Label2, "", 60, 6165, 1500, 225);
  Label2.SetFontBold(true);
  platform::DesignCaption(Label4, "", 1620, 6165, 900, 225);
  Label4.SetFontBold(true);
}

void Form1::DesignContactList() {
  ListView1.Move(3360, 60, 6060, 2460);
  ListView1.SetFullRowSelect(true);
  ListView1.SetToolTipText("Click record to edit or delete.");
  ListView1.SetTabStop(false);
}

void Form1::DesignBandPanel() {
  static const std::array<QString, 10> kBandCaptions = {"50 MHz",  "144 MHz", "222 MHz", "432 MHz", "902 MHz",
                                                        "1.3 GHz", "2.3 GHz", "3.5 GHz", "5.8 GHz", "10 GHz"};
  const auto names = BandNameLabels();
  const auto counts = BandCountLabels();
  const auto lists = BandLists();
  for (std::size_t k = 0; k < names.size(); ++k) {
    const double left = kPanelLeft + kPanelColumnStep * static_cast<double>(k);
    platform::DesignCaption(*names[k], kBandCaptions[k], left, kPanelTop, kPanelColumnWidth, 390);
    names[k]->SetWordWrap(true);
    names[k]->SetFontBold(true);
    platform::DesignCaption(*counts[k], "0 / 0", left, 5955, kPanelColumnWidth, 225);
    for (platform::Label* label : {names[k], counts[k]}) {
      label->SetAlignment(platform::AlignCenter);
      label->SetFontSize(kPanelFontSize);
      label->SetForeColor(kWhite);
      label->SetBackColor(kNavy);
    }
    lists[k]->Move(left, 3045, kPanelColumnWidth, 2685);
    lists[k]->SetFontSize(kPanelFontSize);
    lists[k]->SetTabStop(false);
  }
  platform::DesignCaption(Label10, "#Contacts / #Grids", kPanelLeft, 5730, 6060, 225);
  Label10.SetAlignment(platform::AlignCenter);
}

void Form1::DesignGridMap() {
  for (int i = 0; i <= 164; ++i) {
    platform::Label& square = lblGrid.Add(i);
    platform::DesignCaption(square, "FM19", 4080 + 480 * (i % 11), kPanelTop + 240 * (i / 11), 420, 180);
    square.SetAlignment(platform::AlignCenter);
    square.SetBackColor(kLightGrey);
    square.SetFontSize(kGridFontSize);
    square.SetVisible(false);
  }
  DesignButton(Command7, QString(QChar(0x25B2)), 3525, 3690, 330, 330);
  DesignButton(Command5, QString(QChar(0x25C0)), 3360, 4020, 330, 330);
  DesignButton(Command6, QString(QChar(0x25B6)), 3690, 4020, 330, 330);
  DesignButton(Command4, QString(QChar(0x25BC)), 3525, 4350, 330, 330);
  for (platform::CommandButton* arrow : {&Command7, &Command5, &Command6, &Command4}) arrow->SetVisible(false);
}

// The DX area is closed until a spot source is chosen; its controls wait hidden where a closed
// area parks them.
void Form1::DesignDXArea() {
  constexpr double kParkedTop = 1000;
  txtDX.Move(96, kParkedTop, 9312, 600);
  txtDX.SetFullRowSelect(true);
  txtDX.SetTabStop(false);
  txtDX.SetVisible(false);
  platform::DesignCaption(lblDX, "", 96, kParkedTop, 9312, 600);
  lblDX.SetBackColor(kBlack);
  lblDX.SetVisible(false);
  LineDX.SetEnds(500, kParkedTop, 9000, kParkedTop);
  LineDX.SetBorderColor(kWhite);
  LineDX.SetVisible(false);
  for (int k = 0; k <= 4; ++k) {
    platform::Label& scale = lblFreqSpot.Add(k);
    platform::DesignCaption(scale, ".000", 300 + 2125 * k, kParkedTop, 600, 195);
    scale.SetAlignment(platform::AlignCenter);
    scale.SetFontSize(kPanelFontSize);
    scale.SetBackStyle(0);
    scale.SetForeColor(kWhite);
    scale.SetVisible(false);
  }
  for (int slot = 0; slot <= 49; ++slot) {
    platform::Label& spot = lblDXSpot.Add(slot);
    platform::DesignCaption(spot, "DXLBL", 500, kParkedTop, 600, 195);
    spot.SetAlignment(platform::AlignCenter);
    spot.SetFontSize(kPanelFontSize);
    spot.SetBackStyle(0);
    spot.SetVisible(false);
  }
}

void Form1::DesignTimers() {
  Timer1.SetInterval(60000);
  Timer1.SetEnabled(true);
  Timer2.SetInterval(1000);
  Timer2.SetEnabled(true);
  Timer3.SetInterval(60000);  // the load sets the refresh rate; the call box's focus starts it
  Timer3.SetEnabled(false);
  Timer4.SetInterval(3000);
  Timer4.SetEnabled(true);
}

void Form1::DesignMenus() {
  const std::pair<platform::Menu*, const char*> captions[] = {
      {&mnuFile, "&File"},
      {&mnuNew, "&New"},
      {&mnuOpen, "Open"},
      {&mnuFileSep1, "-"},
      {&mnuArchive, "A&rchive Current Log"},
      {&mnuFileSep2, "-"},
      {&mnuWriteSumm, "&Write Cabrillo File"},
      {&mnuFileSep3, "-"},
      {&mnuQuellbookExport, "E&xport for Quellbook Import"},
      {&mnuExportADIF, "Export &ADIF Format"},
      {&mnuFileSep4, "-"},
      {&mnuCombine, "&Combine or Restore from Backup"},
      {&mnuFileSep5, "-"},
      {&mnuCopyListtoClipboard, "Copy &Listed Items to Clipboard"},
      {&mnuFileSep6, "-"},
      {&mnuExit, "&Exit"},
      {&mnuOptions, "&Options"},
      {&mnuTransmit, "&Transmit"},
      {&mnuCWSetup, "&CW Setup"},
      {&mnuPhoneSetup, "&Phone Setup"},
      {&mnuOptionsSep1, "-"},
      {&mnuAppearance, "&Appearance"},
      {&mnuFormSize, "&Form Size"},
      {&mnuColors, "&Colors"},
      {&mnuTaskBar, "&TaskBar"},
      {&mnuOptionsSep2, "-"},
      {&mnuRst, "&RST"},
      {&mnuRstRecord, "&Record"},
      {&mnuRstDontRecord, "&Don't Record"},
      {&mnuOptionsSep3, "-"},
      {&mnuRefreshrate, "R&efresh Rate"},
      {&mnuOptionsSep4, "-"},
      {&mnuRigInterface, "Rig &Interface"},
      {&mnuOptionsSep5, "-"},
      {&mnuDXSpot, "&DX Spotting"},
      {&mnuDXSpotting, "&Configure"},
      {&mnuViewSpectrumMap, "&View Spectrum Map"},
      {&mnuOptionsSep6, "-"},
      {&mnuBlind, "&Voice Navigation"},
      {&mnuOptionsSep7, "-"},
      {&mnuListPrevious, "&List Previous Contacts"},
      {&mnuOptionsSep8, "-"},
      {&mnuPostContest, "&Post Contest Mode"},
      {&mnuSetup, "&Setup"},
      {&mnuBand, "&Band"},
      {&mnu160, "50 MHz"},
      {&mnu80, "144 MHz"},
      {&mnu40, "222 MHz"},
      {&mnu20, "432 MHz"},
      {&mnu15, "902 MHz"},
      {&mnu10, "1.3 GHz"},
      {&mnu23, "2.3 GHz"},
      {&mnu35, "3.5 GHz"},
      {&mnu58, "5.8 GHz"},
      {&mnu10g, "10 GHz"},
      {&mnu24g, "24 GHz"},
      {&mnu47g, "47 GHz"},
      {&mnu75g, "75 GHz"},
      {&mnu120g, "120 GHz"},
      {&mnu142g, "142 GHz"},
      {&mnu241g, "241 GHz"},
      {&mnu300g, "300 GHz"},
      {&mnuBandSep1, "-"},
      {&mnuPrivileges, "&Privileges"},
      {&mnuMode, "&Mode"},
      {&mnuCW, "&CW"},
      {&mnuPhone, "&Phone"},
      {&mnuRecall, "&Recall"},
      {&mnuGraph, "&Graph"},
      {&mnuNetwork, "&Network"},
      {&mnuHelp, "&Help"},
  };
  for (const auto& [menu, caption] : captions) menu->SetCaption(QString::fromUtf8(caption));
}

// ---------------------------------------------------------------------------------------------
// Events to handlers

void Form1::ConnectEntryEvents() {
  txtCall.KeyPress = [this](int& KeyAscii) { txtCall_KeyPress(KeyAscii); };
  txtCall.GotFocus = [this] { txtCall_GotFocus(); };
  txtCall.Change = [this] { txtCall_Change(); };
  txtRSTR.KeyPress = [this](int& KeyAscii) { txtRSTR_KeyPress(KeyAscii); };
  txtRSTR.GotFocus = [this] { txtRSTR_GotFocus(); };
  txtRSTS.KeyPress = [this](int& KeyAscii) { txtRSTS_KeyPress(KeyAscii); };
  txtRSTS.GotFocus = [this] { txtRSTS_GotFocus(); };
  txtRSTS.Change = [this] { txtRSTS_Change(); };
  txtSec.KeyPress = [this](int& KeyAscii) { txtSec_KeyPress(KeyAscii); };
  txtSec.GotFocus = [this] { txtSec_GotFocus(); };
  txtSec.Change = [this] { txtSec_Change(); };
  txtPostConDate.KeyPress = [this](int& KeyAscii) { txtPostConDate_KeyPress(KeyAscii); };
  txtPostConDate.GotFocus = [this] { txtPostConDate_GotFocus(); };
  txtPostConTime.KeyPress = [this](int& KeyAscii) { txtPostConTime_KeyPress(KeyAscii); };
  txtPostConTime.GotFocus = [this] { txtPostConTime_GotFocus(); };
  Label30.Click = [this] { Label30_Click(); };
}

void Form1::ConnectPanelEvents() {
  lbl160.Click = [this] { lbl160_Click(); };
  lbl80.Click = [this] { lbl80_Click(); };
  lbl40.Click = [this] { lbl40_Click(); };
  lbl20.Click = [this] { lbl20_Click(); };
  lbl15.Click = [this] { lbl15_Click(); };
  lbl100.Click = [this] { lbl100_Click(); };
  Label15.Click = [this] { Label15_Click(); };
  Label17.Click = [this] { Label17_Click(); };
  Label18.Click = [this] { Label18_Click(); };
  Label19.Click = [this] { Label19_Click(); };
  lbl50.Click = [this] { lbl50_Click(); };
  lbl144.Click = [this] { lbl144_Click(); };
  lbl222.Click = [this] { lbl222_Click(); };
  lbl432.Click = [this] { lbl432_Click(); };
  lbl902.Click = [this] { lbl902_Click(); };
  lbl13.Click = [this] { lbl13_Click(); };
  lbl23.Click = [this] { lbl23_Click(); };
  lbl35.Click = [this] { lbl35_Click(); };
  lbl58.Click = [this] { lbl58_Click(); };
  lbl10.Click = [this] { lbl10_Click(); };
  List1.Click = [this] { List1_Click(); };
  List2.Click = [this] { List2_Click(); };
  lblGrid.Click = [this](int Index) { lblGrid_Click(Index); };
  lblGrid.MouseMove = [this](int Index, int Button, int Shift, float X, float Y) {
    lblGrid_MouseMove(Index, Button, Shift, X, Y);
  };
  Command4.Click = [this] { Command4_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  Command6.Click = [this] { Command6_Click(); };
  Command7.Click = [this] { Command7_Click(); };
}

void Form1::ConnectOtherEvents() {
  cmdClear.Click = [this] { cmdClear_Click(); };
  cmdDelete.Click = [this] { cmdDelete_Click(); };
  cmdEdit.Click = [this] { cmdEdit_Click(); };
  cmdDup.Click = [this] { cmdDup_Click(); };
  cmdList.Click = [this] { cmdList_Click(); };
  cmdLogOn.Click = [this] { cmdLogOn_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };

  ListView1.Click = [this] { ListView1_Click(); };
  ListView1.GotFocus = [this] { ListView1_GotFocus(); };
  ListView1.ColumnClick = [this](int ColumnIndex) { ListView1_ColumnClick(ColumnIndex); };
  ListView1.MouseUp = [this](int Button, int Shift, float X, float Y) { ListView1_MouseUp(Button, Shift, X, Y); };

  txtDX.Click = [this] { txtDX_Click(); };
  txtDX.DblClick = [this] { txtDX_DblClick(); };
  lblDX.Click = [this] { lblDX_Click(); };
  lblDX.DblClick = [this] { lblDX_DblClick(); };
  lblDXSpot.MouseDown = [this](int Index, int Button, int Shift, float X, float Y) {
    lblDXSpot_MouseDown(Index, Button, Shift, X, Y);
  };
  lblDXSpot.MouseMove = [this](int Index, int Button, int Shift, float X, float Y) {
    lblDXSpot_MouseMove(Index, Button, Shift, X, Y);
  };

  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Timer3.Tick = [this] { Timer3_Timer(); };
  Timer4.Tick = [this] { Timer4_Timer(); };
}

void Form1::ConnectMenuEvents() {
  mnuNew.Click = [this] { mnuNew_Click(); };
  mnuOpen.Click = [this] { mnuOpen_Click(); };
  mnuArchive.Click = [this] { mnuArchive_Click(); };
  mnuWriteSumm.Click = [this] { mnuWriteSumm_Click(); };
  mnuQuellbookExport.Click = [this] { mnuQuellbookExport_Click(); };
  mnuExportADIF.Click = [this] { mnuExportADIF_Click(); };
  mnuCombine.Click = [this] { mnuCombine_Click(); };
  mnuCopyListtoClipboard.Click = [this] { mnuCopyListtoClipboard_Click(); };
  mnuExit.Click = [this] { mnuExit_Click(); };
  mnuCWSetup.Click = [this] { mnuCWSetup_Click(); };
  mnuPhoneSetup.Click = [this] { mnuPhoneSetup_Click(); };
  mnuFormSize.Click = [this] { mnuFormSize_Click(); };
  mnuColors.Click = [this] { mnuColors_Click(); };
  mnuTaskBar.Click = [this] { mnuTaskBar_Click(); };
  mnuRstRecord.Click = [this] { mnuRstRecord_Click(); };
  mnuRstDontRecord.Click = [this] { mnuRstDontRecord_Click(); };
  mnuRefreshrate.Click = [this] { mnuRefreshrate_Click(); };
  mnuRigInterface.Click = [this] { mnuRigInterface_Click(); };
  mnuDXSpotting.Click = [this] { mnuDXSpotting_Click(); };
  mnuViewSpectrumMap.Click = [this] { mnuViewSpectrumMap_Click(); };
  mnuBlind.Click = [this] { mnuBlind_Click(); };
  mnuListPrevious.Click = [this] { mnuListPrevious_Click(); };
  mnuPostContest.Click = [this] { mnuPostContest_Click(); };
  mnuSetup.Click = [this] { mnuSetup_Click(); };
  mnu160.Click = [this] { mnu160_Click(); };
  mnu80.Click = [this] { mnu80_Click(); };
  mnu40.Click = [this] { mnu40_Click(); };
  mnu20.Click = [this] { mnu20_Click(); };
  mnu15.Click = [this] { mnu15_Click(); };
  mnu10.Click = [this] { mnu10_Click(); };
  mnu23.Click = [this] { mnu23_Click(); };
  mnu35.Click = [this] { mnu35_Click(); };
  mnu58.Click = [this] { mnu58_Click(); };
  mnu10g.Click = [this] { mnu10g_Click(); };
  mnu24g.Click = [this] { mnu24g_Click(); };
  mnu47g.Click = [this] { mnu47g_Click(); };
  mnu75g.Click = [this] { mnu75g_Click(); };
  mnu120g.Click = [this] { mnu120g_Click(); };
  mnu142g.Click = [this] { mnu142g_Click(); };
  mnu241g.Click = [this] { mnu241g_Click(); };
  mnu300g.Click = [this] { mnu300g_Click(); };
  mnuPrivileges.Click = [this] { mnuPrivileges_Click(); };
  mnuCW.Click = [this] { mnuCW_Click(); };
  mnuPhone.Click = [this] { mnuPhone_Click(); };
  mnuRecall.Click = [this] { mnuRecall_Click(); };
  mnuGraph.Click = [this] { mnuGraph_Click(); };
  mnuNetwork.Click = [this] { mnuNetwork_Click(); };
  mnuHelp.Click = [this] { mnuHelp_Click(); };
}

// ---------------------------------------------------------------------------------------------
// Handlers not built yet. Each moves to the file of the subsystem that owns it as it is built.

// Window: load and shutdown; keyboard shortcuts and function keys.
void Form1::Form_Load() {}
void Form1::Form_Activate() {}
void Form1::Form_MouseMove(int, int, float, float) {}
void Form1::Form_QueryUnload(int&, int) {}
void Form1::Form_Unload(int&) {}
void Form1::Form_KeyDown(int&, int) {}
void Form1::Form_KeyPress(int&) {}

// Entry line and field flow.
void Form1::txtCall_KeyPress(int&) {}
void Form1::txtCall_GotFocus() {}
void Form1::txtCall_Change() {}
void Form1::txtRSTR_KeyPress(int&) {}
void Form1::txtRSTR_GotFocus() {}
void Form1::txtRSTS_KeyPress(int&) {}
void Form1::txtRSTS_GotFocus() {}
void Form1::txtRSTS_Change() {}
void Form1::txtSec_KeyPress(int&) {}
void Form1::txtSec_GotFocus() {}
void Form1::txtSec_Change() {}
void Form1::txtPostConDate_KeyPress(int&) {}
void Form1::txtPostConDate_GotFocus() {}
void Form1::txtPostConTime_KeyPress(int&) {}
void Form1::txtPostConTime_GotFocus() {}
void Form1::mnuRecall_Click() {}
void Form1::mnuRstRecord_Click() {}
void Form1::mnuRstDontRecord_Click() {}
void Form1::mnuListPrevious_Click() {}
void Form1::mnuPostContest_Click() {}

// Dupe checks, contact list, grid map, rates: procedures the commit calls.
void Form1::dupcheck() {}
void Form1::ListContacts() {}
void Form1::ColorChange(QString&) {}
void Form1::TimeStats() {}

// Entry-area buttons and new log.
void Form1::cmdClear_Click() {}
void Form1::cmdDelete_Click() {}
void Form1::cmdEdit_Click() {}
void Form1::cmdDup_Click() {}
void Form1::cmdList_Click() {}
void Form1::mnuNew_Click() {}

// Contact list.
void Form1::Command2_Click() {}
void Form1::Command3_Click() {}
void Form1::ListView1_Click() {}
void Form1::ListView1_GotFocus() {}
void Form1::ListView1_ColumnClick(int) {}
void Form1::ListView1_MouseUp(int, int, float, float) {}

// Band and mode selection.
void Form1::mnu160_Click() {}
void Form1::mnu80_Click() {}
void Form1::mnu40_Click() {}
void Form1::mnu20_Click() {}
void Form1::mnu15_Click() {}
void Form1::mnu10_Click() {}
void Form1::mnu23_Click() {}
void Form1::mnu35_Click() {}
void Form1::mnu58_Click() {}
void Form1::mnu10g_Click() {}
void Form1::mnu24g_Click() {}
void Form1::mnu47g_Click() {}
void Form1::mnu75g_Click() {}
void Form1::mnu120g_Click() {}
void Form1::mnu142g_Click() {}
void Form1::mnu241g_Click() {}
void Form1::mnu300g_Click() {}
void Form1::mnuCW_Click() {}
void Form1::mnuPhone_Click() {}
void Form1::Label30_Click() {}
void Form1::lbl160_Click() {}
void Form1::lbl80_Click() {}
void Form1::lbl40_Click() {}
void Form1::lbl20_Click() {}
void Form1::lbl15_Click() {}
void Form1::lbl100_Click() {}
void Form1::Label15_Click() {}
void Form1::Label17_Click() {}
void Form1::Label18_Click() {}
void Form1::Label19_Click() {}
void Form1::lbl50_Click() {}
void Form1::lbl144_Click() {}
void Form1::lbl222_Click() {}
void Form1::lbl432_Click() {}
void Form1::lbl902_Click() {}
void Form1::lbl13_Click() {}
void Form1::lbl23_Click() {}
void Form1::lbl35_Click() {}
void Form1::lbl58_Click() {}
void Form1::lbl10_Click() {}

// Score, preferences file, grid map.
void Form1::Labeldisplay() {}
void Form1::SavePref() {}
void Form1::GridFill() {}
void Form1::HighlightWorkedGrids() {}
void Form1::List1_Click() {}
void Form1::List2_Click() {}
void Form1::lblGrid_Click(int) {}
void Form1::lblGrid_MouseMove(int, int, int, float, float) {}
void Form1::Command4_Click() {}
void Form1::Command5_Click() {}
void Form1::Command6_Click() {}
void Form1::Command7_Click() {}
void Form1::lblDXSpot_MouseDown(int, int, int, float, float) {}

// Clocks, timers and rates; log reload and polling; backup and archive.
void Form1::cmdLogOn_Click() {}
void Form1::Timer1_Timer() {}
void Form1::Timer2_Timer() {}
void Form1::Timer3_Timer() {}
void Form1::Timer4_Timer() {}
void Form1::mnuOpen_Click() {}
void Form1::mnuopen2() {}
void Form1::WorkList() {}
void Form1::mnuRefreshrate_Click() {}
void Form1::mnuArchive_Click() {}

// Panel layouts, exit.
void Form1::mnuFormSize_Click() {}
void Form1::mnuTaskBar_Click() {}
void Form1::mnuExit_Click() {}

// Window menus.
void Form1::mnuWriteSumm_Click() {}
void Form1::mnuCombine_Click() {}
void Form1::mnuCWSetup_Click() {}
void Form1::mnuPhoneSetup_Click() {}
void Form1::mnuColors_Click() {}
void Form1::mnuRigInterface_Click() {}
void Form1::mnuDXSpotting_Click() {}
void Form1::mnuViewSpectrumMap_Click() {}
void Form1::mnuBlind_Click() {}
void Form1::mnuPrivileges_Click() {}
void Form1::mnuGraph_Click() {}
void Form1::mnuNetwork_Click() {}
void Form1::mnuHelp_Click() {}

// Exports.
void Form1::mnuQuellbookExport_Click() {}
void Form1::mnuExportADIF_Click() {}
void Form1::mnuCopyListtoClipboard_Click() {}

// Spot list and band map.
void Form1::txtDX_Click() {}
void Form1::txtDX_DblClick() {}
void Form1::lblDX_Click() {}
void Form1::lblDX_DblClick() {}
void Form1::lblDXSpot_MouseMove(int, int, int, float, float) {}

}  // namespace app
