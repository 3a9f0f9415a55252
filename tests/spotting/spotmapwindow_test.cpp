#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/bandmapscale.h"
#include "spotting/globals.h"
#include "spotting/spotlist.h"
#include "spotting/spotmapwindow.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "operatorscript.h"
#include "polledrig.h"
#include "testbound.h"

#include <vector>

namespace {

using peertesting::kBoundMs;

using platform::Label;
using spotting::DXSpotFreq;
using spotting::SpectrumMap;

constexpr double kTwips = platform::TwipsPerPixel;

// The main window of a program in a folder of its own, at 18:00 on the fake clock, on a
// 1024 x 768 screen.
class SpectrumMapTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::ChDir(folder.path());
    logging::CurrentBand = "144 M";
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
    platform::Screen::SetSizeForTesting(1024 * kTwips, 768 * kTwips);
    spotting::CreateSpotListColumns(form);
  }
  void TearDown() override {
    platform::UnloadAll();
    ProgramFolderTest::TearDown();
  }

  // A spot as the spot input hands it on.
  void Spot(const QString& call, const QString& kilohertz) {
    form.BandMapSpots(call, kilohertz, QStringLiteral("DX de Q2ABC:  %1  %2").arg(kilohertz, call));
  }

  static SpectrumMap& Map() { return platform::Instance<SpectrumMap>(); }
  static QStringList RowCaptions(int row) {
    QStringList captions;
    for (int k = 5 * row; k < 5 * row + 5; ++k) captions << Map().lblFreqSpot[k].Caption();
    return captions;
  }
  static std::vector<int> ShownSlots() {
    std::vector<int> shown;
    for (int slot = 49; slot >= 0; --slot) {
      if (Map().lblDXSpot[slot].Visible()) shown.push_back(slot);
    }
    return shown;
  }
  // Where along a row's line a label is centred: 0 at its start, 1 at its end.
  static double Along(const Label& label, int row) {
    const platform::Line& line = Map().lineHF[row];
    return (label.Left() + label.Width() / 2 - line.X1()) / (line.X2() - line.X1());
  }
  // Shows the map from its menu item and, once its activation has drawn the newest spot, runs the
  // operator's steps.
  void WhileShownFromTheMenu(std::function<void()> steps) {
    OperatorScript operatorScript;
    operatorScript.When(
        "the spectrum map with its spots",
        [] {
          return platform::IsLoaded<SpectrumMap>() && QApplication::activeModalWidget() == Map().Widget() &&
                 Map().lblDXSpot[49].Visible();
        },
        [&] { steps(); });
    form.mnuViewSpectrumMap.Action()->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return operatorScript.Done(); }, kBoundMs));
  }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(SpectrumMapTest, TheLoadFitsElevenRowsToTheWorkAreaWithTheirWholeBands) {
  platform::Screen::SetWorkAreaForTesting(0, 24 * kTwips, 1024 * kTwips, 744 * kTwips);
  SpectrumMap& map = Map();
  EXPECT_EQ(map.Caption(), " HF Spectrum Map");
  EXPECT_DOUBLE_EQ(map.Left(), 0);
  EXPECT_DOUBLE_EQ(map.Top(), 24 * kTwips);
  EXPECT_DOUBLE_EQ(map.Width(), 1024 * kTwips);
  EXPECT_DOUBLE_EQ(map.Height(), 744 * kTwips);
  const double across = 1024 * kTwips / 9600;
  const double down = 744 * kTwips / 7200;
  for (int row = 0; row < 11; ++row) {
    const platform::Line& line = map.lineHF[row];
    EXPECT_NEAR(line.X1(), 360 * across, 1e-6) << row;
    EXPECT_NEAR(line.X2(), 9120 * across, 1e-6) << row;
    EXPECT_NEAR(line.Y1(), (360 + 600 * row) * down, 1e-6) << row;
    EXPECT_DOUBLE_EQ(line.Y2(), line.Y1()) << row;
    EXPECT_NEAR(map.lblHFSpots[row].Top(), (120 + 600 * row) * down, 1e-6) << row;
    EXPECT_EQ(map.lblHFSpots[row].BackColor(), 0x800000u) << row;
    for (int j = 0; j < 5; ++j) {
      const Label& scale = map.lblFreqSpot[5 * row + j];
      EXPECT_TRUE(scale.Visible()) << row << "/" << j;
      EXPECT_NEAR(Along(scale, row), j * 0.25, 1e-9) << row << "/" << j;
      EXPECT_GT(scale.Top(), line.Y1()) << "below the line";
    }
  }
  EXPECT_EQ(RowCaptions(0), QStringList({"1.800", "1.850", "1.900", "1.950", "2.000"}));
  EXPECT_EQ(RowCaptions(10), QStringList({"144.000", "145.000", "146.000", "147.000", "148.000"}));
  EXPECT_TRUE(ShownSlots().empty());

  // The design's face is seldom installed: an installed one of the same size stands in.
  const Label& label = map.lblDXSpot[49];
  EXPECT_EQ(label.FontName(), "MS Serif");
  EXPECT_DOUBLE_EQ(label.FontSize(), 6.75 * 1.5) << "fonts grow by half at most";
  const QFontInfo shown(label.Widget()->font());
  EXPECT_TRUE(QFontDatabase::families().contains(shown.family()));
  EXPECT_NEAR(shown.pointSizeF(), 6.75 * 1.5, 0.5);
}

TEST_F(SpectrumMapTest, TheMenuShowsTheStoredSpotsAndASpotArrivingMeanwhileAtOnce) {
  app::UtcOffset = 4;
  Spot("Q1XYZ", "14020.0");
  Spot("Q2ABC", "14030.0");
  ShowActive(form);
  QStringList before, after;
  std::vector<int> shownBefore, shownAfter;
  double firstAlong = 0, lastAlong = 0;
  WhileShownFromTheMenu([&] {
    SpectrumMap& map = Map();
    before = RowCaptions(4);
    shownBefore = ShownSlots();
    firstAlong = Along(map.lblDXSpot[48], 4);
    lastAlong = Along(map.lblDXSpot[49], 4);
    EXPECT_DOUBLE_EQ(map.lblDXSpot[49].Top() + map.lblDXSpot[49].Height(), map.lineHF[4].Y1()) << "on the line";
    EXPECT_EQ(map.lblDXSpot[49].Caption(), "Q2");
    EXPECT_EQ(map.lblDXSpot[49].ToolTipText(), "Q2ABC  14.030  22:00:00");
    EXPECT_EQ(map.lblDXSpot[49].ForeColor(), spotting::YoungSpotColor);
    EXPECT_EQ(map.MousePointer(), platform::MousePointerDefault);

    Spot("Q3DEF", "14010.0");  // below the row's scale as drawn
    after = RowCaptions(4);
    shownAfter = ShownSlots();
    map.Hide();
  });
  EXPECT_EQ(before, QStringList({"14.019", "14.022", "14.025", "14.028", "14.031"}));
  EXPECT_EQ(shownBefore, std::vector<int>({49, 48}));
  EXPECT_NEAR(firstAlong, 1.0 / 12, 1e-4);
  EXPECT_NEAR(lastAlong, 11.0 / 12, 1e-4);
  EXPECT_EQ(after.front(), "14.009");
  EXPECT_EQ(shownAfter, std::vector<int>({49, 48, 47}));
  EXPECT_TRUE(QTest::qWaitFor([] { return !platform::IsLoaded<SpectrumMap>(); }, kBoundMs)) << "unloaded once closed";
}

TEST_F(SpectrumMapTest, ARightClickTakesTheWholeCallIntoTheEntryLineAndClosesTheMap) {
  rig::RigType = "None";
  Spot("Q1XYZ/P", "14020.0");
  Spot("Q2ABC", "14030.0");
  ShowActive(form);
  form.txtSec.SetFocus();
  QString caption;
  WhileShownFromTheMenu([&] {
    caption = Map().lblDXSpot[48].Caption();
    QTest::mousePress(Map().lblDXSpot[48].Widget(), Qt::RightButton);
  });
  EXPECT_EQ(caption, "P");
  EXPECT_EQ(form.txtCall.Text(), "Q1XYZ/P");
  EXPECT_TRUE(QTest::qWaitFor([] { return !platform::IsLoaded<SpectrumMap>(); }, kBoundMs));
  QApplication::setActiveWindow(form.Widget());  // as the desktop hands the keyboard back
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs));
  EXPECT_EQ(DXSpotFreq[48], 14.02) << "the spot stays";
  EXPECT_FALSE(platform::Instance<rig::RigControlfrm>().Visible());
}

// The same with the rig window polling a simulated Kenwood on its socat pair.
class SpectrumMapTuningTest : public SpectrumMapTest {
 protected:
  void SetUp() override {
    SpectrumMapTest::SetUp();
    polledRig.Start("Kenwood");
  }

  PolledSimulatedRig polledRig{4};
};

TEST_F(SpectrumMapTuningTest, ARightClickTunesThePolledRigTakesTheWholeCallAndClosesTheMap) {
  Spot("Q1XYZ/P", "14020.0");
  Spot("Q2ABC", "14030.0");
  ShowActive(form);
  form.txtSec.SetFocus();
  WhileShownFromTheMenu([&] { QTest::mousePress(Map().lblDXSpot[48].Widget(), Qt::RightButton); });
  EXPECT_EQ(polledRig.Sent(), "FA00014020000;");
  EXPECT_EQ(form.txtCall.Text(), "Q1XYZ/P");
  EXPECT_TRUE(QTest::qWaitFor([] { return !platform::IsLoaded<SpectrumMap>(); }, kBoundMs));
  QApplication::setActiveWindow(form.Widget());  // as the desktop hands the keyboard back
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.txtCall.HasFocus(); }, kBoundMs)) << "no Tab moves on";
}

TEST_F(SpectrumMapTest, AnyOtherClickRemovesTheSpotHereAtOnceAndFromTheBandMapAtItsNextRedraw) {
  form.lblDX.SetVisible(true);  // the main window's band map is showing
  Spot("Q1XYZ", "144100.0");
  Spot("Q2ABC", "144200.0");
  Spot("Q3DEF", "144300.0");
  SpectrumMap& map = Map();
  ShowActive(map);
  ASSERT_EQ(ShownSlots(), std::vector<int>({49, 48, 47}));

  QTest::mousePress(map.lblDXSpot[49].Widget(), Qt::LeftButton);
  EXPECT_EQ(DXSpotFreq[49], 0.0f);
  EXPECT_EQ(ShownSlots(), std::vector<int>({48, 47}));
  EXPECT_EQ(RowCaptions(10).back(), "144.201") << "the row zooms without it";
  EXPECT_TRUE(form.lblDXSpot[49].Visible()) << "until the band map's next redraw";
  form.DisplayBandMapLabels();
  EXPECT_FALSE(form.lblDXSpot[49].Visible());

  QTest::mousePress(map.lblDXSpot[48].Widget(), Qt::MiddleButton);
  EXPECT_EQ(ShownSlots(), std::vector<int>({47}));
  EXPECT_EQ(RowCaptions(10).front(), "144.000") << "one spot keeps the whole band";
  EXPECT_EQ(form.txtDX.ListItems.Count(), 3) << "the spot list keeps its rows";
  EXPECT_EQ(form.txtCall.Text(), "");
  EXPECT_TRUE(map.Visible());
  EXPECT_EQ(map.MousePointer(), platform::MousePointerDefault);
}

TEST_F(SpectrumMapTest, ALabelIndexOutsideTheStoreDoesNothing) {
  Spot("Q1XYZ", "14020.0");
  DXSpotFreq[50] = 14.1;
  SpectrumMap& map = Map();
  map.Show();
  for (const int index : {-1, 50, 51, 32767}) {
    for (const int button : {platform::LeftButton, platform::RightButton}) map.lblDXSpot_MouseDown(index, button, 0, 0, 0);
  }
  EXPECT_EQ(DXSpotFreq[50], 14.1);
  EXPECT_EQ(DXSpotFreq[49], 14.02);
  EXPECT_EQ(form.txtCall.Text(), "");
  EXPECT_TRUE(map.Visible());
  EXPECT_FALSE(platform::IsLoaded<rig::RigControlfrm>());
}

// Every visible label inside the window, its text whole within it and of a readable size, and no
// two of them overlapping.
void ExpectReadableUnclipped(SpectrumMap& map) {
  const QRect client = map.ClientWidget()->rect();
  std::vector<const Label*> shown;
  for (const platform::ControlArray<Label>* labels : {&map.lblFreqSpot, &map.lblDXSpot}) {
    for (int i : labels->Indexes()) {
      if ((*labels)[i].Visible()) shown.push_back(&(*labels)[i]);
    }
  }
  ASSERT_EQ(shown.size(), 55u + 12u);
  for (std::size_t a = 0; a < shown.size(); ++a) {
    const QWidget* widget = shown[a]->Widget();
    const std::string name = shown[a]->Name().toStdString() + std::to_string(shown[a]->Index());
    const QFontMetrics metrics(widget->font());
    EXPECT_TRUE(client.contains(widget->geometry())) << name;
    EXPECT_LE(metrics.horizontalAdvance(shown[a]->Caption()), widget->width()) << name;
    EXPECT_LE(metrics.height(), widget->height()) << name;
    EXPECT_GE(QFontInfo(widget->font()).pixelSize(), 11) << name;
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      EXPECT_FALSE(widget->geometry().intersects(shown[b]->Widget()->geometry()))
          << name << " overlaps " << shown[b]->Name().toStdString() << shown[b]->Index();
    }
  }
}

TEST_F(SpectrumMapTest, ADozenSpotsReadUnclippedOnCommonScreens) {
  const char* kilohertz[] = {"1830.0",  "1950.0",  "3550.0",  "3900.0",  "7010.0",  "7250.0",
                             "14020.0", "14030.0", "21100.0", "28100.0", "50125.0", "144200.0"};
  for (int i = 0; i < 12; ++i) {
    Spot(QStringLiteral("Q%1AB%2").arg(i % 10).arg(QChar(u'A' + i)), kilohertz[i]);
    platform::Clock::Advance(4 * 60'000);
  }
  for (const QSize screen : {QSize(1024, 768), QSize(1920, 1080)}) {
    platform::Screen::SetSizeForTesting(screen.width() * kTwips, screen.height() * kTwips);
    SpectrumMap& map = Map();
    ShowActive(map);
    map.BandMapLabelDisplay();
    ExpectReadableUnclipped(map);
    SaveScreenshot(map, QStringLiteral("spectrummap-%1x%2.png").arg(screen.width()).arg(screen.height()));
    map.Unload();
  }
}

}  // namespace
