#include "app/form1.h"

#include "app/arrowpictures.h"
#include "platform/design.h"
#include "platform/trace.h"
#include "platform/twips.h"

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
// Small enough that a grid square's contact counts keep to their three lines.
constexpr double kDupeFontSize = 6;
// Small enough that a date and time fill the contact list's narrow "Date / Time" column.
constexpr double kListFontSize = 7.5;

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
  box.SetPasteAsTyping(true);
}

// A fixed caption with the value it names to its right.
void DesignFigure(platform::Label& header, const QString& caption, platform::Label& value,
                  const QString& design, double top) {
  platform::DesignCaption(header, caption, 60, top, 2220, 225);
  platform::DesignCaption(value, design, 2340, top, 960, 225);
  value.SetFontBold(true);
  value.NameAfter(header);
}

}  // namespace

Form1::Form1() : Form(QStringLiteral("Form1")) {
  SetCaption(kCaption);
  Move(0, 0, platform::DesignScreen.width, platform::DesignScreen.height);
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
  platform::DesignCaption(lblCallHeader, "Call", 60, 45, 1200, 210);
  platform::DesignCaption(lblRSTRHeader, "Rcvd", 1320, 45, 480, 210);
  platform::DesignCaption(lblSecHeader, "Grid", 1860, 45, 900, 210);
  platform::DesignCaption(lblRSTSHeader, "Sent", 2820, 45, 480, 210);
  // The grid comes before the RST sent in the tab order, though it stands left of it.
  DesignEntryBox(txtCall, 13, 0, 60, 1200);
  DesignEntryBox(txtRSTR, 3, 1, 1320, 480);
  DesignEntryBox(txtSec, 8, 2, 1860, 900);
  DesignEntryBox(txtRSTS, 3, 3, 2820, 480);
  txtCall.NameAfter(lblCallHeader);
  txtRSTR.NameAfter(lblRSTRHeader);
  txtSec.NameAfter(lblSecHeader);
  txtRSTS.NameAfter(lblRSTSHeader);

  platform::DesignCaption(lblHeadingHeader, "Hdg", 60, 675, 360, 240);
  platform::DesignCaption(Label23, "", 420, 675, 480, 240);
  Label23.SetFontBold(true);
  platform::DesignCaption(lblDistanceHeader, "Mi", 960, 675, 300, 240);
  platform::DesignCaption(Label24, "", 1260, 675, 600, 240);
  Label24.SetFontBold(true);
  Label23.NameAfter(lblHeadingHeader);
  Label23.SetAccessibleDescription("Heading, degrees");
  Label24.NameAfter(lblDistanceHeader);
  Label24.SetAccessibleDescription("Distance, miles");
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
  txtPostConTime.SetPasteAsTyping(true);
  txtPostConDate.SetPasteAsTyping(true);
  txtPostConDate.NameAfter(lblPostConDate);
  txtPostConTime.NameAfter(lblPostConTime);
  for (platform::Control* postContest :
       std::initializer_list<platform::Control*>{&lblPostConDate, &txtPostConDate, &lblPostConTime, &txtPostConTime}) {
    postContest->SetVisible(false);
  }
}

void Form1::DesignMessagesAndButtons() {
  // Two lines: the longer messages (a dupe with its date and record number, keyboard CW) wrap.
  platform::DesignCaption(lblDialog, "", 60, 1335, 3240, 435);
  lblDialog.SetBackColor(kMessageTeal);
  platform::DesignCaption(lblDupe, "", 60, 1800, 3240, 495);
  lblDupe.SetWordWrap(true);
  lblDupe.SetFontSize(kDupeFontSize);
  lblDialog.SetAccessibleName("Messages");
  lblDupe.SetAccessibleName("Partial calls");
  lblDupe.SetAccessibleDescription("Calls logged that hold the call typed, or the contacts of a grid square");

  DesignButton(cmdClear, "&Clear", 60, 2340, 660, 330);
  DesignButton(cmdLogOn, "&Log \"Time On\"", 780, 2340, 1440, 330);
  cmdLogOn.SetToolTipText("Records On/Off times and controls duration clock.");
  platform::DesignCaption(lblDupHeader, "Partial", 2250, 2385, 570, 240);
  lblDupHeader.SetAlignment(platform::AlignRight);
  DesignButton(cmdDup, "On", 2850, 2340, 450, 330);
  cmdDup.NameAfter(lblDupHeader);
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
  Label21.NameAfter(lblBandHeader);

  platform::DesignCaption(lblLocalHeader, "Local", 60, 4740, 1440, 210);
  platform::DesignCaption(lblCurTime, "Reg Time", 60, 4950, 1440, 330);
  platform::DesignCaption(Label16, "", 1500, 5010, 300, 270);
  platform::DesignCaption(lblUtcHeader, "UTC", 1860, 4740, 1440, 210);
  platform::DesignCaption(lblutctime, "UTC TIME", 1860, 4950, 1440, 330);
  for (platform::Label* clock : {&lblCurTime, &lblutctime}) {
    clock->SetFontSize(kClockFontSize);
    clock->SetFontBold(true);
  }
  lblCurTime.NameAfter(lblLocalHeader);
  Label16.NameAfter(lblLocalHeader);
  Label16.SetAccessibleDescription("AM or PM");
  lblutctime.NameAfter(lblUtcHeader);

  DesignFigure(lblTimeOnHeader, "Total Time On:", lblttrack, "00:00:00", 5400);
  DesignFigure(lblAQSO60Header, "QSOs / Hr (last 60 min)", lblAQSO60, "0", 5655);
  DesignFigure(lblAQSO20Header, "QSOs / Hr (last 20 min)", lblAQSO20, "0", 5895);
  platform::DesignCaption(Label2, "", 60, 6165, 1500, 225);
  Label2.SetFontBold(true);
  platform::DesignCaption(Label4, "", 1620, 6165, 900, 225);
  Label4.SetFontBold(true);
  Label2.SetAccessibleName("Own call");
  Label4.SetAccessibleName("Own grid");
}

void Form1::DesignContactList() {
  ListView1.Move(3360, 60, 6060, 2460);
  ListView1.SetFontSize(kListFontSize);
  ListView1.SetFullRowSelect(true);
  // A list's screen-reader description is not taken from its tool tip: it is given the same words.
  const QString editHint = QStringLiteral("Click record to edit or delete.");
  ListView1.SetToolTipText(editHint);
  ListView1.SetAccessibleName("Contacts");
  ListView1.SetAccessibleDescription(editHint);
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
    lists[k]->NameAfter(*names[k]);
    lists[k]->SetAccessibleDescription("Grids worked on the band");
    counts[k]->NameAfter(*names[k]);
    counts[k]->SetAccessibleDescription("Contacts / grids worked on the band");
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
  const struct {
    platform::CommandButton* button;
    Qt::ArrowType arrow;
    double left, top;
    const char* direction;
  } shifts[] = {{&Command7, Qt::UpArrow, 3525, 3690, "North"},
                {&Command5, Qt::LeftArrow, 3360, 4020, "West"},
                {&Command6, Qt::RightArrow, 3690, 4020, "East"},
                {&Command4, Qt::DownArrow, 3525, 4350, "South"}};
  for (const auto& shift : shifts) {
    DesignButton(*shift.button, QString(), shift.left, shift.top, 330, 330);
    shift.button->SetPicture(DrawArrowPicture(shift.arrow));
    shift.button->SetVisible(false);
    // A picture alone: the direction names the button, the description what it moves.
    const QString direction = QString::fromUtf8(shift.direction);
    shift.button->SetAccessibleName(direction);
    shift.button->SetAccessibleDescription(QStringLiteral("Grid map ") + direction.toLower());
  }
}

// The DX area is closed until a spot source is chosen; its controls wait hidden where a closed
// area parks them.
void Form1::DesignDXArea() {
  constexpr double kParkedTop = 1000;
  txtDX.Move(96, kParkedTop, 9312, 600);
  txtDX.SetAccessibleName("DX spots");
  txtDX.SetFullRowSelect(true);
  txtDX.SetTabStop(false);
  txtDX.SetVisible(false);
  platform::DesignCaption(lblDX, "", 96, kParkedTop, 9312, 600);
  lblDX.SetBackColor(kBlack);
  lblDX.SetVisible(false);
  lblDX.SetAccessibleName("Band map");
  LineDX.SetEnds(500, kParkedTop, 9000, kParkedTop);
  LineDX.SetBorderColor(kWhite);
  LineDX.SetVisible(false);
  for (int k = 0; k <= 4; ++k) {
    platform::Label& scale = lblFreqSpot.Add(k);
    platform::DesignCaption(scale, ".000", 300 + 2125 * k, kParkedTop, 600, 195);
    scale.SetAccessibleName("Band map scale, MHz");
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
  WIRE(txtCall, KeyPress);
  WIRE(txtCall, GotFocus);
  WIRE(txtCall, Change);
  WIRE(txtRSTR, KeyPress);
  WIRE(txtRSTR, GotFocus);
  WIRE(txtRSTS, KeyPress);
  WIRE(txtRSTS, GotFocus);
  WIRE(txtRSTS, Change);
  WIRE(txtSec, KeyPress);
  WIRE(txtSec, GotFocus);
  WIRE(txtSec, Change);
  WIRE(txtPostConDate, KeyPress);
  WIRE(txtPostConDate, GotFocus);
  WIRE(txtPostConTime, KeyPress);
  WIRE(txtPostConTime, GotFocus);
  WIRE(Label30, Click);
}

void Form1::ConnectPanelEvents() {
  WIRE(lbl160, Click);
  WIRE(lbl80, Click);
  WIRE(lbl40, Click);
  WIRE(lbl20, Click);
  WIRE(lbl15, Click);
  WIRE(lbl100, Click);
  WIRE(Label15, Click);
  WIRE(Label17, Click);
  WIRE(Label18, Click);
  WIRE(Label19, Click);
  WIRE(lbl50, Click);
  WIRE(lbl144, Click);
  WIRE(lbl222, Click);
  WIRE(lbl432, Click);
  WIRE(lbl902, Click);
  WIRE(lbl13, Click);
  WIRE(lbl23, Click);
  WIRE(lbl35, Click);
  WIRE(lbl58, Click);
  WIRE(lbl10, Click);
  WIRE(List1, Click);
  WIRE(List2, Click);
  WIRE(lblGrid, Click);
  WIRE(lblGrid, MouseMove);
  WIRE(lblGrid, Change);
  WIRE(Command4, Click);
  WIRE(Command5, Click);
  WIRE(Command6, Click);
  WIRE(Command7, Click);
}

void Form1::ConnectOtherEvents() {
  WIRE(cmdClear, Click);
  WIRE(cmdDelete, Click);
  WIRE(cmdEdit, Click);
  WIRE(cmdDup, Click);
  WIRE(cmdList, Click);
  WIRE(cmdLogOn, Click);
  WIRE(Command2, Click);
  WIRE(Command3, Click);

  WIRE(ListView1, Click);
  WIRE(ListView1, GotFocus);
  WIRE(ListView1, ColumnClick);
  WIRE(ListView1, MouseUp);

  WIRE(txtDX, Click);
  WIRE(txtDX, DblClick);
  WIRE(lblDX, Click);
  WIRE(lblDX, DblClick);
  WIRE(lblDXSpot, MouseDown);
  WIRE(lblDXSpot, MouseMove);

  WIRE_TIMER(Timer1);
  WIRE_TIMER(Timer2);
  WIRE_TIMER(Timer3);
  WIRE_TIMER(Timer4);
}

void Form1::ConnectMenuEvents() {
  WIRE(mnuNew, Click);
  WIRE(mnuOpen, Click);
  WIRE(mnuArchive, Click);
  WIRE(mnuWriteSumm, Click);
  WIRE(mnuQuellbookExport, Click);
  WIRE(mnuExportADIF, Click);
  WIRE(mnuCombine, Click);
  WIRE(mnuCopyListtoClipboard, Click);
  WIRE(mnuExit, Click);
  WIRE(mnuCWSetup, Click);
  WIRE(mnuPhoneSetup, Click);
  WIRE(mnuFormSize, Click);
  WIRE(mnuColors, Click);
  WIRE(mnuTaskBar, Click);
  WIRE(mnuRstRecord, Click);
  WIRE(mnuRstDontRecord, Click);
  WIRE(mnuRefreshrate, Click);
  WIRE(mnuRigInterface, Click);
  WIRE(mnuDXSpotting, Click);
  WIRE(mnuViewSpectrumMap, Click);
  WIRE(mnuBlind, Click);
  WIRE(mnuListPrevious, Click);
  WIRE(mnuPostContest, Click);
  WIRE(mnuSetup, Click);
  WIRE(mnu160, Click);
  WIRE(mnu80, Click);
  WIRE(mnu40, Click);
  WIRE(mnu20, Click);
  WIRE(mnu15, Click);
  WIRE(mnu10, Click);
  WIRE(mnu23, Click);
  WIRE(mnu35, Click);
  WIRE(mnu58, Click);
  WIRE(mnu10g, Click);
  WIRE(mnu24g, Click);
  WIRE(mnu47g, Click);
  WIRE(mnu75g, Click);
  WIRE(mnu120g, Click);
  WIRE(mnu142g, Click);
  WIRE(mnu241g, Click);
  WIRE(mnu300g, Click);
  WIRE(mnuPrivileges, Click);
  WIRE(mnuCW, Click);
  WIRE(mnuPhone, Click);
  WIRE(mnuRecall, Click);
  WIRE(mnuGraph, Click);
  WIRE(mnuNetwork, Click);
  WIRE(mnuHelp, Click);
}

}  // namespace app
