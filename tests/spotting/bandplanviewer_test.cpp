#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "spotting/frmbandplan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>

#include "formtesting.h"
#include "keptcurrentfolder.h"

using spotting::frmBandPlan;

namespace {

constexpr platform::Color kBlue = platform::RGB(0, 0, 255);
constexpr platform::Color kGreen = platform::RGB(0, 255, 0);

// A class letter per button, as the operator reads the buttons left to right.
const char* const kClassLetters = "NTPGAE";

// The viewer opened in a program folder of the test's own on a 1024 x 768 screen.
class BandPlanViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    platform::ChDir(folder.path());
    platform::Screen::SetSizeForTesting(1024 * platform::TwipsPerPixel, 768 * platform::TwipsPerPixel);
  }
  void TearDown() override {
    platform::UnloadAll();
  }

  void WritePlan(const QByteArray& rows) const {
    QFile file(folder.filePath("BandPlan.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"March 5, 2012\"\r\n" + rows);
  }
  static frmBandPlan& Open() {
    frmBandPlan& viewer = platform::Instance<frmBandPlan>();
    ShowActive(viewer);
    return viewer;
  }
  static void ShowClass(frmBandPlan& viewer, char classLetter) {
    platform::CommandButton* buttons[] = {&viewer.Command1, &viewer.Command2, &viewer.Command3,
                                          &viewer.Command4, &viewer.Command5, &viewer.Command6};
    const auto index = std::string(kClassLetters).find(classLetter);
    QTest::mouseClick(buttons[index]->Widget(), Qt::LeftButton);
  }

  // The drawing's labels whose names begin with the prefix, by their number.
  static std::vector<const platform::Label*> Drawn(const frmBandPlan& viewer, const QString& prefix) {
    std::vector<const platform::Label*> labels;
    for (int n = 1;; ++n) {
      const auto named = [&](const platform::Control* c) { return c->Name() == prefix + QString::number(n); };
      const auto found = std::find_if(viewer.Controls().begin(), viewer.Controls().end(), named);
      if (found == viewer.Controls().end()) break;
      EXPECT_EQ(std::count_if(viewer.Controls().begin(), viewer.Controls().end(), named), 1);
      labels.push_back(static_cast<const platform::Label*>(*found));
    }
    return labels;
  }
  static QStringList Captions(const frmBandPlan& viewer, const QString& prefix) {
    QStringList captions;
    for (const platform::Label* label : Drawn(viewer, prefix)) captions << label->Caption();
    return captions;
  }
  // Every drawn label on the window's surface, old drawings included while they linger.
  static qsizetype SurfaceLabels(const frmBandPlan& viewer) {
    qsizetype count = 0;
    for (const QWidget* child : viewer.Widget()->findChildren<QWidget*>()) {
      const QString name = child->objectName();
      count += name.startsWith("blbl") || name.startsWith("bnlb") || name.startsWith("priv") ? 1 : 0;
    }
    return count;
  }

  QTemporaryDir folder;
  KeptCurrentFolder currentFolder;
  platform::ScriptedDialogs dialogs;
};

// 20 shown for Extra wherever its rows stand; 40's outline is followed by Novice rows only; 17
// has no outline; "cw" is no CW segment.
const QByteArray kPlan =
    "\"20\",\"O\",\"PH\",14,14.35\r\n"
    "\"20\",\"G\",\"CW\",14.025,14.15\r\n"
    "\"20\",\"E\",\"cw\",14.15,14.35\r\n"
    "\"40\",\"O\",\"PH\",7,7.3\r\n"
    "\"40\",\"N\",\"CW\",7.025,7.125\r\n"
    "\"80\",\"O\",\"PH\",3.5,4\r\n"
    "\"80\",\"E\",\"CW\",3.5,3.6\r\n"
    "\"40\",\"E\",\"CW\",7,7.1\r\n"
    "\"17\",\"E\",\"CW\",18.068,18.11\r\n"
    "\"20\",\"E\",\"CW\",14,14.025\r\n";

TEST_F(BandPlanViewer, OpensOnTheExtraClassWithItsBandsAndSegments) {
  WritePlan(kPlan);
  const frmBandPlan& viewer = Open();
  EXPECT_EQ(viewer.Label1.Caption(), "Frequencies Effective: March 5, 2012");
  EXPECT_EQ(viewer.Label2.Caption(), "Extra Frequency Privileges");
  EXPECT_EQ(Captions(viewer, "blbl"), QStringList({"20", "80"}));
  EXPECT_EQ(Captions(viewer, "bnlb"), QStringList({"20", "80"}));
  EXPECT_EQ(Drawn(viewer, "blbl")[0]->ToolTipText(), "20  14.0 - 14.35");
  EXPECT_EQ(Captions(viewer, "priv"), QStringList({"14.15 - 14.35", "3.5 - 3.6", "14.0 - 14.025"}));

  const std::vector<const platform::Label*> segments = Drawn(viewer, "priv");
  EXPECT_EQ(segments[0]->ToolTipText(), "PH  14.15 - 14.35");
  EXPECT_EQ(segments[0]->BackColor(), kGreen) << "\"cw\" is no CW segment";
  EXPECT_EQ(segments[1]->ToolTipText(), "CW  3.5 - 3.6");
  EXPECT_EQ(segments[1]->BackColor(), kBlue);

  // Placed by their edges within the band's outline.
  const platform::Label& bar80 = *Drawn(viewer, "blbl")[1];
  EXPECT_NEAR(segments[1]->Left(), bar80.Left(), 1);
  EXPECT_NEAR(segments[1]->Width(), 0.2 * bar80.Width(), 1);
  EXPECT_EQ(segments[1]->Top(), bar80.Top());
  const platform::Label& bar20 = *Drawn(viewer, "blbl")[0];
  EXPECT_NEAR(segments[0]->Left(), bar20.Left() + 0.15 / 0.35 * bar20.Width(), 1);
}

TEST_F(BandPlanViewer, EachClassReplacesTheDrawingAndAClassWithoutRowsLeavesTheHeader) {
  WritePlan(kPlan);
  frmBandPlan& viewer = Open();
  ShowClass(viewer, 'N');
  EXPECT_EQ(viewer.Label2.Caption(), "Novice Frequency Privileges");
  EXPECT_EQ(Captions(viewer, "blbl"), QStringList({"40"}));
  EXPECT_EQ(Captions(viewer, "priv"), QStringList({"7.025 - 7.125"}));
  EXPECT_EQ(SurfaceLabels(viewer), 3) << "the earlier drawing is gone at once";

  ShowClass(viewer, 'T');
  EXPECT_EQ(viewer.Label2.Caption(), "Technician Frequency Privileges");
  EXPECT_EQ(SurfaceLabels(viewer), 0);

  ShowClass(viewer, 'G');
  EXPECT_EQ(Captions(viewer, "blbl"), QStringList({"20"}));
  EXPECT_EQ(Captions(viewer, "priv"), QStringList({"14.025 - 14.15"}));
}

TEST_F(BandPlanViewer, BarsShareTheRoomUnderTheLine) {
  WritePlan(kPlan);
  const frmBandPlan& viewer = Open();
  const double line = viewer.Line1.Y1();
  const std::vector<const platform::Label*> bars = Drawn(viewer, "blbl");
  ASSERT_EQ(bars.size(), 2U);
  EXPECT_NEAR(bars[1]->Top() - line, 0.8 * (viewer.Height() - line), 1);
  EXPECT_NEAR(bars[0]->Top() - line, 0.4 * (viewer.Height() - line), 1);
  EXPECT_NEAR(bars[0]->Height(), 0.04 * viewer.Height(), 1);
  EXPECT_EQ(Drawn(viewer, "bnlb")[1]->Top(), bars[1]->Top());
}

TEST_F(BandPlanViewer, EveryBandIsLaidOutWhenMoreThanTwentyAreShown) {
  QByteArray plan;
  for (int band = 1; band <= 25; ++band) {
    plan += QStringLiteral("\"%1\",\"O\",\"PH\",%1,%2\r\n\"%1\",\"E\",\"CW\",%1,%2\r\n").arg(band).arg(band + 1).toLatin1();
  }
  WritePlan(plan);
  const frmBandPlan& viewer = Open();
  const std::vector<const platform::Label*> bars = Drawn(viewer, "blbl");
  ASSERT_EQ(bars.size(), 25U);
  EXPECT_EQ(Drawn(viewer, "bnlb").size(), 25U);
  EXPECT_EQ(Drawn(viewer, "priv").size(), 25U);
  const double line = viewer.Line1.Y1();
  const double step = 0.8 * (viewer.Height() - line) / 25;
  EXPECT_NEAR(bars[24]->Top() - line, 25 * step, 1);
  for (std::size_t k = 1; k < bars.size(); ++k) {
    EXPECT_LE(bars[k - 1]->Top() + bars[k - 1]->Height(), bars[k]->Top() + 0.5) << "bars do not overlap";
  }
}

TEST_F(BandPlanViewer, ABandWithoutWidthGetsItsBarButNoSegments) {
  WritePlan(
      "\"6\",\"O\",\"PH\",50,50\r\n"
      "\"6\",\"E\",\"CW\",50,54\r\n"
      "\"2\",\"O\",\"PH\",144,148\r\n"
      "\"2\",\"E\",\"CW\",144,148\r\n");
  const frmBandPlan& viewer = Open();
  EXPECT_EQ(Captions(viewer, "blbl"), QStringList({"6", "2"}));
  EXPECT_EQ(Captions(viewer, "priv"), QStringList({"144.0 - 148.0"}));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

TEST_F(BandPlanViewer, AMissingPlanShowsTheBoxAndOpensWithTheHeaderOnly) {
  frmBandPlan& viewer = Open();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1U);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Band data not available.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Band Data Not Available.");
  EXPECT_EQ(dialogs.MessageBoxes()[0].style, platform::MsgBoxStyle::OKOnly);
  EXPECT_EQ(viewer.Label1.Caption(), "Frequencies Effective");
  EXPECT_EQ(viewer.Label2.Caption(), "Privelages");
  EXPECT_EQ(viewer.Label3.BackColor(), kBlue);
  EXPECT_EQ(viewer.Label4.BackColor(), kGreen);
  EXPECT_EQ(SurfaceLabels(viewer), 0);
  ShowClass(viewer, 'E');
  EXPECT_EQ(SurfaceLabels(viewer), 0);
}

TEST_F(BandPlanViewer, TwoHundredRowsDrawAndOneMoreDrawsNothingForAnyClass) {
  QByteArray rows = "\"20\",\"O\",\"PH\",14,14.35\r\n";
  for (int i = 1; i < 200; ++i) rows += "\"20\",\"E\",\"CW\",14,14.35\r\n";
  WritePlan(rows);
  {
    const frmBandPlan& viewer = Open();
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
    EXPECT_EQ(Drawn(viewer, "priv").size(), 199U);
    platform::UnloadAll();
  }
  WritePlan(rows + "\"20\",\"E\",\"CW\",14,14.35\r\n");
  frmBandPlan& viewer = Open();
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1U);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "Band data not available.");
  EXPECT_EQ(viewer.Label1.Caption(), "Frequencies Effective: March 5, 2012");
  for (char classLetter : std::string(kClassLetters)) {
    ShowClass(viewer, classLetter);
    EXPECT_EQ(SurfaceLabels(viewer), 0) << classLetter;
  }
}

TEST_F(BandPlanViewer, ARowCutShortKeepsTheRowsBeforeItForTheClassButtons) {
  WritePlan("\"80\",\"O\",\"PH\",3.5,4\r\n\"80\",\"E\",\"CW\",3.5,3.6\r\n\"80\",\"E\",\"PH\"\r\n");
  frmBandPlan& viewer = Open();
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1U);
  EXPECT_EQ(viewer.Label2.Caption(), "Privelages");
  EXPECT_EQ(SurfaceLabels(viewer), 0);
  ShowClass(viewer, 'E');
  EXPECT_EQ(Captions(viewer, "priv"), QStringList({"3.5 - 3.6"}));
}

// The shipped plan as an operator sees it; saved when CORVANE_SCREENSHOTS names a folder.
TEST_F(BandPlanViewer, ShowsTheShippedPlanOnACommonScreen) {
  ASSERT_TRUE(QFile::copy(CORVANE_SOURCE_DIR "/data/BandPlan.txt", folder.filePath("BandPlan.txt")));
  frmBandPlan& viewer = Open();
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  const std::vector<const platform::Label*> bars = Drawn(viewer, "blbl");
  ASSERT_FALSE(bars.empty());
  EXPECT_EQ(Drawn(viewer, "bnlb").size(), bars.size());
  EXPECT_LE(bars.back()->Top() + bars.back()->Height(), viewer.Command7.Top()) << "the Done button stays clear";
  for (const platform::Label* segment : Drawn(viewer, "priv")) {
    EXPECT_TRUE(segment->Caption().contains(" - ")) << segment->Caption().toStdString();
  }
  const QString screenshots = qEnvironmentVariable("CORVANE_SCREENSHOTS");
  if (!screenshots.isEmpty()) {
    platform::DoEvents();
    EXPECT_TRUE(viewer.Widget()->grab().save(QDir(screenshots).filePath("frmbandplan-1024.png")));
  }
}

TEST_F(BandPlanViewer, DoneHidesTheViewer) {
  WritePlan(kPlan);
  frmBandPlan& viewer = Open();
  QTest::mouseClick(viewer.Command7.Widget(), Qt::LeftButton);
  EXPECT_FALSE(viewer.Visible());
}

}  // namespace
