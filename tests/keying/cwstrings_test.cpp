// The message strip as the operator uses it: its rows show the CW window's messages, a click sends
// one, and the keys typed on it work as on the main window.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/instances.h"
#include "platform/printerport.h"
#include "platform/screen.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "keyedtext.h"
#include "testbound.h"

namespace {

class MessageStrip : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    logging::CurrentMode = "CW";
    cw.Option3.SetValue(true);
    cw.Text11.SetText("20");
    platform::TextBox* const messages[] = {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4,  &cw.Text5, &cw.Text6,
                                           &cw.Text7, &cw.Text8, &cw.Text9, &cw.Text12, &cw.Text13};
    const char* const texts[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "T", "M"};
    for (int i = 0; i < 11; ++i) messages[i]->SetText(texts[i]);
    ShowActive(strip);
  }

  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
};

QStringList RowCaptions(const keying::frmCWStrings& strip) {
  QStringList rows;
  for (int row = 0; row < 12; ++row) rows << strip.Label1[row].Caption() + " " + strip.lblCWString[row].Caption();
  return rows;
}

TEST_F(MessageStrip, EachRowShowsItsKeyAndTheMessageTheCWWindowHeldWhenTheStripWasActivated) {
  EXPECT_EQ(strip.Caption(), "CW Strings");
  EXPECT_EQ(strip.Label2.Caption(), "Press Ctrl W to Show this form.");
  EXPECT_EQ(RowCaptions(strip), QStringList({"F1 A", "F2 B", "F3 C", "F4 D", "F5 E", "F6 F", "F7 G", "F8 H", "F9 I",
                                             "F10 T", "F11 M", "F12 Keyboard"}));
  cw.Text1.SetText("CQ TEST");
  cw.Text12.SetText("");
  EXPECT_EQ(strip.lblCWString[0].Caption(), "A") << "until the strip is activated again";

  ShowActive(form);
  ShowActive(strip);
  EXPECT_EQ(strip.lblCWString[0].Caption(), "CQ TEST");
  EXPECT_EQ(strip.lblCWString[9].Caption(), "");
}

TEST_F(MessageStrip, AClickOnARowsKeyOrMessageSendsItsMessageAndTheF12RowNothing) {
  const struct {
    int row;
    const char* keyed;
  } rows[] = {{0, "A"}, {4, "E"}, {8, "I"}, {9, "T"}, {10, "M"}, {11, ""}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.row);
    for (platform::ControlArray<platform::Label>* column : {&strip.Label1, &strip.lblCWString}) {
      platform::RecordedPrinterPort printer;
      QTest::mouseClick((*column)[r.row].Widget(), Qt::LeftButton);
      EXPECT_EQ(KeyedText(printer), r.keyed);
    }
  }
  EXPECT_EQ(app::KeyboardCW, 0) << "the F12 row does not switch keyboard CW";
  QTest::keyClick(strip.Widget(), Qt::Key_F12);
  EXPECT_EQ(app::KeyboardCW, 1) << "the F12 key does";
}

TEST_F(MessageStrip, WithoutAKeyingInterfaceNoRowSendsAnything) {
  cw.Option4.SetValue(true);
  platform::RecordedPrinterPort printer;
  for (int row = 0; row < 12; ++row) QTest::mouseClick(strip.lblCWString[row].Widget(), Qt::LeftButton);
  EXPECT_TRUE(printer.Writes().empty());
}

TEST_F(MessageStrip, DoneMinimisesItAndCtrlWBringsItBackWithFreshMessages) {
  QTest::mouseClick(strip.Command1.Widget(), Qt::LeftButton);
  EXPECT_TRUE(platform::IsLoaded<keying::frmCWStrings>());
  EXPECT_EQ(strip.WindowState(), platform::WindowMinimized);
  const double left = strip.Left();

  cw.Text2.SetText("QRZ?");
  ShowActive(form);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitForWindowActive(strip.Widget(), peertesting::kBoundMs));
  EXPECT_EQ(strip.WindowState(), platform::WindowNormal);
  EXPECT_EQ(strip.Left(), left);
  EXPECT_EQ(strip.lblCWString[1].Caption(), "QRZ?");
}

TEST(MessageStripFitting, CentredExactlyWithFontsByTheScreenWidthAtMostHalfAsLargeAgain) {
  const struct {
    double screenWidth;
    double screenHeight;
    double fontFactor;
  } screens[] = {{19200, 14400, 1.5}, {12000, 9000, 1.25}, {7200, 5400, 0.75}};
  for (const auto& s : screens) {
    SCOPED_TRACE(s.screenWidth);
    platform::UnloadAll();
    platform::Screen::SetSizeForTesting(s.screenWidth, s.screenHeight);
    const keying::frmCWStrings design;
    keying::frmCWStrings& strip = platform::Instance<keying::frmCWStrings>();
    const double wf = s.screenWidth / 9600;
    const double hf = s.screenHeight / 7200;
    EXPECT_DOUBLE_EQ(strip.Width(), design.Width() * wf);
    EXPECT_DOUBLE_EQ(strip.Height(), design.Height() * hf);
    EXPECT_DOUBLE_EQ(strip.Left(), (s.screenWidth - strip.Width()) / 2);
    EXPECT_DOUBLE_EQ(strip.Top(), (s.screenHeight - strip.Height()) / 2);
    EXPECT_DOUBLE_EQ(strip.lblCWString[11].Top(), design.lblCWString[11].Top() * hf);
    EXPECT_DOUBLE_EQ(strip.lblCWString[11].Width(), design.lblCWString[11].Width() * wf);
    EXPECT_NEAR(strip.Label1[0].FontSize(), design.Label1[0].FontSize() * s.fontFactor, 1e-9);
    EXPECT_NEAR(strip.Command1.FontSize(), design.Command1.FontSize() * s.fontFactor, 1e-9);
  }
}

}  // namespace
