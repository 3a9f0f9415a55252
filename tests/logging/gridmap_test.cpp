#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/paths.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/globals.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "testbound.h"

namespace {

constexpr platform::Color kWorked = 0x0000FF;
constexpr platform::Color kRemaining = 0x008000;

// The main window of a fixed station at 41.5 N, 72.5 W (square FN31) in a program folder of its
// own, its panel showing the grid map with the squares named, on 50 M.
class GridMapTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::OwnLatitude = 41.5;
    app::OwnLongitude = 72.5;
    logging::CurrentBand = "50 M";
    logging::WorkedGridColor = kWorked;
    logging::RemainingGridColor = kRemaining;
    ShowGridMap();
    ShowActive(form);
    form.GridFill();
  }
  void TearDown() override { ProgramFolderTest::TearDown(); }

  void ShowGridMap() {
    for (platform::ListBox* list : form.BandLists()) list->SetVisible(false);
    for (platform::Label* label : form.BandNameLabels()) label->SetVisible(false);
    for (platform::Label* label : form.BandCountLabels()) label->SetVisible(false);
    for (int square : form.lblGrid.Indexes()) form.lblGrid[square].SetVisible(true);
    for (platform::CommandButton* arrow : {&form.Command4, &form.Command5, &form.Command6, &form.Command7})
      arrow->SetVisible(true);
  }

  QString Square(int index) { return form.lblGrid[index].Caption(); }
  // The squares drawn in the worked colour; every other one is in the remaining colour.
  QStringList WorkedSquares() {
    QStringList worked;
    for (int square : form.lblGrid.Indexes()) {
      const platform::Color color = form.lblGrid[square].ForeColor();
      if (color == kWorked) {
        worked << Square(square);
      } else {
        EXPECT_EQ(color, kRemaining) << square;
      }
    }
    return worked;
  }

  static void Click(platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(GridMapTest, SquaresAreNamedAroundTheOwnSquare) {
  EXPECT_EQ(Square(82), "FN31");
  EXPECT_EQ(Square(0), "EN88");
  EXPECT_EQ(Square(164), "FM84");
}

TEST_F(GridMapTest, EachArrowShiftsTheMapOneSquareRecoloursItAndReturnsToTheCallBox) {
  logging::BandGrids[0].Set(1, "FN41");
  logging::BandGridCount[0] = 1;
  form.List1.AddItem("FN41");
  const struct {
    platform::CommandButton* arrow;
    const char* centre;
    const char* corner;
    float latOffset, lonOffset;
  } presses[] = {
      {&form.Command5, "FN21", "EN78", 0, 2},  {&form.Command5, "FN11", "EN68", 0, 4},
      {&form.Command6, "FN21", "EN78", 0, 2},  {&form.Command7, "FN22", "EN79", 1, 2},
      {&form.Command4, "FN21", "EN78", 0, 2},  {&form.Command6, "FN31", "EN88", 0, 0},
  };
  for (const auto& press : presses) {
    SCOPED_TRACE(press.arrow->Name().toStdString() + " to " + press.centre);
    form.Command2.SetFocus();
    for (int square : form.lblGrid.Indexes()) form.lblGrid[square].SetForeColor(kWorked);
    Click(*press.arrow);
    EXPECT_EQ(Square(82), press.centre);
    EXPECT_EQ(Square(0), press.corner);
    EXPECT_EQ(logging::GridMapLatOffset, press.latOffset);
    EXPECT_EQ(logging::GridMapLonOffset, press.lonOffset);
    EXPECT_EQ(WorkedSquares(), QStringList{"FN41"}) << "worked on 50 M, in view all along";
    EXPECT_TRUE(form.txtCall.HasFocus());
  }
}

TEST_F(GridMapTest, TheArrowsCarryPicturesInPlaceOfCaptions) {
  for (platform::CommandButton* arrow : {&form.Command4, &form.Command5, &form.Command6, &form.Command7}) {
    EXPECT_EQ(arrow->Caption(), "") << arrow->Name().toStdString();
    EXPECT_FALSE(arrow->Picture().isNull()) << arrow->Name().toStdString();
  }
  EXPECT_NE(form.Command4.Picture(), form.Command7.Picture());
  EXPECT_NE(form.Command5.Picture(), form.Command6.Picture());
}

TEST_F(GridMapTest, AStationWithoutAPositionNorthAndWestKeepsTheCaptionsItHas) {
  const struct {
    double latitude, longitude;
  } positions[] = {{0, 72.5}, {41.5, 0}, {-33.9, 72.5}, {41.5, -151.2}};
  for (const auto& position : positions) {
    SCOPED_TRACE(testing::Message() << position.latitude << " " << position.longitude);
    app::OwnLatitude = position.latitude;
    app::OwnLongitude = position.longitude;
    form.GridFill();
    Click(form.Command5);
    EXPECT_EQ(Square(82), "FN31");
    EXPECT_EQ(Square(0), "EN88");
  }
}

TEST_F(GridMapTest, TheCurrentBandsWorkedSquaresAreColouredAsABandIsSelected) {
  form.List1.AddItem("FN31");
  form.List1.AddItem("en88");
  form.List1.AddItem("JO01");  // off the map
  form.List2.AddItem("FN20");
  logging::BandGrids[10].Set(1, "FM84");  // 24 G has no list on the panel
  logging::BandGridCount[10] = 1;
  logging::BandGrids[11].Set(1, "FN32");  // 47 G, counted on it no more
  logging::BandGrids[11].Set(2, "FN33");
  logging::BandGridCount[11] = 1;

  const struct {
    platform::Menu* menu;
    QStringList worked;
  } cases[] = {
      {&form.mnu160, {"EN88", "FN31"}},
      {&form.mnu80, {"FN20"}},
      {&form.mnu40, {}},
      {&form.mnu24g, {"FM84"}},
      {&form.mnu47g, {"FN32"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.menu->Caption().toStdString());
    c.menu->Action()->trigger();
    EXPECT_EQ(WorkedSquares(), c.worked);
  }
}

TEST_F(GridMapTest, ANewGridColoursTheFirstSquareOfItsNameOnly) {
  for (int square : form.lblGrid.Indexes()) form.lblGrid[square].SetForeColor(kRemaining);
  form.lblGrid[3].SetCaption("AN41");  // letters held at A name squares 20 degrees apart alike
  form.lblGrid[50].SetCaption("AN41");
  QString grid = "an41";
  form.ColorChange(grid);
  EXPECT_EQ(form.lblGrid[3].ForeColor(), kWorked);
  EXPECT_EQ(form.lblGrid[50].ForeColor(), kRemaining);
  QString offTheMap = "JO01";
  form.ColorChange(offTheMap);
  EXPECT_EQ(WorkedSquares(), QStringList{"AN41"}) << "other squares keep their colour";
}

TEST_F(GridMapTest, HoveringOverASquareCountsItsContactsPerBand) {
  const char* bands[] = {"50 M", "50 m", "144 M", "432 M", "3.5 G", "10 G", "24 G", "300 G", "2 M"};
  for (const char* band : bands) logging::AppendContact({"W1AW", "59", "fn31", "59", "FN31", "", "", band, "PH"});
  logging::AppendContact({"K1ABC", "59", "FN32", "59", "FN31", "", "", "50 M", "PH"});

  QTest::mouseMove(form.lblGrid[82].Widget());
  EXPECT_EQ(form.lblDupe.Caption(),
            "FN31  Total = 9   50 = 2   144 = 1   222 = 0\r\n"
            "432 = 1   902 = 0   1.3 = 0   2.3 = 0   3.5 = 1\r\n"
            "5.8 = 0   10 = 1");

  QTest::mouseMove(form.lblGrid[0].Widget());
  EXPECT_EQ(form.lblDupe.Caption(),
            "EN88  Total = 0   50 = 0   144 = 0   222 = 0\r\n"
            "432 = 0   902 = 0   1.3 = 0   2.3 = 0   3.5 = 0\r\n"
            "5.8 = 0   10 = 0");
}

TEST_F(GridMapTest, ClickingASquarePutsItIntoTheGridBox) {
  Click(form.lblGrid[82]);
  EXPECT_EQ(form.txtSec.Text(), "FN31");
  Click(form.lblGrid[164]);
  EXPECT_EQ(form.txtSec.Text(), "FM84");
}

// A spot on the band map, in slot 7 of the store.
class BandMapSpotTest : public GridMapTest {
 protected:
  void SetUp() override {
    GridMapTest::SetUp();
    spotting::DXSpotCall[7] = "W1AW";
    spotting::DXSpotFreq[7] = 144.205f;
    form.lblDX.SetVisible(true);
    form.lblDXSpot[7].SetCaption("  W1AW");
    form.lblDXSpot[7].SetVisible(true);
  }
};

TEST_F(BandMapSpotTest, ARightClickTakesTheCallIntoTheEntryLineAndMovesOnEvenWithNoRigPolled) {
  logging::RstRecord = 1;  // the Tab then lands in the received RST box
  form.txtSec.SetFocus();
  QTest::mousePress(form.lblDXSpot[7].Widget(), Qt::RightButton);
  EXPECT_EQ(form.txtCall.Text(), "W1AW");
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.txtRSTR.HasFocus(); }, peertesting::kBoundMs))
      << "the Tab leaves the call box";
  EXPECT_TRUE(platform::IsLoaded<rig::RigControlfrm>());
  EXPECT_FALSE(platform::Instance<rig::RigControlfrm>().Visible());
  EXPECT_EQ(spotting::DXSpotFreq[7], 144.205f);
}

TEST_F(BandMapSpotTest, AnyOtherButtonTakesTheSpotOffTheMapOnly) {
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
    spotting::DXSpotFreq[7] = 144.205f;
    QTest::mousePress(form.lblDXSpot[7].Widget(), button);
    EXPECT_EQ(spotting::DXSpotFreq[7], 0.0f);
    EXPECT_EQ(spotting::DXSpotCall[7], "W1AW");
    EXPECT_EQ(form.txtCall.Text(), "");
    EXPECT_FALSE(platform::IsLoaded<rig::RigControlfrm>());
  }
}

// The worked-grid lists of 50 M and 144 M, as the band-list panel shows them.
class RoverListTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    form.List3.SetHeight(1800);
    ShowActive(form);
  }

  // A grid the table does not hold, so a reload takes it away.
  static void ClickStaleItem(platform::ListBox& list) {
    list.Clear();
    list.AddItem("FN31 FN20");
    auto* view = static_cast<QAbstractItemView*>(list.Widget());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
  }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(RoverListTest, ARoverInContestType5ShrinksTheClickedListAndReloadsTheLog) {
  app::Rover = 1;
  app::ContestType = 5;
  for (platform::ListBox* list : {&form.List1, &form.List2}) {
    SCOPED_TRACE(list->Name().toStdString());
    const double font = list->FontSize();
    ClickStaleItem(*list);
    EXPECT_NEAR(list->FontSize(), font * 0.9, 0.01);
    EXPECT_EQ(list->Height(), 1800);
    EXPECT_EQ(list->ListCount(), 0) << "the lists were read again from the empty log";
    ClickStaleItem(*list);
    EXPECT_NEAR(list->FontSize(), font * 0.81, 0.01) << "each click shrinks it further";
  }
}

TEST_F(RoverListTest, AFixedStationOrAnotherContestLeavesTheListAsItIs) {
  const struct {
    std::uint8_t rover, contestType;
  } cases[] = {{0, 5}, {1, 4}, {1, 1}, {0, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.rover) << " " << int(c.contestType));
    app::Rover = c.rover;
    app::ContestType = c.contestType;
    const double font = form.List1.FontSize();
    ClickStaleItem(form.List1);
    EXPECT_EQ(form.List1.FontSize(), font);
    EXPECT_EQ(form.List1.Height(), 2685);
    EXPECT_EQ(form.List1.List(0), "FN31 FN20");
  }
}

}  // namespace
