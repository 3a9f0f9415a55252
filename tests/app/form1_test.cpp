#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/contactlist.h"
#include "logging/globals.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QMenu>
#include <QMenuBar>
#include <QRectF>
#include <gtest/gtest.h>

#include "formtesting.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::Control;
using platform::ControlKind;

class Form1Test : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::UnloadAll();
    platform::Screen::ResetForTesting();
  }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

Control* Find(const platform::Form& form, const QString& name, int index = -1) {
  for (Control* control : form.Controls())
    if (control->Name() == name && control->Index() == index) return control;
  return nullptr;
}

std::optional<QString> CaptionOf(const Control& control) {
  if (auto* label = dynamic_cast<const platform::Label*>(&control)) return label->Caption();
  if (auto* button = dynamic_cast<const platform::CommandButton*>(&control)) return button->Caption();
  return std::nullopt;
}

struct NamedControl {
  const char* name;
  ControlKind kind;
  const char* caption;  // nullptr for kinds without one
  bool visible;
};

TEST_F(Form1Test, NamedControlsHaveTheirKindsCaptionsAndVisibility) {
  const NamedControl table[] = {
      {"txtCall", ControlKind::TextBox, nullptr, true},
      {"txtRSTR", ControlKind::TextBox, nullptr, true},
      {"txtSec", ControlKind::TextBox, nullptr, true},
      {"txtRSTS", ControlKind::TextBox, nullptr, true},
      {"txtPostConTime", ControlKind::TextBox, nullptr, false},
      {"txtPostConDate", ControlKind::TextBox, nullptr, false},
      {"lblPostConDate", ControlKind::Label, "Date", false},
      {"lblPostConTime", ControlKind::Label, "Time", false},
      {"Label3", ControlKind::Label, "New", true},
      {"Label23", ControlKind::Label, "", true},
      {"Label24", ControlKind::Label, "", true},
      {"Label30", ControlKind::Label, "CW", true},
      {"lblDialog", ControlKind::Label, "", true},
      {"lblDupe", ControlKind::Label, "", true},
      {"cmdClear", ControlKind::CommandButton, "&Clear", true},
      {"cmdDelete", ControlKind::CommandButton, "Delete Contact", false},
      {"cmdEdit", ControlKind::CommandButton, "Edit Contact", false},
      {"cmdDup", ControlKind::CommandButton, "On", true},
      {"cmdList", ControlKind::CommandButton, "Last 20", true},
      {"cmdLogOn", ControlKind::CommandButton, "&Log \"Time On\"", true},
      {"Command2", ControlKind::CommandButton, "View Grids", true},
      {"Command3", ControlKind::CommandButton, "All Bands", true},
      {"Command4", ControlKind::CommandButton, "", false},
      {"Command5", ControlKind::CommandButton, "", false},
      {"Command6", ControlKind::CommandButton, "", false},
      {"Command7", ControlKind::CommandButton, "", false},
      {"lblTotCon", ControlKind::Label, "0", true},
      {"lblTotSec", ControlKind::Label, "0", true},
      {"lblsectogo", ControlKind::Label, "0", true},
      {"lblTotScore", ControlKind::Label, "0", true},
      {"lblTotConHeader", ControlKind::Label, "Total Contacts ............", true},
      {"lblTotSecHeader", ControlKind::Label, "Total QSO Points ........", true},
      {"lblsectogoHeader", ControlKind::Label, "Total Multipliers ...........", true},
      {"lblTotScoreHeader", ControlKind::Label, "Total Score..................", true},
      {"Label21", ControlKind::Label, "", true},
      {"lblBandHeader", ControlKind::Label, "Band", true},
      {"lblCurTime", ControlKind::Label, "Reg Time", true},
      {"Label16", ControlKind::Label, "", true},
      {"lblutctime", ControlKind::Label, "UTC TIME", true},
      {"lblttrack", ControlKind::Label, "00:00:00", true},
      {"lblTimeOnHeader", ControlKind::Label, "Total Time On:", true},
      {"lblAQSO60", ControlKind::Label, "0", true},
      {"lblAQSO60Header", ControlKind::Label, "QSOs / Hr (last 60 min)", true},
      {"lblAQSO20", ControlKind::Label, "0", true},
      {"lblAQSO20Header", ControlKind::Label, "QSOs / Hr (last 20 min)", true},
      {"ListView1", ControlKind::ListView, nullptr, true},
      {"lbl160", ControlKind::Label, "50 MHz", true},
      {"lbl80", ControlKind::Label, "144 MHz", true},
      {"lbl40", ControlKind::Label, "222 MHz", true},
      {"lbl20", ControlKind::Label, "432 MHz", true},
      {"lbl15", ControlKind::Label, "902 MHz", true},
      {"lbl100", ControlKind::Label, "1.3 GHz", true},
      {"Label15", ControlKind::Label, "2.3 GHz", true},
      {"Label17", ControlKind::Label, "3.5 GHz", true},
      {"Label18", ControlKind::Label, "5.8 GHz", true},
      {"Label19", ControlKind::Label, "10 GHz", true},
      {"lbl50", ControlKind::Label, "0 / 0", true},
      {"lbl144", ControlKind::Label, "0 / 0", true},
      {"lbl222", ControlKind::Label, "0 / 0", true},
      {"lbl432", ControlKind::Label, "0 / 0", true},
      {"lbl902", ControlKind::Label, "0 / 0", true},
      {"lbl13", ControlKind::Label, "0 / 0", true},
      {"lbl23", ControlKind::Label, "0 / 0", true},
      {"lbl35", ControlKind::Label, "0 / 0", true},
      {"lbl58", ControlKind::Label, "0 / 0", true},
      {"lbl10", ControlKind::Label, "0 / 0", true},
      {"Label10", ControlKind::Label, "#Contacts / #Grids", true},
      {"List1", ControlKind::ListBox, nullptr, true},
      {"List10", ControlKind::ListBox, nullptr, true},
      {"txtDX", ControlKind::ListView, nullptr, false},
      {"lblDX", ControlKind::Label, "", false},
      {"LineDX", ControlKind::Line, nullptr, false},
      {"Timer1", ControlKind::Timer, nullptr, true},
      {"Timer4", ControlKind::Timer, nullptr, true},
  };
  for (const NamedControl& expected : table) {
    SCOPED_TRACE(expected.name);
    Control* control = Find(form, expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Kind(), expected.kind);
    if (expected.caption) {
      EXPECT_EQ(CaptionOf(*control), QString::fromUtf8(expected.caption));
    }
    EXPECT_EQ(control->Visible(), expected.visible);
  }
  EXPECT_EQ(form.Caption().left(60).trimmed(), "Varnek's Corvane Log 2.5");
  EXPECT_GT(form.Caption().size(), 60);
  EXPECT_TRUE(form.KeyPreview());
  EXPECT_EQ(form.Width(), 9600);
  EXPECT_EQ(form.Height(), 7200);
  EXPECT_EQ(form.ListView1.ToolTipText(), "Click record to edit or delete.");
  EXPECT_EQ(form.cmdLogOn.ToolTipText(), "Records On/Off times and controls duration clock.");
}

TEST_F(Form1Test, EntryBoxesTakeTheFirstSixTabPlacesWithTheirLimits) {
  const struct {
    platform::TextBox* box;
    int maxLength;
  } entry[] = {{&form.txtCall, 13}, {&form.txtRSTR, 3},        {&form.txtSec, 8},
               {&form.txtRSTS, 3},  {&form.txtPostConTime, 5}, {&form.txtPostConDate, 10}};
  for (int tab = 0; tab < 6; ++tab) {
    SCOPED_TRACE(entry[tab].box->Name().toStdString());
    EXPECT_EQ(entry[tab].box->TabIndex(), tab);
    EXPECT_EQ(entry[tab].box->MaxLength(), entry[tab].maxLength);
  }
  // A longer call set by code is cut to the limit as typed text is.
  form.txtCall.SetText("ABCDEFGHIJKLMNOP");
  EXPECT_EQ(form.txtCall.Text(), "ABCDEFGHIJKLM");
  // Only the entry line takes part in the Tab cycle.
  for (Control* control : form.Controls()) {
    if (control->CanTakeFocus() && control->Kind() != ControlKind::TextBox) {
      EXPECT_FALSE(control->TabStop()) << control->Name().toStdString();
    }
  }
}

TEST_F(Form1Test, ControlArraysAndTheGridMapGeometry) {
  EXPECT_EQ(form.lblGrid.Count(), 165);
  EXPECT_EQ(form.lblGrid.LBound(), 0);
  EXPECT_EQ(form.lblGrid.UBound(), 164);
  for (int i : {0, 10, 11, 82, 164}) {
    SCOPED_TRACE(i);
    const platform::Label& square = form.lblGrid(i);
    EXPECT_EQ(square.Caption(), "FM19");
    EXPECT_EQ(square.Left(), 4080 + 480 * (i % 11));
    EXPECT_EQ(square.Top(), 2640 + 240 * (i / 11));
    EXPECT_EQ(square.Width(), 420);
    EXPECT_EQ(square.Height(), 180);
    EXPECT_EQ(square.BackColor(), 0xC0C0C0);
  }
  EXPECT_EQ(form.lblDXSpot.Count(), 50);
  EXPECT_EQ(form.lblDXSpot.UBound(), 49);
  EXPECT_EQ(form.lblDXSpot(49).Caption(), "DXLBL");
  EXPECT_EQ(form.lblFreqSpot.Count(), 5);
  EXPECT_EQ(form.lblFreqSpot.UBound(), 4);
}

TEST_F(Form1Test, DesignColoursAndTimers) {
  EXPECT_EQ(form.lblDialog.BackColor(), platform::RGB(0, 192, 192));
  for (platform::Label* label : form.BandNameLabels()) {
    EXPECT_EQ(label->BackColor(), 0x800000) << label->Name().toStdString();
    EXPECT_EQ(label->ForeColor(), 0xFFFFFF);
  }
  for (platform::Label* label : form.BandCountLabels()) {
    EXPECT_EQ(label->BackColor(), 0x800000) << label->Name().toStdString();
  }

  const struct {
    platform::Timer* timer;
    int interval;
    bool enabled;
  } timers[] = {{&form.Timer1, 60000, true}, {&form.Timer2, 1000, true}, {&form.Timer3, 60000, false},
                {&form.Timer4, 3000, true}};
  for (const auto& expected : timers) {
    EXPECT_EQ(expected.timer->Interval(), expected.interval) << expected.timer->Name().toStdString();
    EXPECT_EQ(expected.timer->Enabled(), expected.enabled) << expected.timer->Name().toStdString();
  }
}

// The menu bar as an outline: one line per item, nested items indented by two blanks.
const std::vector<std::string> kMenuOutline = {
    "&File",
    "  &New",
    "  Open",
    "  -",
    "  A&rchive Current Log",
    "  -",
    "  &Write Cabrillo File",
    "  -",
    "  E&xport for Quellbook Import",
    "  Export &ADIF Format",
    "  -",
    "  &Combine or Restore from Backup",
    "  -",
    "  Copy &Listed Items to Clipboard",
    "  -",
    "  &Exit",
    "&Options",
    "  &Transmit",
    "    &CW Setup",
    "    &Phone Setup",
    "  -",
    "  &Appearance",
    "    &Form Size",
    "    &Colors",
    "    &TaskBar",
    "  -",
    "  &RST",
    "    &Record",
    "    &Don't Record",
    "  -",
    "  R&efresh Rate",
    "  -",
    "  Rig &Interface",
    "  -",
    "  &DX Spotting",
    "    &Configure",
    "    &View Spectrum Map",
    "  -",
    "  &Voice Navigation",
    "  -",
    "  &List Previous Contacts",
    "  -",
    "  &Post Contest Mode",
    "&Setup",
    "&Band",
    "  50 MHz",
    "  144 MHz",
    "  222 MHz",
    "  432 MHz",
    "  902 MHz",
    "  1.3 GHz",
    "  2.3 GHz",
    "  3.5 GHz",
    "  5.8 GHz",
    "  10 GHz",
    "  24 GHz",
    "  47 GHz",
    "  75 GHz",
    "  120 GHz",
    "  142 GHz",
    "  241 GHz",
    "  300 GHz",
    "  -",
    "  &Privileges",
    "&Mode",
    "  &CW",
    "  &Phone",
    "&Recall",
    "&Graph",
    "&Network",
    "&Help",
};

void Walk(const QList<QAction*>& actions, const std::string& indent, std::vector<std::string>& outline) {
  for (QAction* action : actions) {
    if (!action->isVisible()) continue;
    outline.push_back(indent + (action->isSeparator() ? std::string("-") : action->text().toStdString()));
    EXPECT_FALSE(action->isChecked()) << action->text().toStdString();
    EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    if (action->menu()) Walk(action->menu()->actions(), indent + "  ", outline);
  }
}

TEST_F(Form1Test, MenuBarShowsEveryCaptionInOrderWithoutShortcutsOrChecks) {
  auto* bar = form.Widget()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  std::vector<std::string> outline;
  Walk(bar->actions(), "", outline);
  EXPECT_EQ(outline, kMenuOutline);
}

TEST_F(Form1Test, MenuItemsCarryTheirNamesInMenuOrder) {
  // Named items the rest of the program refers to, in the order they stand in the menus.
  const std::vector<std::pair<QString, QString>> named = {
      {"mnuNew", "&New"},
      {"mnuArchive", "A&rchive Current Log"},
      {"mnuWriteSumm", "&Write Cabrillo File"},
      {"mnuQuellbookExport", "E&xport for Quellbook Import"},
      {"mnuExportADIF", "Export &ADIF Format"},
      {"mnuCombine", "&Combine or Restore from Backup"},
      {"mnuCopyListtoClipboard", "Copy &Listed Items to Clipboard"},
      {"mnuExit", "&Exit"},
      {"mnuCWSetup", "&CW Setup"},
      {"mnuPhoneSetup", "&Phone Setup"},
      {"mnuFormSize", "&Form Size"},
      {"mnuColors", "&Colors"},
      {"mnuTaskBar", "&TaskBar"},
      {"mnuRstRecord", "&Record"},
      {"mnuRstDontRecord", "&Don't Record"},
      {"mnuRefreshrate", "R&efresh Rate"},
      {"mnuRigInterface", "Rig &Interface"},
      {"mnuDXSpotting", "&Configure"},
      {"mnuViewSpectrumMap", "&View Spectrum Map"},
      {"mnuBlind", "&Voice Navigation"},
      {"mnuListPrevious", "&List Previous Contacts"},
      {"mnuPostContest", "&Post Contest Mode"},
      {"mnuSetup", "&Setup"},
      {"mnu160", "50 MHz"},
      {"mnu80", "144 MHz"},
      {"mnu40", "222 MHz"},
      {"mnu20", "432 MHz"},
      {"mnu15", "902 MHz"},
      {"mnu10", "1.3 GHz"},
      {"mnu23", "2.3 GHz"},
      {"mnu35", "3.5 GHz"},
      {"mnu58", "5.8 GHz"},
      {"mnu10g", "10 GHz"},
      {"mnu24g", "24 GHz"},
      {"mnu47g", "47 GHz"},
      {"mnu75g", "75 GHz"},
      {"mnu120g", "120 GHz"},
      {"mnu142g", "142 GHz"},
      {"mnu241g", "241 GHz"},
      {"mnu300g", "300 GHz"},
      {"mnuPrivileges", "&Privileges"},
      {"mnuCW", "&CW"},
      {"mnuPhone", "&Phone"},
      {"mnuRecall", "&Recall"},
      {"mnuGraph", "&Graph"},
      {"mnuNetwork", "&Network"},
      {"mnuHelp", "&Help"},
  };
  std::vector<std::pair<QString, QString>> found;
  for (Control* control : form.Controls()) {
    auto* menu = dynamic_cast<platform::Menu*>(control);
    if (!menu) continue;
    const bool wanted = std::any_of(named.begin(), named.end(), [&](const auto& n) { return n.first == menu->Name(); });
    if (wanted) found.emplace_back(menu->Name(), menu->Caption());
  }
  EXPECT_EQ(found, named);
}

// ---- Layout: the design, and the design as the load scales it to a real screen

// The map as a station in FN31 sees it, with a few squares worked on the current band.
void ShowGridMap(app::Form1& form) {
  app::OwnLatitude = 41.5;
  app::OwnLongitude = 72.5;
  logging::WorkedGridColor = 255;
  form.GridFill();
  for (QString grid : {"FN31", "FN20", "EN92", "FN42"}) form.ColorChange(grid);
  form.HideBandLists();
}

// Visible controls must neither overlap nor leave the client area. Controls that touch in the
// design may touch a rounding error apart once scaled: far less than a pixel does not count.
void ExpectTidyLayout(const app::Form1& form) {
  constexpr double kRounding = 0.001;  // twips
  std::vector<const Control*> shown;
  for (const Control* control : form.Controls())
    if (control->Visible() && control->Widget() && control->Kind() != ControlKind::Line) shown.push_back(control);
  const auto box = [&](const Control* control) {
    return QRectF(control->Left(), control->Top(), control->Width(), control->Height())
        .adjusted(kRounding, kRounding, -kRounding, -kRounding);
  };
  for (const Control* control : shown) {
    EXPECT_GE(box(control).left(), 0) << control->Name().toStdString();
    EXPECT_GE(box(control).top(), 0) << control->Name().toStdString();
    EXPECT_LE(box(control).right(), form.ScaleWidth()) << control->Name().toStdString();
    EXPECT_LE(box(control).bottom(), form.ScaleHeight()) << control->Name().toStdString();
  }
  for (std::size_t a = 0; a < shown.size(); ++a) {
    const QRectF first = box(shown[a]);
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      const QRectF second = box(shown[b]);
      EXPECT_FALSE(first.intersects(second))
          << shown[a]->Name().toStdString() << "(" << shown[a]->Index() << ") overlaps "
          << shown[b]->Name().toStdString() << "(" << shown[b]->Index() << ")";
    }
  }
}

TEST_F(Form1Test, DesignLayoutIsTidyInBothPanelViews) {
  ExpectTidyLayout(form);
  ShowGridMap(form);
  ExpectTidyLayout(form);
}

TEST_F(Form1Test, LayoutScaledToCommonScreensStaysTidy) {
  for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{1920, 1080}}) {
    SCOPED_TRACE(width);
    platform::UnloadAll();
    app::Form1& scaled = platform::InstanceWithoutLoad<app::Form1>();
    // As the load lays the design out on the operator's screen.
    platform::Screen::SetSizeForTesting(width * platform::TwipsPerPixel, height * platform::TwipsPerPixel);
    app::ModFormResize::FillScreen(scaled);
    ExpectTidyLayout(scaled);
    SaveScreenshot(scaled, QStringLiteral("form1-%1.png").arg(width));
    ShowGridMap(scaled);
    ExpectTidyLayout(scaled);
    SaveScreenshot(scaled, QStringLiteral("form1-%1-map.png").arg(width));
  }
}

// The load's layouts on common screens with a 40-pixel task bar: the whole screen or the work area
// at 100 %, and the window shrunk to 60 %, where the task-bar option changes nothing.
TEST_F(Form1Test, LayoutOnTheWorkAreaAndAtASmallerFormSizeStaysTidy) {
  const struct {
    int width, height;
    int formSize;
    int taskBarDisplay;
  } layouts[] = {{1920, 1080, 100, 0}, {1920, 1080, 100, 1}, {1920, 1080, 60, 0}, {1920, 1080, 60, 1},
                 {1024, 768, 100, 0},  {1024, 768, 100, 1},  {1024, 768, 60, 0},  {1024, 768, 60, 1}};
  for (const auto& layout : layouts) {
    const QString name = QStringLiteral("form1-%1-%2pct-taskbar%3")
                             .arg(layout.width)
                             .arg(layout.formSize)
                             .arg(layout.taskBarDisplay);
    SCOPED_TRACE(name.toStdString());
    platform::UnloadAll();
    app::Form1& laid = platform::InstanceWithoutLoad<app::Form1>();
    const double twips = platform::TwipsPerPixel;
    platform::Screen::SetSizeForTesting(layout.width * twips, layout.height * twips);
    platform::Screen::SetWorkAreaForTesting(0, 0, layout.width * twips, (layout.height - 40) * twips);
    app::FormSize = static_cast<std::uint8_t>(layout.formSize);
    app::TaskBarDisplay = static_cast<std::uint8_t>(layout.taskBarDisplay);
    app::ModFormResize::FillScreen(laid);
    laid.ResizeBandLists();
    logging::CreateContactListColumns(laid);
    laid.ListView1.SetRows({{"2", "WB2XYZ/R", "599", "FN42", "599", "06/08 18:01", "144", "FN31", "CW"},
                            {"1", "K1ABC", "59", "FN32", "59", "06/08 18:00", "50", "FN31", "PH"}});
    laid.List1.AddItem("FN32");
    laid.List2.AddItem("FN42");
    if (layout.formSize < 100) laid.ResizeControls();
    laid.ResizeForTaskBar();
    ExpectTidyLayout(laid);
    SaveScreenshot(laid, name + QStringLiteral(".png"));
    ShowGridMap(laid);
    ExpectTidyLayout(laid);
    SaveScreenshot(laid, name + QStringLiteral("-map.png"));
  }
}

}  // namespace

namespace {

// The handlers form1.h declares ("txtCall_KeyPress", "Timer3_Timer"): every control event
// handler, whatever subsystem defines it. The window's own hooks (Form_Load ...) need no wiring.
QStringList HandlersDeclaredInHeader() {
  QFile header(QStringLiteral(CORVANE_SOURCE_DIR "/src/app/form1.h"));
  EXPECT_TRUE(header.open(QIODevice::ReadOnly | QIODevice::Text));
  static const QRegularExpression declaration(QStringLiteral(R"(^\s*void (\w+_\w+)\()"),
                                              QRegularExpression::MultilineOption);
  QStringList handlers;
  for (const auto& match : declaration.globalMatch(QString::fromUtf8(header.readAll()))) {
    if (!match.captured(1).startsWith(QLatin1String("Form_"))) handlers << match.captured(1);
  }
  return handlers;
}

// A procedure form1.h declares and the file its group says defines it: each group starts with
// "// ---- src/<folder>/<file>.cpp"; a group of controls ("// ---- Entry line") names none.
struct DeclaredProcedure {
  QString Name;
  QString File;
};

std::vector<DeclaredProcedure> ProceduresDeclaredInHeader() {
  QFile header(QStringLiteral(CORVANE_SOURCE_DIR "/src/app/form1.h"));
  EXPECT_TRUE(header.open(QIODevice::ReadOnly | QIODevice::Text));
  static const QRegularExpression group(QStringLiteral(R"(^\s*// ---- (src/\S+\.cpp)?)"));
  static const QRegularExpression procedure(QStringLiteral(R"((\w+)\()"));
  std::vector<DeclaredProcedure> procedures;
  QString file;
  for (const QString& line : QString::fromUtf8(header.readAll()).split(u'\n')) {
    if (const QRegularExpressionMatch match = group.match(line); match.hasMatch()) {
      file = match.captured(1);
      continue;
    }
    const QString code = line.left(line.indexOf(QLatin1String("//"))).trimmed();
    if (!code.endsWith(u';') || code.contains(u'{')) continue;
    if (const QRegularExpressionMatch match = procedure.match(code); match.hasMatch()) {
      procedures.push_back({match.captured(1), file});
    }
  }
  return procedures;
}

}  // namespace

TEST(Form1Header, EveryProcedureStandsInTheGroupOfTheFileThatDefinesIt) {
  const std::vector<DeclaredProcedure> declared = ProceduresDeclaredInHeader();
  ASSERT_GT(declared.size(), 150u);
  std::map<QString, QString> sources;
  for (const DeclaredProcedure& procedure : declared) {
    ASSERT_FALSE(procedure.File.isEmpty()) << procedure.Name.toStdString() << " stands in no group naming its file";
    if (!sources.contains(procedure.File)) {
      QFile source(QStringLiteral(CORVANE_SOURCE_DIR "/") + procedure.File);
      EXPECT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Text)) << procedure.File.toStdString();
      sources[procedure.File] = QString::fromUtf8(source.readAll());
    }
    EXPECT_TRUE(sources[procedure.File].contains(QStringLiteral("Form1::") + procedure.Name + u'('))
        << procedure.Name.toStdString() << " is not defined in " << procedure.File.toStdString();
  }
}

TEST_F(Form1Test, EveryDeclaredHandlerIsWiredToItsControlOnce) {
  const QStringList declared = HandlersDeclaredInHeader();
  ASSERT_GT(declared.size(), 100);
  QStringList wired = form.WiredHandlers();
  for (const QString& handler : declared) {
    EXPECT_EQ(wired.count(handler), 1) << handler.toStdString();
  }
  for (const QString& handler : wired) EXPECT_TRUE(declared.contains(handler)) << handler.toStdString();
}
