#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/trace.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/bandmapscale.h"
#include "spotting/globals.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotlines.h"
#include "spotting/spotlist.h"
#include "spotting/spotmapwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QRectF>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "operatorscript.h"
#include "polledrig.h"
#include "testbound.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

using peertesting::kBoundMs;

using platform::Control;
using platform::ControlKind;
using platform::Label;
using spotting::DXSpotFreq;

constexpr platform::Color kWhite = 0xFFFFFF;

// A cluster's DX line: the spotter, the frequency in kHz in columns 16-24, the call from 27.
QString ClusterLine(const QString& call, const QString& kilohertz, const QString& comment = QStringLiteral("FN42")) {
  return QStringLiteral("DX de Q2ABC:").leftJustified(15, u' ') + kilohertz.rightJustified(9, u' ') +
         QStringLiteral("  ") + call.leftJustified(13, u' ') + comment;
}

// The 80-column line of a cluster that ends its lines with the time and the spotter's grid.
QString EightyColumnLine() {
  return QStringLiteral("DX de Q2ABC:     50125.0  Q1XYZ        FN42 up 5").leftJustified(70, u' ') +
         QStringLiteral("1234Z FN31");
}

bool MovesWithTheSpan(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::ListBox:
    case ControlKind::ListView:
    case ControlKind::CommandButton:
    case ControlKind::TextBox:
    case ControlKind::Label:
      return true;
    default:
      return false;
  }
}

// The main window laid out as its load leaves it, of a program in a folder of its own, on 144 M
// at 18:00 on the fake clock; the spotting window offers its four sources.
class DXAreaTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::ContestType = 1;
    logging::CurrentBand = "144 M";
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
    spotting::CreateSpotListColumns(form);
    form.ResizeBandLists();
  }
  void TearDown() override {
    platform::UnloadAll();
    ProgramFolderTest::TearDown();
  }

  // The operator's choice of source and view in the spotting window, then its Done.
  void Choose(const QString& source, bool list) {
    spotting::PacketSpotfrm& window = platform::Instance<spotting::PacketSpotfrm>();
    window.List1.SetListIndex(-1);
    for (int i = 0; i < window.List1.ListCount(); ++i) {
      if (window.List1.List(i) == source) window.List1.SetListIndex(i);
    }
    window.OptList.SetValue(list);
    form.PacketResize();
  }
  void OpenBandMap() { Choose("TNC", false); }
  void OpenSpotList() { Choose("TNC", true); }

  // A DX line as the spot input hands it on.
  void Receive(const QString& line) {
    const spotting::DXLine dx = spotting::ParseDXLine(line);
    form.BandMapSpots(dx.Call, dx.Frequency, spotting::SpotRecord(line));
  }
  void Spot(const QString& call, const QString& kilohertz) { Receive(ClusterLine(call, kilohertz)); }

  QStringList ScaleCaptions() const {
    QStringList captions;
    for (int k = 0; k <= 4; ++k) captions << form.lblFreqSpot[k].Caption();
    return captions;
  }
  // The slots whose labels show, newest first.
  std::vector<int> ShownSlots() const {
    std::vector<int> shown;
    for (int slot = 49; slot >= 0; --slot) {
      if (form.lblDXSpot[slot].Visible()) shown.push_back(slot);
    }
    return shown;
  }
  // Where along the axis a label is centred: 0 at its start, 1 at its end.
  double Along(const Label& label) const {
    return (label.Left() + label.Width() / 2 - form.LineDX.X1()) / (form.LineDX.X2() - form.LineDX.X1());
  }
  // A row of the spot list (1 is the top), its item text and its seven columns.
  QStringList Row(int index) const {
    const platform::ListItem item = form.txtDX.ListItems(index);
    QStringList row{item.Text()};
    for (int column = 1; column <= 7; ++column) row << item.SubItems(column);
    return row;
  }
  void ClickRow(int index) {
    QTableView* table = form.txtDX.View();
    const QRect cell = table->visualRect(table->model()->index(index - 1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  }
  bool RigTuned() const { return platform::IsLoaded<rig::RigControlfrm>(); }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// ---- Opening, switching and closing the DX area

TEST_F(DXAreaTest, ASourceOpensTheBandMapAcrossTheBottomTenth) {
  const double callTop = form.txtCall.Top();
  const double callHeight = form.txtCall.Height();
  double lowestBottom = 0;
  for (const Control* control : form.Controls()) {
    if (MovesWithTheSpan(*control)) lowestBottom = std::max(lowestBottom, control->Top() + control->Height());
  }

  OpenBandMap();

  EXPECT_DOUBLE_EQ(form.txtCall.Top(), callTop * 0.9);
  EXPECT_DOUBLE_EQ(form.txtCall.Height(), callHeight * 0.9);
  for (const Control* area : {static_cast<const Control*>(&form.txtDX), static_cast<const Control*>(&form.lblDX)}) {
    EXPECT_NEAR(area->Top(), lowestBottom * 0.9, 1e-6);
    EXPECT_NEAR(area->Top() + area->Height(), form.ScaleHeight(), 1e-6);
    EXPECT_DOUBLE_EQ(area->Left(), 0.01 * form.Width());
    EXPECT_DOUBLE_EQ(area->Width(), 0.97 * form.Width());
  }
  const double axis = form.lblDX.Top() + form.lblDX.Height() / 2;
  EXPECT_DOUBLE_EQ(form.LineDX.Y1(), axis);
  EXPECT_DOUBLE_EQ(form.LineDX.Y2(), axis);
  const double halfScale = form.lblFreqSpot[0].Width() / 2;
  EXPECT_DOUBLE_EQ(form.LineDX.X1(), form.lblDX.Left() + halfScale);
  EXPECT_DOUBLE_EQ(form.LineDX.X2(), form.lblDX.Left() + form.lblDX.Width() - halfScale);
  for (int k = 0; k <= 4; ++k) {
    EXPECT_DOUBLE_EQ(form.lblFreqSpot[k].Top(), axis + 0.004 * form.Height()) << k;
    EXPECT_NEAR(Along(form.lblFreqSpot[k]), k * 0.25, 1e-9) << k;
    EXPECT_TRUE(form.lblFreqSpot[k].Visible()) << k;
  }
  EXPECT_EQ(ScaleCaptions(), QStringList({"144.000", "145.000", "146.000", "147.000", "148.000"}));
  EXPECT_TRUE(form.lblDX.Visible());
  EXPECT_TRUE(form.LineDX.Visible());
  EXPECT_FALSE(form.txtDX.Visible());
  EXPECT_TRUE(ShownSlots().empty());
}

TEST_F(DXAreaTest, TheViewSwitchesBetweenListAndMapInThePlaceOpened) {
  OpenSpotList();
  EXPECT_TRUE(form.txtDX.Visible());
  EXPECT_FALSE(form.lblDX.Visible());
  EXPECT_FALSE(form.LineDX.Visible());
  const double callTop = form.txtCall.Top();
  const double areaTop = form.txtDX.Top();

  Choose("Telnet", false);
  EXPECT_FALSE(form.txtDX.Visible());
  EXPECT_TRUE(form.lblDX.Visible());
  EXPECT_TRUE(form.LineDX.Visible());
  EXPECT_TRUE(form.lblFreqSpot[2].Visible());

  Choose("AGW Packet Engine", true);
  EXPECT_TRUE(form.txtDX.Visible());
  EXPECT_FALSE(form.lblDX.Visible());
  EXPECT_FALSE(form.LineDX.Visible());
  EXPECT_FALSE(form.lblFreqSpot[2].Visible());
  EXPECT_FALSE(form.lblDXSpot[49].Visible());
  EXPECT_DOUBLE_EQ(form.txtCall.Top(), callTop) << "a switch does not shrink the window again";
  EXPECT_DOUBLE_EQ(form.txtDX.Top(), areaTop);
}

TEST_F(DXAreaTest, NoSourceClosesTheAreaGivingBackAlmostAllOfTheSpan) {
  // Nothing chosen at all counts as "None".
  for (const QString source : {"None", ""}) {
    SCOPED_TRACE(source.toStdString());
    std::map<const Control*, std::pair<double, double>> before;  // top, height
    for (const Control* control : form.Controls()) {
      if (MovesWithTheSpan(*control)) before[control] = {control->Top(), control->Height()};
    }
    OpenBandMap();
    Spot("Q1XYZ", "144200.0");
    ASSERT_TRUE(form.lblDXSpot[49].Visible());

    Choose(source, false);

    for (const auto& [control, place] : before) {
      const std::string name = control->Name().toStdString() + "(" + std::to_string(control->Index()) + ")";
      const bool sizedByTheArea = control == &form.txtDX || control == &form.lblDX;
      if (!sizedByTheArea) {
        EXPECT_NEAR(control->Height(), place.second * 0.99999999, 1e-9) << name;
      }
      if (sizedByTheArea || control->Name() == "lblDXSpot" || control->Name() == "lblFreqSpot") {
        EXPECT_EQ(control->Top(), 1000) << name;
        EXPECT_FALSE(control->Visible()) << name;
      } else {
        EXPECT_NEAR(control->Top(), place.first * 0.99999999, 1e-9) << name;
      }
    }
    EXPECT_EQ(form.LineDX.Y1(), 1000);
    EXPECT_EQ(form.LineDX.Y2(), 1000);
    EXPECT_FALSE(form.LineDX.Visible());
  }
}

TEST_F(DXAreaTest, NoSourceLeavesAClosedAreaClosed) {
  const double callTop = form.txtCall.Top();
  for (const QString source : {"None", "", "none"}) {
    for (const bool list : {false, true}) {
      Choose(source, list);
      EXPECT_FALSE(form.txtDX.Visible()) << source.toStdString();
      EXPECT_FALSE(form.lblDX.Visible()) << source.toStdString();
      EXPECT_EQ(form.txtCall.Top(), callTop) << source.toStdString();
    }
  }
}

// ---- Spot intake: alert, list and store

TEST_F(DXAreaTest, ASpotIsListedAtTheTopInTheColumnsOfItsRecord) {
  QStringList headers;
  for (int column = 1; column <= form.txtDX.ColumnHeaders.Count(); ++column)
    headers << form.txtDX.ColumnHeaders(column).Text();
  EXPECT_EQ(headers, QStringList({"Call", "Frequency", "QTH", "Status", "Comments", "Prefix", "Time", "From"}));

  Receive(EightyColumnLine() + "\r\n");
  EXPECT_EQ(Row(1), QStringList({"Q1XYZ", "50.125", "", "", "de Q2ABC:  FN42 up 5", "", "1234", "FN3"}));

  Receive(ClusterLine("Q3DEF", "144200.0", "FN20 strong"));
  ASSERT_EQ(form.txtDX.ListItems.Count(), 2);
  EXPECT_EQ(Row(1), QStringList({"Q3DEF", "144.2", "", "", "de Q2ABC:  FN20 strong", "", "", ""}));
  EXPECT_EQ(Row(2)[0], "Q1XYZ");
  EXPECT_EQ(spotting::DXSpotCall[49], "Q3DEF");
  EXPECT_EQ(spotting::DXSpotCall[48], "Q1XYZ");
}

TEST_F(DXAreaTest, TheListKeepsThe200NewestSpots) {
  for (int i = 1; i <= 201; ++i) Spot(QStringLiteral("Q1A%1").arg(i), QStringLiteral("%1.0").arg(144000 + i));
  ASSERT_EQ(form.txtDX.ListItems.Count(), 200);
  EXPECT_EQ(Row(1)[0], "Q1A201");
  EXPECT_EQ(Row(200)[0], "Q1A2");
  Spot("Q1A202", "144202.0");
  EXPECT_EQ(form.txtDX.ListItems.Count(), 200);
  EXPECT_EQ(Row(200)[0], "Q1A3");
}

TEST_F(DXAreaTest, TheOwnCallRaisesTheSpottedAlertInAnyLetterCase) {
  platform::ScriptedDialogs dialogs;
  app::OwnCall = "Q1XYZ";
  const QString record = "de Q2ABC:  144.200  q1xyz\rsecond line";

  // A frequency that is no number drops the spot after the alert.
  form.BandMapSpots("q1xyz", "not a number", record);
  EXPECT_EQ(form.lblDialog.Caption(), "You've been spotted! ");
  EXPECT_EQ(form.lblDupe.Caption(), "You've been spotted!  " + record);
  EXPECT_EQ(form.lblDialog.BackColor(), kWhite);
  EXPECT_EQ(form.lblDupe.BackColor(), kWhite);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(form.txtDX.ListItems.Count(), 0);
  EXPECT_TRUE(spotting::DXSpotCall[49].isEmpty());

  // The list takes the record up to its carriage return; the alert showed it whole.
  form.BandMapSpots("Q1XYZ", "144200", record);
  EXPECT_EQ(dialogs.Beeps(), 2);
  ASSERT_EQ(form.txtDX.ListItems.Count(), 1);
  EXPECT_EQ(Row(1)[4], "de Q2ABC:  ");
}

TEST_F(DXAreaTest, WithNoOwnCallAShortLineRaisesNoAlert) {
  platform::ScriptedDialogs dialogs;
  form.lblDialog.SetCaption("Select a band and mode from the menu bar!");
  Receive("DX de Q2ABC:     50125.0");
  Receive("DX de Q2ABC:");
  EXPECT_EQ(dialogs.Beeps(), 0);
  EXPECT_EQ(form.lblDialog.Caption(), "Select a band and mode from the menu bar!");
  EXPECT_EQ(form.lblDupe.Caption(), "");
}

// ---- The band map

TEST_F(DXAreaTest, OneSpotKeepsTheWholeBandAndSitsOnItsFrequencyAboveTheAxis) {
  OpenBandMap();
  Spot("Q1XYZ", "144200.0");
  EXPECT_EQ(ScaleCaptions(), QStringList({"144.000", "145.000", "146.000", "147.000", "148.000"}));
  ASSERT_EQ(ShownSlots(), std::vector<int>{49});
  const Label& label = form.lblDXSpot[49];
  EXPECT_EQ(label.Caption(), "Q1");
  EXPECT_NEAR(Along(label), 0.05, 1e-4);
  EXPECT_DOUBLE_EQ(label.Top(), form.LineDX.Y1() - label.Height() - 0.004 * form.Height());
  EXPECT_EQ(label.ForeColor(), spotting::YoungSpotColor);
}

TEST_F(DXAreaTest, TwoFrequenciesNarrowTheScaleToTheSpots) {
  OpenBandMap();
  Spot("Q1XYZ", "144200.0");
  Spot("Q2ABC", "144300.0");
  EXPECT_EQ(ScaleCaptions(), QStringList({"144.199", "144.224", "144.250", "144.276", "144.301"}));
  ASSERT_EQ(ShownSlots(), std::vector<int>({49, 48}));
  EXPECT_NEAR(Along(form.lblDXSpot[49]), 0.99, 0.002);
  EXPECT_NEAR(Along(form.lblDXSpot[48]), 0.01, 0.002);
}

TEST_F(DXAreaTest, TheSameCallAgainTakesItsEarlierLabelOffTheMapButNotTheList) {
  OpenBandMap();
  Spot("q1xyz", "144200.0");
  Spot("Q2ABC", "144250.0");
  Spot("Q1XYZ", "144300.0");
  EXPECT_EQ(ShownSlots(), std::vector<int>({49, 48}));
  EXPECT_EQ(form.txtDX.ListItems.Count(), 3);
}

TEST_F(DXAreaTest, ASpotOnTheBandEdgeIsNotShown) {
  logging::CurrentBand = "50 M";
  OpenBandMap();
  Spot("Q1XYZ", "50000.0");
  EXPECT_EQ(ScaleCaptions()[0], "50.000");
  EXPECT_TRUE(ShownSlots().empty());
}

TEST_F(DXAreaTest, Slot0OutsideTheScaleTheNewerSpotsNarrowIsNotShown) {
  OpenBandMap();
  Spot("Q9OLD", "146000.0");
  Spot("Q1XYZ", "144200.0");
  Spot("Q2ABC", "144300.0");
  for (int i = 0; i < 47; ++i) Spot(QStringLiteral("Q3B%1").arg(i), "50100.0");
  ASSERT_EQ(spotting::DXSpotCall[0], "Q9OLD");
  EXPECT_EQ(ScaleCaptions()[4], "144.301");
  EXPECT_EQ(ShownSlots(), std::vector<int>({2, 1}));
}

TEST_F(DXAreaTest, LabelsTakeTheirAgeColourUntilAnHourOldSpotEndsTheMap) {
  OpenBandMap();
  Spot("Q1OLD", "144150.0");
  platform::Clock::Advance(15 * 60'000);
  Spot("Q2MID", "144200.0");
  platform::Clock::Advance(20 * 60'000);
  Spot("Q3NEW", "144300.0");
  platform::Clock::Advance(10 * 60'000);

  form.Form_Activate();  // ages 45, 30 and 10 minutes
  ASSERT_EQ(ShownSlots(), std::vector<int>({49, 48, 47}));
  EXPECT_EQ(form.lblDXSpot[49].ForeColor(), spotting::RecentSpotColor);
  EXPECT_EQ(form.lblDXSpot[48].ForeColor(), spotting::OldSpotColor);
  EXPECT_EQ(form.lblDXSpot[47].ForeColor(), spotting::OldSpotColor);

  platform::Clock::Advance(15 * 60'000);
  form.Form_Activate();  // 60, 45 and 25 minutes
  EXPECT_EQ(ShownSlots(), std::vector<int>({49, 48}));
}

TEST_F(DXAreaTest, ABandChangeRedrawsTheMapForTheNewBand) {
  platform::ScriptedDialogs dialogs;
  OpenBandMap();
  Spot("Q1XYZ", "144200.0");
  Spot("Q2ABC", "24048100.0");
  Spot("Q3DEF", "24048200.0");
  ASSERT_EQ(ShownSlots(), std::vector<int>{47});

  form.mnu24g.Action()->trigger();
  ASSERT_EQ(logging::CurrentBand, "24 G");
  EXPECT_EQ(ScaleCaptions(), QStringList({".000", ".000", ".000", ".000", ".000"}));
  EXPECT_TRUE(ShownSlots().empty());

  form.mnu80.Action()->trigger();
  EXPECT_EQ(ShownSlots(), std::vector<int>{47});
}

TEST_F(DXAreaTest, HoveringASpotShowsCallFrequencyAndUtcTimeInTheDupeLine) {
  app::UtcOffset = 4;
  OpenBandMap();
  Spot("Q1XYZ", "144200.0");
  ShowActive(form);
  EXPECT_EQ(form.lblDXSpot[49].ToolTipText(), "Q1XYZ  144.200  22:00:00");
  QTest::mouseMove(form.lblDXSpot[49].Widget());
  EXPECT_EQ(form.lblDupe.Caption(), "Q1XYZ  144.200  22:00:00");
}

// ---- Clicks

TEST_F(DXAreaTest, ALeftClickOnASpotLabelTakesItOffTheMapAndRedraws) {
  OpenBandMap();
  Spot("Q1XYZ", "144200.0");
  Spot("Q2ABC", "144300.0");
  ShowActive(form);
  QTest::mousePress(form.lblDXSpot[48].Widget(), Qt::LeftButton);
  EXPECT_EQ(DXSpotFreq[48], 0.0f);
  EXPECT_EQ(ShownSlots(), std::vector<int>{49});
  EXPECT_EQ(ScaleCaptions()[0], "144.000") << "one spot left keeps the whole band";
  EXPECT_EQ(form.txtDX.ListItems.Count(), 2);
}

TEST_F(DXAreaTest, ASpotLabelIndexOutsideTheStoreDoesNothing) {
  Spot("Q1XYZ", "144200.0");
  DXSpotFreq[50] = 1;
  for (const int index : {-1, 50, 51}) {
    for (const int button : {platform::LeftButton, platform::RightButton}) {
      form.lblDXSpot_MouseDown(index, button, 0, 0, 0);
      form.lblDXSpot_MouseMove(index, 0, 0, 0, 0);
    }
  }
  EXPECT_EQ(DXSpotFreq[50], 1.0f);
  EXPECT_EQ(DXSpotFreq[49], 144.2);
  EXPECT_EQ(form.txtCall.Text(), "");
  EXPECT_FALSE(RigTuned());
}

TEST_F(DXAreaTest, AListRowClickTakesTheCallWithoutTuningWhenNoRigIsChosen) {
  rig::RigType = "none";
  OpenSpotList();
  Spot("Q1XYZ", "144200.0");
  Spot("Q2ABC", "144300.0");
  ShowActive(form);
  form.txtSec.SetFocus();
  ClickRow(2);
  EXPECT_EQ(form.txtCall.Text(), "Q1XYZ");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs));
  EXPECT_FALSE(RigTuned());
}

TEST_F(DXAreaTest, ARowWithoutANumberOrNoRowOnlyMovesTheFocus) {
  rig::RigType = "Rig";
  OpenSpotList();
  ShowActive(form);
  form.txtSec.SetFocus();
  QTest::mouseClick(form.txtDX.View()->viewport(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs));

  Spot("Q1XYZ", "144200.0");
  for (const char* frequency : {"", "abc", "1e39", "inf"}) {
    form.txtDX.ListItems(1).SetSubItems(1, frequency);
    form.txtSec.SetFocus();
    ClickRow(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs)) << frequency;
    EXPECT_EQ(form.txtCall.Text(), "") << frequency;
  }
  EXPECT_FALSE(RigTuned());
}

// The same with a Kenwood polled on a simulated rig, the main window in front.
class DXAreaTuningTest : public DXAreaTest {
 protected:
  void SetUp() override {
    DXAreaTest::SetUp();
    polledRig.Start("Kenwood");
    ShowActive(form);
  }

  PolledSimulatedRig polledRig{4};
};

TEST_F(DXAreaTuningTest, AListRowClickTunesThePolledRigAndTakesTheCall) {
  OpenSpotList();
  Spot("Q1XYZ", "144125.0");
  Spot("Q2ABC", "144300.0");
  form.txtSec.SetFocus();
  ClickRow(2);
  EXPECT_EQ(polledRig.Sent(), "FA00144125000;");
  EXPECT_EQ(form.txtCall.Text(), "Q1XYZ");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs));
}

TEST_F(DXAreaTuningTest, AMicrowaveSpotIsKeptAndTunedToTheHertz) {
  OpenSpotList();
  Spot("Q1XYZ", "10368125.0");
  EXPECT_EQ(DXSpotFreq[49], 10368.125);
  Spot("Q2ABC", "2320125.5");
  EXPECT_EQ(DXSpotFreq[49], 2320.1255);
  form.txtSec.SetFocus();
  ClickRow(2);
  EXPECT_EQ(polledRig.Sent(), "FA10368125000;");
  ClickRow(1);
  EXPECT_EQ(polledRig.Sent(), "FA02320125500;");
}

TEST_F(DXAreaTuningTest, ARightClickOnABandMapSpotTunesThePolledRigAndMovesOnWithTab) {
  logging::RstRecord = 1;  // the Tab then lands in the received RST box
  OpenBandMap();
  Spot("Q1XYZ", "144250.0");
  form.txtSec.SetFocus();
  QTest::mousePress(form.lblDXSpot[49].Widget(), Qt::RightButton);
  EXPECT_EQ(polledRig.Sent(), "FA00144250000;");
  EXPECT_EQ(form.txtCall.Text(), "Q1XYZ");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtRSTR.HasFocus(); }, kBoundMs)) << "the Tab leaves the call box";
  EXPECT_EQ(ShownSlots(), std::vector<int>{49}) << "the spot stays on the map";
}

TEST_F(DXAreaTest, DoubleClicksOpenTheSpectrumMapUntilItIsClosed) {
  OpenSpotList();
  Spot("Q1XYZ", "144200.0");
  ShowActive(form);
  const auto doubleClickOpensTheMap = [&](QWidget* widget, QPoint at) {
    bool wasModal = false;
    OperatorScript operatorScript;
    operatorScript.When(
        "the spectrum map", [] { return QApplication::activeModalWidget() != nullptr; },
        [&] {
          spotting::SpectrumMap& map = platform::Instance<spotting::SpectrumMap>();
          wasModal = QApplication::activeModalWidget() == map.Widget();
          map.Hide();
        });
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return operatorScript.Done(); }, kBoundMs));
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(QTest::qWaitFor([] { return !platform::IsLoaded<spotting::SpectrumMap>(); }, kBoundMs))
        << "unloaded once closed";
  };
  QTableView* table = form.txtDX.View();
  doubleClickOpensTheMap(table->viewport(), table->visualRect(table->model()->index(0, 0)).center());
  Choose("TNC", false);
  doubleClickOpensTheMap(form.lblDX.Widget(), QPoint(5, 5));
}

TEST_F(DXAreaTest, ClickingTheBackdropOpensTheSpottingWindowInTheProgramFolder) {
  OpenBandMap();
  ShowActive(form);
  platform::Instance<spotting::PacketSpotfrm>().Hide();
  QTest::mouseClick(form.lblDX.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(platform::Instance<spotting::PacketSpotfrm>().Visible());
  EXPECT_FALSE(platform::Instance<spotting::PacketSpotfrm>().Widget()->isModal());
  EXPECT_EQ(platform::CurDir().toStdString(), QDir(folder.path()).canonicalPath().toStdString());
}

// ---- On a real screen

TEST_F(DXAreaTest, ADozenSpotsLieOnTheMapOfA1024x768Screen) {
  // As the load lays the design out on the operator's screen.
  platform::Screen::SetSizeForTesting(1024 * platform::TwipsPerPixel, 768 * platform::TwipsPerPixel);
  app::ModFormResize::FillScreen(form);
  form.ResizeBandLists();
  OpenBandMap();
  const char* calls[] = {"Q1AB", "Q2CD/P", "Q3EF", "Q4GH", "Q5IJ", "Q6KL",
                         "QQ/Q7MN", "Q8OP", "Q9QR", "Q0ST", "Q1UV", "Q2WX"};
  for (int i = 0; i < 12; ++i) {
    Spot(calls[i], QStringLiteral("%1.0").arg(144050 + i * 150));
    platform::Clock::Advance(4 * 60'000);
  }
  form.Form_Activate();
  ASSERT_EQ(ShownSlots().size(), 12u);
  const QRectF map(form.lblDX.Left(), form.lblDX.Top(), form.lblDX.Width(), form.lblDX.Height());
  std::vector<std::pair<const Label*, QRectF>> placed;
  for (const int slot : ShownSlots()) placed.emplace_back(&form.lblDXSpot[slot], QRectF());
  for (int k = 0; k <= 4; ++k) placed.emplace_back(&form.lblFreqSpot[k], QRectF());
  for (auto& [label, place] : placed) place = QRectF(label->Left(), label->Top(), label->Width(), label->Height());
  for (std::size_t a = 0; a < placed.size(); ++a) {
    const std::string name = placed[a].first->Name().toStdString() + std::to_string(placed[a].first->Index());
    EXPECT_TRUE(map.contains(placed[a].second)) << name;
    for (std::size_t b = a + 1; b < placed.size(); ++b) {
      EXPECT_FALSE(placed[a].second.intersects(placed[b].second))
          << name << " overlaps " << placed[b].first->Name().toStdString() << placed[b].first->Index();
    }
  }
  SaveScreenshot(form, QStringLiteral("form1-1024-bandmap.png"));
}

}  // namespace
