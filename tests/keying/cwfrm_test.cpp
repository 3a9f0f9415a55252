#include "app/form1.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "platform/instances.h"

#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"

namespace {

class CWWindow : public ::testing::Test {
 protected:
  void SetUp() override { ShowActive(cw); }
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
};

TEST_F(CWWindow, EveryControlStartsAtItsDesignValue) {
  const struct {
    const char* control;
    QString value;
    const char* design;
  } values[] = {
      {"Text10", cw.Text10.Text(), "0"},
      {"Text14", cw.Text14.Text(), "&H378"},
      {"Text11", cw.Text11.Text(), "13"},
      {"txtSpace", cw.txtSpace.Text(), "0"},
      {"txtCWLoop", cw.txtCWLoop.Text(), "0"},
      {"txtLoop", cw.txtLoop.Text(), "0"},
      {"txtLoop tip", cw.txtLoop.ToolTipText(), "Loops per 60 ms"},
      {"Check1", cw.Check1.Caption(), "Display CW text on main form (NA for Tappler)."},
      {"Option1", cw.Option1.Caption(), "RTS"},
      {"Option2", cw.Option2.Caption(), "DTR"},
      {"Option3", cw.Option3.Caption(), "Printer"},
      {"Option4", cw.Option4.Caption(), "None"},
      {"Option5", cw.Option5.Caption(), "Tappler"},
      {"fraKeying", cw.fraKeying.Caption(), "Keying Options"},
      {"lblTiming", cw.lblTiming.Caption(), "Timing Options:"},
      {"lblTiming tip", cw.lblTiming.ToolTipText(), "Timer is the preferred option on most systems."},
      {"fraTiming tip", cw.fraTiming.ToolTipText(), "Timer is the preferred option on most systems."},
      {"optTimer", cw.optTimer.Caption() + "|" + cw.optTimer.ToolTipText(), "Timer|Times by Windows System time."},
      {"optLoop", cw.optLoop.Caption() + "|" + cw.optLoop.ToolTipText(), "Loop|Times by a For Next loop."},
      {"OptSleep", cw.OptSleep.Caption() + "|" + cw.OptSleep.ToolTipText(), "Sleep|Times by Windows System time."},
      {"lblLoop", cw.lblLoop.Caption(), "Loop Delay"},
      {"cmdLoopFaster", cw.cmdLoopFaster.Caption() + "|" + cw.cmdLoopFaster.ToolTipText(), "F|Speed up CW"},
      {"cmdLoopSlower", cw.cmdLoopSlower.Caption() + "|" + cw.cmdLoopSlower.ToolTipText(), "S|Slow Down CW"},
      {"Command1", cw.Command1.Caption(), "Done"},
      {"Command4", cw.Command4.Caption(), "&Test"},
      {"Command7", cw.Command7.Caption(), "Send Code Practice"},
      {"Command2", cw.Command2.Caption(), "Faster"},
      {"Command3", cw.Command3.Caption(), "Slower"},
      {"Command5", cw.Command5.Caption(), "Less"},
      {"Command6", cw.Command6.Caption(), "More"},
      {"cmdConfTappler", cw.cmdConfTappler.Caption(), "Configure Tappler"},
      {"Label23", cw.Label23.Caption(), "Sending!"},
      {"lblFKey(9)", cw.lblFKey[9].Caption(), "F10"},
      {"lblFKey(11)", cw.lblFKey[11].Caption(), "F12"},
      {"lblKeyboard", cw.lblKeyboard.Caption(), "Keyboard"},
      {"lblWPM", cw.lblWPM.Caption(), "WPM"},
      {"lblWordSpace", cw.lblWordSpace.Caption(), "Word Space"},
      {"lblCWLoop", cw.lblCWLoop.Caption(), "Loop (Sec)"},
      {"lblSpacing", cw.lblSpacing.Caption(), "0 is standard, -8 is no spacing"},
  };
  EXPECT_EQ(cw.Caption(), "CW String Selections");
  for (const auto& c : values) EXPECT_EQ(c.value, c.design) << c.control;
  for (const platform::TextBox* message : {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4, &cw.Text5, &cw.Text6,
                                           &cw.Text7, &cw.Text8, &cw.Text9, &cw.Text12, &cw.Text13}) {
    EXPECT_EQ(message->Text(), "");
  }
  EXPECT_TRUE(cw.Option4.Value() && cw.optTimer.Value());
  EXPECT_FALSE(cw.cmdConfTappler.Visible() || cw.Label23.Visible() || cw.tmrRepeat.Enabled());
  EXPECT_FALSE(cw.Comm.PortOpen());
}

TEST_F(CWWindow, EachKeyingOptionStoresItsKeyingMode) {
  const struct {
    platform::OptionButton& option;
    int mode;
  } options[] = {{cw.Option1, 1}, {cw.Option2, 2}, {cw.Option3, 3}, {cw.Option5, 5}, {cw.Option4, 0}};
  EXPECT_TRUE(cw.Option4.Value()) << "None until the operator or cw.txt chooses";
  for (const auto& c : options) {
    SCOPED_TRACE(c.option.Caption().toStdString());
    QTest::mouseClick(c.option.Widget(), Qt::LeftButton);
    EXPECT_EQ(keying::KeyingMode, c.mode);
  }
}

TEST_F(CWWindow, TheKeyerDeviceOptionOffersItsSetUpAndLoadsItsWindow) {
  EXPECT_FALSE(cw.cmdConfTappler.Visible());
  cw.Option5.SetValue(true);
  EXPECT_TRUE(cw.cmdConfTappler.Visible());
  EXPECT_TRUE(platform::IsLoaded<keying::frmTappler>());
  cw.Option1.SetValue(true);
  EXPECT_TRUE(cw.cmdConfTappler.Visible()) << "another choice later does not hide it";
}

TEST_F(CWWindow, TheSpeedArrowsAndButtonsStepTheSpeedByOneWithoutBoundsAndLeaveANonNumberAlone) {
  const struct {
    const char* speed;
    const char* up;
    const char* down;
  } cases[] = {
      {"13", "14", "12"}, {"0", "1", "-1"}, {"99", "100", "98"}, {"12.5", "13.5", "11.5"}, {"fast", "fast", "fast"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.UpDown1.UpArrow(), Qt::LeftButton);
    EXPECT_EQ(cw.Text11.Text(), c.up);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.Command2.Widget(), Qt::LeftButton);  // Faster
    EXPECT_EQ(cw.Text11.Text(), c.up);
    cw.Text11.SetText(c.speed);
    QTest::mouseClick(cw.Command3.Widget(), Qt::LeftButton);  // Slower
    EXPECT_EQ(cw.Text11.Text(), c.down);
  }
}

TEST(CWStrings, KeysTypedOnTheStripGoToTheMainWindowsKeyHandlers) {
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CurrentMode = "CW";
  keying::KeyingMode = 1;
  keying::CWSending = 1;  // the keying loop runs already and takes what is added
  keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
  ShowActive(strip);
  QTest::keyClick(strip.Widget(), Qt::Key_F12);
  EXPECT_EQ(form.lblDialog.Caption(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
  QTest::keyClick(strip.Widget(), 'k');
  EXPECT_EQ(keying::CWBuffer, "K");
}

}  // namespace
