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

TEST_F(CWWindow, TheSpeedArrowsStepTheSpeedByOneWithoutBoundsAndLeaveANonNumberAlone) {
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
    cw.UpDown1_DownClick();  // as the Slower button and the main window's Down arrow call it
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
