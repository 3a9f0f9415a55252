// The keyer device window and the main window's keys driving the real keyer library, which the
// program loads by name from beside this test program, against the simulated keyer device on a
// socat pseudo-terminal pair.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/tapplinkloader.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/instances.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>

#include "formtesting.h"
#include "keyertesting.h"
#include "testbound.h"

namespace {

using keyertesting::Bytes;
using keyertesting::KeyerDevicePeer;

constexpr int kPort = 7;

class KeyerDeviceEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    app::DataFolder = folder.path();
    logging::CurrentMode = "CW";
    keying::TPPort = kPort;
  }
  // The windows go without their unload hooks: the connection is closed here.
  void TearDown() override {
    if (keying::TapplinkLoaded()) keying::tp_close();
    qunsetenv("CORVANE_PORT7");
  }

  static void Attach(const KeyerDevicePeer& device) { qputenv("CORVANE_PORT7", device.HostLine().c_str()); }

  static void Press(QWidget* target, Qt::Key key) {
    QTest::keyClick(target, key);
    platform::DoEvents();
  }

  // Keying through the device, on the keying port and opened from its window's Open button.
  static void OpenFromItsWindow(const KeyerDevicePeer& device) {
    Attach(device);
    keying::KeyingMode = 5;
    keying::frmTappler& window = platform::Instance<keying::frmTappler>();
    ShowActive(window);
    QTest::mouseClick(window.cmdOpenTappler.Widget(), Qt::LeftButton);
    ASSERT_EQ(window.lblOpenStatus.Caption(), "TP Success!");
  }

  // The device sends its status byte (&HC0 and the status), and the library has read it.
  static void DeviceSendsStatus(const KeyerDevicePeer& device, int status) {
    device.Send("C" + std::to_string(status));
    ASSERT_TRUE(QTest::qWaitFor([status] { return keying::tp_getstatus() == status; }, peertesting::kBoundMs));
  }

  QTemporaryDir folder;
  platform::ScriptedDialogs dialogs;
};

TEST_F(KeyerDeviceEndToEnd, AFunctionKeyMessageReachesTheDeviceByteForByte) {
  KeyerDevicePeer device;
  Attach(device);
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
  cw.Option5.SetValue(true);
  cw.Text2.SetText("CQ TEST DE W1AW K");
  ShowActive(form);
  form.txtCall.SetFocus();
  Press(form.txtCall.Widget(), Qt::Key_F2);

  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(keying::TPVersion, keyertesting::kDeviceVersion);
  EXPECT_EQ(platform::Instance<keying::frmTappler>().lblOpenStatus.Caption(), "TP Success!");
  EXPECT_TRUE(device.WaitForTranscriptEnding(keyertesting::TextBytes("CQ TEST DE W1AW K")));
  EXPECT_EQ(keying::CWBuffer, "");
}

TEST_F(KeyerDeviceEndToEnd, EscWhileTheDeviceIsBusyClearsItsBuffer) {
  KeyerDevicePeer device;
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  ASSERT_NO_FATAL_FAILURE(DeviceSendsStatus(device, 5));
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  ShowActive(form);
  keying::CWBuffer = "TU";
  Press(form.txtCall.Widget(), Qt::Key_Escape);
  EXPECT_EQ(keying::TPStatus, 5);
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x0A}));
}

// The library takes 63 characters while the device holds the text and refuses the rest; the
// device lets go once the sending waits for room.
TEST_F(KeyerDeviceEndToEnd, ADeviceThatHoldsTextAndThenReleasesItReceivesTheWholeBufferTestInOrder) {
  KeyerDevicePeer device;
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  ASSERT_NO_FATAL_FAILURE(DeviceSendsStatus(device, 1));
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();

  QTimer::singleShot(0, [&device] { device.Send("C0"); });
  QTest::mouseClick(window.Command1.Widget(), Qt::LeftButton);
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
  EXPECT_TRUE(device.WaitForTranscriptEnding(keyertesting::TextBytes(alphabet + alphabet + alphabet)));
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// Ten seconds on the program's fake clock pass at once; the library keeps its own time.
TEST_F(KeyerDeviceEndToEnd, ADeviceThatNeverMakesRoomStopsTheSendingWithWhatTheLibraryRefusedKept) {
  KeyerDevicePeer device;
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  ASSERT_NO_FATAL_FAILURE(DeviceSendsStatus(device, 1));
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();

  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
  QTest::mouseClick(window.Command1.Widget(), Qt::LeftButton);
  EXPECT_EQ(keying::CWBuffer, "JKLMNOPQRSTUVWXYZ ") << "the 63 the library holds are sent, the rest kept";
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Keyer device takes no text.");
}

// The operator closes the device while the sending waits for it to make room: the wait ends at
// once, well within the ten seconds a device that takes no text is given, and nothing is blamed.
TEST_F(KeyerDeviceEndToEnd, ClosingTheDeviceWhileItIsBusyEndsTheSendingAtOnceWithNoBox) {
  KeyerDevicePeer device;
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  ASSERT_NO_FATAL_FAILURE(DeviceSendsStatus(device, 5));
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();

  QTimer::singleShot(0, [&window] { QTest::mouseClick(window.cmdCloseTappler.Widget(), Qt::LeftButton); });
  QElapsedTimer sending;
  sending.start();
  QTest::mouseClick(window.Command3.Widget(), Qt::LeftButton);
  EXPECT_LT(sending.elapsed(), 5'000);
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(window.lblOpenStatus.Caption(), "Closed");
  EXPECT_EQ(keying::tp_getstatus(), -9);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03})) << "the device's close command";
}

// The device asked to hold the text when the operator closed it: the next open starts afresh, and
// the test text goes out at once instead of when the device next says something.
TEST_F(KeyerDeviceEndToEnd, AfterACloseWhileTheDeviceHeldTheTextTheNextTestGoesOutAtOnce) {
  KeyerDevicePeer device;
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  ASSERT_NO_FATAL_FAILURE(DeviceSendsStatus(device, 1));
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();
  app::OwnCall = "K1TEST";

  QTimer::singleShot(0, [&window] { QTest::mouseClick(window.cmdCloseTappler.Widget(), Qt::LeftButton); });
  QTest::mouseClick(window.Command1.Widget(), Qt::LeftButton);
  ASSERT_EQ(window.lblOpenStatus.Caption(), "Closed");
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));

  QTest::mouseClick(window.Command3.Widget(), Qt::LeftButton);
  EXPECT_EQ(window.lblOpenStatus.Caption(), "TP Success!");
  EXPECT_TRUE(device.WaitForTranscriptEnding(keyertesting::TextBytes("VVV TEST DE K1TEST")));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// File, Exit ends the program without the windows' unload handlers, which otherwise close the device.
TEST_F(KeyerDeviceEndToEnd, FileExitClosesTheDevice) {
  KeyerDevicePeer device;
  Attach(device);
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();
  QTest::mouseClick(window.cmdOpenTappler.Widget(), Qt::LeftButton);
  ASSERT_EQ(window.lblOpenStatus.Caption(), "TP Success!");

  platform::ScriptedEndProgram end;
  form.mnuExit.Action()->trigger();
  EXPECT_EQ(end.Calls(), 1);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03})) << "the device's close command";
  EXPECT_EQ(keying::TPVersion, 0);
  EXPECT_EQ(keying::tp_getstatus(), -9);
}

// The link stopped taking bytes, as a USB or Bluetooth link does when its device stops reading:
// File, Exit does not wait on it, idle or with a message on its way.
TEST_F(KeyerDeviceEndToEnd, FileExitEndsWhenTheLinkTakesNoBytes) {
  for (const bool messageOnItsWay : {false, true}) {
    SCOPED_TRACE(messageOnItsWay ? "a message on its way" : "idle");
    KeyerDevicePeer device;
    keyertesting::StalledLink link(device.HostLine());
    ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
    link.Stall();
    keying::frmTappler& window = platform::Instance<keying::frmTappler>();
    if (messageOnItsWay) QTest::mouseClick(window.Command3.Widget(), Qt::LeftButton);

    platform::ScriptedEndProgram end;
    platform::InstanceWithoutLoad<app::Form1>().mnuExit.Action()->trigger();
    EXPECT_EQ(end.Calls(), 1);
    EXPECT_FALSE(link.Release()) << "File, Exit waited for the line";
    EXPECT_EQ(keying::TPVersion, 0);
    EXPECT_EQ(keying::tp_getstatus(), -9);
  }
}

// The device unplugged and plugged back in on the same path. A message while it is away is told
// the port is gone, with the system's reason, once; the next message after it is back opens it
// again by itself and goes out whole, as does every message when it was back before the next one.
TEST_F(KeyerDeviceEndToEnd, ADeviceUnpluggedAndPluggedBackInIsOpenedAgainByTheNextMessage) {
  for (const bool messageWhileAway : {false, true}) {
    SCOPED_TRACE(messageWhileAway ? "a message while it is away" : "back before the next message");
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    KeyerDevicePeer device;
    Attach(device);
    app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
    keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
    cw.Option5.SetValue(true);
    ShowActive(form);
    const auto pressF2 = [&](const char* message) {
      cw.Text2.SetText(message);
      form.txtCall.SetFocus();
      Press(form.txtCall.Widget(), Qt::Key_F2);
    };
    pressF2("AAAA");
    ASSERT_TRUE(device.WaitForTranscriptEnding(keyertesting::TextBytes("AAAA")));

    device.Unplug();
    ASSERT_TRUE(QTest::qWaitFor([] { return keying::tp_getstatus() == -9; }, peertesting::kBoundMs));
    keying::frmTappler& window = platform::Instance<keying::frmTappler>();
    if (messageWhileAway) {
      pressF2("CCCC");
      ASSERT_EQ(dialogs.MessageBoxes().size(), boxesBefore + 1);
      const platform::MessageBoxShown& box = dialogs.MessageBoxes().back();
      EXPECT_EQ(box.title, "Unable to establish connection with Tappler.");
      EXPECT_TRUE(box.prompt.endsWith(QString::fromStdString(device.HostLine()) + ": " + qt_error_string(ENOENT)))
          << box.prompt.toStdString();
      EXPECT_EQ(window.lblOpenStatus.Caption(), "Com Open Failed");
      EXPECT_EQ(keying::CWBuffer, "");
    }

    device.PlugIn();
    pressF2("BBBB");
    pressF2("BBBB");
    EXPECT_TRUE(device.WaitForTranscriptEnding(keyertesting::TextBytes("AAAABBBBBBBB")));
    EXPECT_EQ(window.lblOpenStatus.Caption(), "TP Success!");
    EXPECT_EQ(dialogs.MessageBoxes().size(), boxesBefore + (messageWhileAway ? 1 : 0));
    keying::CloseKeyerDevice();
  }
}

// The link stopped taking bytes and the library gave the connection up: the next message tries the
// device again, which cannot answer either, and the box names why the port failed.
TEST_F(KeyerDeviceEndToEnd, AMessageAfterTheLinkWasGivenUpTellsWhyTheDeviceCannotBeOpened) {
  KeyerDevicePeer device;
  keyertesting::StalledLink link(device.HostLine());
  ASSERT_NO_FATAL_FAILURE(OpenFromItsWindow(device));
  link.Stall();
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();
  QTest::mouseClick(window.Command3.Widget(), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([] { return keying::tp_getstatus() == -9; }, peertesting::kBoundMs));

  QTest::mouseClick(window.Command3.Widget(), Qt::LeftButton);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.endsWith(": " + qt_error_string(ETIMEDOUT)))
      << dialogs.MessageBoxes()[0].prompt.toStdString();
  EXPECT_EQ(window.lblOpenStatus.Caption(), "No Echo Response");
  EXPECT_EQ(keying::TPVersion, 0);
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_FALSE(link.Release());
}

TEST_F(KeyerDeviceEndToEnd, ASilentDeviceGivesTheConnectionBoxAndNoEchoResponse) {
  KeyerDevicePeer device("silent");
  Attach(device);
  keying::frmTappler& window = platform::Instance<keying::frmTappler>();
  ShowActive(window);
  QTest::mouseClick(window.cmdOpenTappler.Widget(), Qt::LeftButton);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith("Unable to establish connection with Tappler on com port 7."));
  EXPECT_EQ(window.lblOpenStatus.Caption(), "No Echo Response");
  EXPECT_EQ(keying::TPVersion, 0);
  EXPECT_EQ(keying::tp_getstatus(), -9) << "nothing was left open";
}

}  // namespace
