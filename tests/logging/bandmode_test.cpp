#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/preferences.h"
#include "network/frmnetwork.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "programfolderfixture.h"

#include <limits>

namespace {

constexpr platform::Color kNavy = 0x800000;
constexpr platform::Color kMaroon = 0x000080;
constexpr platform::Color kRed = 255;

// The main window of a program in a folder of its own, on 432 M CW in contest type 1, with the
// network window's grid free and this PC named "Shack" on the network.
class BandModeTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    app::ContestType = 1;
    logging::CurrentBand = "432 M";
    logging::CurrentMode = "CW";
    network().Text1.SetText("Shack");
    ShowActive(form);
  }
  void TearDown() override { ProgramFolderTest::TearDown(); }

  static network::frmNetwork& network() { return platform::Instance<network::frmNetwork>(); }

  // Another station of the network, as the network window shows it: its name in a red cell.
  static void OccupyCell(platform::ControlArray<platform::Label>& cells, int column, const QString& name) {
    cells[column].SetCaption(name);
    cells[column].SetBackColor(kRed);
  }

  static void Choose(platform::Menu& menu) { menu.Action()->trigger(); }
  static void Click(platform::Label& label) { QTest::mouseClick(label.Widget(), Qt::LeftButton); }

  QString PreferencesPath() const { return folder.filePath("corvaneprf.txt"); }
  logging::PreferenceValues Saved() const { return logging::ReadPreferencesFile(PreferencesPath()); }
  bool SavedSinceDeleted() const { return QFile::exists(PreferencesPath()); }
  void DeleteSaved() const { QFile::remove(PreferencesPath()); }

  QStringList CheckedBandMenus() {
    QStringList checked;
    for (platform::Menu* menu : form.BandMenus()) {
      if (menu->Checked()) checked << menu->Caption();
    }
    return checked;
  }
  // The panel labels, heading and count, of bands shown maroon.
  QStringList MaroonBandLabels() {
    QStringList maroon;
    const auto names = form.BandNameLabels();
    const auto counts = form.BandCountLabels();
    for (std::size_t band = 0; band < names.size(); ++band) {
      for (platform::Label* label : {names[band], counts[band]}) {
        if (label->BackColor() == kMaroon) {
          maroon << label->Name();
        } else {
          EXPECT_EQ(label->BackColor(), kNavy) << label->Name().toStdString();
        }
      }
    }
    return maroon;
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(BandModeTest, AMenuOrEitherPanelLabelSelectsTheBandShowsItMarksItAndSavesIt) {
  logging::RemainingGridColor = 0x00FF00;
  const struct {
    const char* what;
    std::function<void(app::Form1&)> select;
    const char* band;
    const char* shown;
    QStringList maroon;
  } cases[] = {
      {"mnu80", [](app::Form1& f) { Choose(f.mnu80); }, "144 M", "144 MHz", {"lbl80", "lbl144"}},
      {"lbl144", [](app::Form1& f) { Click(f.lbl144); }, "144 M", "144 MHz", {"lbl80", "lbl144"}},
      {"lbl80", [](app::Form1& f) { Click(f.lbl80); }, "144 M", "144 MHz", {"lbl80", "lbl144"}},
      {"lbl50", [](app::Form1& f) { Click(f.lbl50); }, "50 M", "50 MHz", {"lbl160", "lbl50"}},
      {"Label19", [](app::Form1& f) { Click(f.Label19); }, "10 G", "10 GHz", {"Label19", "lbl10"}},
      {"lbl13", [](app::Form1& f) { Click(f.lbl13); }, "1.3 G", "1.3 GHz", {"lbl100", "lbl13"}},
      {"mnu47g has no label", [](app::Form1& f) { Choose(f.mnu47g); }, "47 G", "47 GHz", {}},
      {"mnu300g", [](app::Form1& f) { Choose(f.mnu300g); }, "300 G", "300 GHz", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteSaved();
    c.select(form);
    EXPECT_EQ(logging::CurrentBand, c.band);
    EXPECT_EQ(form.Label21.Caption(), c.shown);
    EXPECT_EQ(CheckedBandMenus(), QStringList{c.shown});
    EXPECT_EQ(MaroonBandLabels(), c.maroon);
    EXPECT_EQ(form.lblGrid[0].ForeColor(), 0x00FF00);
    EXPECT_EQ(form.lblGrid[164].ForeColor(), 0x00FF00);
    ASSERT_TRUE(SavedSinceDeleted());
    EXPECT_EQ(Saved().CurrentBand, c.band);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(dialogs.Beeps(), 0);
}

TEST_F(BandModeTest, TheUhfContestLogs222MWhen144MIsSelected) {
  app::ContestType = 3;
  Click(form.lbl144);
  EXPECT_EQ(logging::CurrentBand, "222 M");
  EXPECT_EQ(form.Label21.Caption(), "222 MHz");
  EXPECT_EQ(CheckedBandMenus(), QStringList{"222 MHz"});
  EXPECT_EQ(MaroonBandLabels(), QStringList({"lbl40", "lbl222"}));
  EXPECT_EQ(Saved().CurrentBand, "222 M");
}

TEST_F(BandModeTest, ARigFrequencyOfTheCurrentBandChangesNothing) {
  logging::CurrentBand = "144 M";
  OccupyCell(network().lblBandCW, 1, "Tower");
  form.lblDialog.SetCaption("73");
  form.BandFreqConversion(146.52f);
  form.BandFreqConversion(28.5f);
  EXPECT_EQ(logging::CurrentBand, "144 M");
  EXPECT_FALSE(SavedSinceDeleted());
  EXPECT_EQ(dialogs.Beeps(), 0) << "no band change, so no conflict warning";
  EXPECT_EQ(form.lblDialog.Caption(), "73");

  form.BandFreqConversion(1296.1f);
  EXPECT_EQ(logging::CurrentBand, "1.3 G");
  EXPECT_EQ(CheckedBandMenus(), QStringList{"1.3 GHz"});
  EXPECT_EQ(Saved().CurrentBand, "1.3 G");
}

// The UHF contest turns 144 M into 222 M; the rig keeps reporting 146 MHz on every poll.
TEST_F(BandModeTest, UnderTheUhfContestARigOn144MhzChangesTheBandOnceNotOnEveryPoll) {
  app::ContestType = 3;
  OccupyCell(network().lblBandSSB, 1, "Tower");
  form.BandFreqConversion(146.0f);
  EXPECT_EQ(logging::CurrentBand, "222 M");
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(form.lblDialog.Caption(), "Be careful, Tower is also operating on 144 M SSB!")
      << "the band as selected is warned of and reported before the contest's band replaces it";
  EXPECT_EQ(Saved().CurrentBand, "222 M");

  DeleteSaved();
  for (int poll = 0; poll < 3; ++poll) form.BandFreqConversion(146.0f);
  EXPECT_EQ(logging::CurrentBand, "222 M");
  EXPECT_FALSE(SavedSinceDeleted());
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(form.lblDialog.Caption(), "Be careful, Tower is also operating on 144 M SSB!");
}

TEST_F(BandModeTest, ARigModeOfPhoneOrCwSelectsItAndAnythingElseIsIgnored) {
  const struct {
    const char* from;
    const char* rig;
    const char* mode;
    bool changed;
  } cases[] = {
      {"CW", "ph", "PH", true}, {"PH", "Cw", "CW", true},  {"PH", "DIG", "PH", false},
      {"PH", "", "PH", false},  {"CW", "cw", "CW", false}, {"CW", "USB", "CW", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " then \"" + c.rig + "\"");
    logging::CurrentMode = c.from;
    form.Label30.SetCaption(c.from);
    form.mnuCW.SetChecked(false);
    form.mnuPhone.SetChecked(false);
    DeleteSaved();
    form.ModeSelection(c.rig);
    EXPECT_EQ(logging::CurrentMode, c.mode);
    EXPECT_EQ(form.Label30.Caption(), c.mode);
    EXPECT_EQ(SavedSinceDeleted(), c.changed);
    EXPECT_EQ(form.mnuPhone.Checked(), c.changed && QString(c.mode) == "PH");
    EXPECT_EQ(form.mnuCW.Checked(), c.changed && QString(c.mode) == "CW");
  }
}

TEST_F(BandModeTest, Label30TogglesTheModeAndTheRstBoxesFollowIt) {
  logging::CurrentMode = "PH";
  form.Label30.SetCaption("PH");
  Click(form.Label30);
  EXPECT_EQ(logging::CurrentMode, "CW");
  EXPECT_EQ(form.Label30.Caption(), "CW");
  EXPECT_TRUE(form.mnuCW.Checked());
  EXPECT_FALSE(form.mnuPhone.Checked());
  EXPECT_EQ(Saved().CurrentMode, "CW");
  QTest::keyClicks(form.txtRSTR.Widget(), "5799");
  QTest::keyClicks(form.txtRSTS.Widget(), "5599");
  EXPECT_EQ(form.txtRSTR.Text(), "579");
  EXPECT_EQ(form.txtRSTS.Text(), "559");

  Click(form.Label30);
  EXPECT_EQ(form.txtRSTR.Text(), "579") << "text already in the boxes is not shortened";
  EXPECT_EQ(form.txtRSTS.Text(), "559");
  form.txtRSTR.SetText("");
  form.txtRSTS.SetText("");
  EXPECT_EQ(logging::CurrentMode, "PH");
  EXPECT_EQ(form.Label30.Caption(), "PH");
  EXPECT_TRUE(form.mnuPhone.Checked());
  EXPECT_FALSE(form.mnuCW.Checked());
  EXPECT_EQ(Saved().CurrentMode, "PH");
  QTest::keyClicks(form.txtRSTR.Widget(), "579");
  QTest::keyClicks(form.txtRSTS.Widget(), "559");
  EXPECT_EQ(form.txtRSTR.Text(), "57");
  EXPECT_EQ(form.txtRSTS.Text(), "55");
}

TEST_F(BandModeTest, AnotherStationOnTheNewBandIsWarnedOfWithABeepPerRedCell) {
  auto& net = network();
  const struct {
    const char* what;
    std::function<void()> occupy;
    int beeps;
    const char* warning;
  } cases[] = {
      {"phone", [&] { OccupyCell(net.lblBandSSB, 1, "Tower"); }, 1,
       "Be careful, Tower is also operating on 144 M SSB!"},
      {"CW", [&] { OccupyCell(net.lblBandCW, 1, "Tent 2"); }, 1, "Be careful, Tent 2 is also operating on 144 M on CW!"},
      {"digital, though hidden", [&] { OccupyCell(net.lblBandDIG, 1, "Van"); }, 1,
       "Be careful, Van is also operating on 144 M on digital!"},
      {"two cells: both beep, the later one is shown",
       [&] {
         OccupyCell(net.lblBandSSB, 1, "Tower");
         OccupyCell(net.lblBandCW, 1, "Van");
       },
       2, "Be careful, Van is also operating on 144 M on CW!"},
      {"this PC's own name, any case", [&] { OccupyCell(net.lblBandSSB, 1, "SHACK"); }, 0, ""},
      {"a cell not red", [&] { net.lblBandSSB[1].SetCaption("Tower"); }, 0, ""},
      {"another band's column", [&] { OccupyCell(net.lblBandSSB, 3, "Tower"); }, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const int beepsBefore = dialogs.Beeps();
    for (auto* cells : {&net.lblBandSSB, &net.lblBandCW, &net.lblBandDIG}) {
      for (int column : cells->Indexes()) {
        (*cells)[column].SetCaption("");
        (*cells)[column].SetBackColor(0x80FF80);
      }
    }
    c.occupy();
    form.lblDialog.SetCaption("an earlier message");
    Choose(form.mnu80);
    EXPECT_EQ(dialogs.Beeps() - beepsBefore, c.beeps);
    EXPECT_EQ(form.lblDialog.Caption(), c.warning);
  }
}

TEST_F(BandModeTest, AModeChangeWarnsOfAStationOnTheCurrentBandInAnyMode) {
  logging::CurrentBand = "10 G";
  OccupyCell(network().lblBandSSB, 9, "Rover");
  Choose(form.mnuPhone);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(form.lblDialog.Caption(), "Be careful, Rover is also operating on 10 G SSB!");
  Choose(form.mnuCW);
  EXPECT_EQ(dialogs.Beeps(), 2) << "the phone cell warns in CW too";
}

TEST_F(BandModeTest, TheNetworkWindowHoldsTheGridTheWarningReads) {
  auto& net = network();
  QStringList headers;
  for (int column : net.lblBndHdr.Indexes()) headers << net.lblBndHdr[column].Caption();
  EXPECT_EQ(headers, QStringList({"50 M", "144 M", "222 M", "432 M", "902 M", "1.3 G", "2.3 G", "3.5 G", "5.8 G",
                                  "10 G", "24 G", "47 G", "75 G", "120 G"}));
  for (int column = 0; column < 14; ++column) {
    EXPECT_EQ(net.lblBandSSB[column].BackColor(), 0x80FF80);
    EXPECT_TRUE(net.lblBandCW[column].Visible());
    EXPECT_FALSE(net.lblBandDIG[column].Visible());
  }
  net.Text1.SetText("Operating Position 1");
  EXPECT_EQ(net.Text1.Text(), "Operating ");
  EXPECT_EQ(net.Timer1.Interval(), 60000);
  EXPECT_TRUE(net.Timer1.Enabled());
  EXPECT_EQ(net.Timer2.Interval(), 15000);
  EXPECT_FALSE(net.Timer2.Enabled());
}

// The score panel, as the commit and the reload leave it.
class ScorePanelTest : public BandModeTest {
 protected:
  static void Tally(const char* band, std::int32_t contacts, std::int32_t grids) {
    const std::int32_t index = logging::BandIndex(band);
    logging::BandQsoCount[index] = contacts;
    logging::BandGridCount[index] = grids;
  }
  QStringList Totals() const {
    return {form.lblTotCon.Caption(), form.lblTotSec.Caption(), form.lblsectogo.Caption(),
            form.lblTotScore.Caption()};
  }
  QStringList BandCounts() {
    QStringList shown;
    for (platform::Label* label : form.BandCountLabels()) shown << label->Caption();
    return shown;
  }
};

TEST_F(ScorePanelTest, ShowsTheContestsTotalsAndEveryBandsRawTallies) {
  Tally("50 M", 3, 2);
  Tally("432 M", 2, 2);
  Tally("10 G", 1, 1);
  Tally("24 G", 5, 5);
  const QStringList bands = {"3 / 2", "0 / 0", "0 / 0", "2 / 2", "0 / 0", "0 / 0", "0 / 0", "0 / 0", "0 / 0", "1 / 1"};
  const struct {
    std::uint8_t contestType, rover;
    QStringList totals;
  } cases[] = {
      {1, 0, {"11", "55", "10", "550"}},
      {3, 0, {"8", "78", "8", "624"}},
      {2, 1, {"11", "31", "14", "434"}},
      {0, 0, {"", "", "", "0"}},
      {0, 1, {"", "", "4", "0"}},
  };
  logging::ActivatedGridCount = 4;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.contestType);
    app::ContestType = c.contestType;
    app::Rover = c.rover;
    form.Labeldisplay();
    EXPECT_EQ(Totals(), c.totals);
    EXPECT_EQ(BandCounts(), bands);
  }
}

TEST_F(ScorePanelTest, AnEmptyLogShowsZeros) {
  form.Labeldisplay();
  EXPECT_EQ(Totals(), QStringList({"0", "0", "0", "0"}));
  EXPECT_EQ(BandCounts(), QStringList(10, "0 / 0"));
}

TEST_F(ScorePanelTest, TotalsPast32BitsLeaveThePanelAsItWas) {
  Tally("144 M", 12, 7);
  form.Labeldisplay();
  Tally("10 G", std::numeric_limits<std::int32_t>::max() / 8 + 1, 1);
  form.Labeldisplay();
  EXPECT_EQ(Totals(), QStringList({"12", "12", "7", "84"}));
  EXPECT_EQ(BandCounts()[1], "12 / 7");
  EXPECT_EQ(BandCounts()[9], "0 / 0");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
