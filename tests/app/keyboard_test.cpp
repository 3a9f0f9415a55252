#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmcwstrings.h"
#include "keying/globals.h"
#include "keying/phonefrm.h"
#include "keying/tapplinkloader.h"
#include "logging/globals.h"
#include "network/frmnetwork.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/mciwave.h"
#include "platform/paths.h"
#include "platform/printerport.h"
#include "platform/trace.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "keyedtext.h"
#include "operatorscript.h"
#include "wavefile.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

constexpr const char* kKeyboardCWOn = "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.";

// The keyer device as the library reports it: the status it answers and what it was asked to do.
struct KeyerDevice {
  static inline std::int32_t status = 0;
  static inline int polled = 0;
  static inline int cleared = 0;
  static inline int backspaced = 0;
  static std::int32_t GetStatus() { return ++polled, status; }
  static std::int32_t ClearBuffer() { return ++cleared, 0; }
  static std::int32_t Backspace() { return ++backspaced, 0; }
};

// The main window in CW mode with "W1AW" in the call box, the keys typed as an operator types
// them, and a keyer device open through the library.
class MainWindowKeys : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    logging::CurrentMode = "CW";
    KeyerDevice::status = 0;
    KeyerDevice::polled = KeyerDevice::cleared = KeyerDevice::backspaced = 0;
    ShowActive(form);
    form.txtCall.SetFocus();
    Type("w1aw");
  }
  void TearDown() override {
    platform::UnloadAll();
    ProgramFolderTest::TearDown();
  }

  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    platform::DoEvents();
  }
  static void Type(const char* text) {
    QTest::keyClicks(QApplication::focusWidget(), text);
    platform::DoEvents();
  }

  // Clear ran: the call typed in the fixture is gone.
  bool EntryLineCleared() const { return form.txtCall.Text().isEmpty(); }

  platform::ScriptedDialogs dialogs;
  keying::FakeTapplink keyerLibrary{{
      {"tp_getstatus", reinterpret_cast<QFunctionPointer>(&KeyerDevice::GetStatus)},
      {"tp_clearbuf", reinterpret_cast<QFunctionPointer>(&KeyerDevice::ClearBuffer)},
      {"tp_backspace", reinterpret_cast<QFunctionPointer>(&KeyerDevice::Backspace)},
  }};
  Form1& form = platform::InstanceWithoutLoad<Form1>();
};

// ---- Function keys and arrows over the mode and the keying interface

struct KeyCase {
  const char* mode;
  int keyingMode;
  Qt::Key key;
  const char* played;  // the voice message played, by its file; nullptr: none
  const char* keyed;   // the CW keyed on the printer port
  const char* dialog;  // lblDialog after the key; nullptr: as it was
  const char* speed;   // the CW window's speed after the key
};

void PrintTo(const KeyCase& c, std::ostream* out) {
  *out << c.mode << ", keying " << c.keyingMode << ", Qt key " << std::hex << int(c.key);
}

class FunctionKeys : public MainWindowKeys, public ::testing::WithParamInterface<KeyCase> {};

// Each CW message is one letter: F1 to F9 "A" to "I", F10 "T", F11 "M".
TEST_P(FunctionKeys, SendTheModesMessageOrChangeTheSpeed) {
  const KeyCase& c = GetParam();
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
  platform::RecordedPrinterPort printer;
  logging::CurrentMode = c.mode;
  keying::KeyingMode = static_cast<std::uint8_t>(c.keyingMode);
  keying::CWFrm& cw = Instance<keying::CWFrm>();
  platform::TextBox* const messages[] = {&cw.Text1, &cw.Text2, &cw.Text3, &cw.Text4,  &cw.Text5, &cw.Text6,
                                         &cw.Text7, &cw.Text8, &cw.Text9, &cw.Text12, &cw.Text13};
  for (int i = 0; i < 11; ++i) messages[i]->SetText(QString(QLatin1Char("ABCDEFGHITM"[i])));
  cw.Text11.SetText("13");
  platform::ScriptedWavePlayback playback;
  keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
  platform::TextBox* const voiceMessages[] = {&phone.Text1, &phone.Text2, &phone.Text3, &phone.Text4, &phone.Text5,
                                              &phone.Text6, &phone.Text7, &phone.Text8, &phone.Text9};
  for (int i = 0; i < 9; ++i) {
    const QString file = folder.filePath(QStringLiteral("F%1.wav").arg(i + 1));
    ASSERT_TRUE(WriteWaveFile(file, 100));
    voiceMessages[i]->SetText(file);
  }
  const QString dialogBefore = form.lblDialog.Caption();
  Press(c.key);
  EXPECT_EQ(playback.Played(), c.played ? QStringList{folder.filePath(c.played)} : QStringList());
  EXPECT_EQ(KeyedText(printer), c.keyed);
  EXPECT_EQ(form.lblDialog.Caption(), c.dialog ? QString(c.dialog) : dialogBefore);
  EXPECT_EQ(app::KeyboardCW, c.dialog == kKeyboardCWOn ? 1 : 0);
  EXPECT_EQ(cw.Text11.Text(), c.speed);
  EXPECT_EQ(form.txtCall.Text(), "W1AW");
}

INSTANTIATE_TEST_SUITE_P(
    ModesAndKeyingInterfaces, FunctionKeys,
    ::testing::Values(
        // Phone: F1 to F9 play, everything else stays (F10 is swallowed, so no menu opens).
        KeyCase{"PH", 0, Qt::Key_F1, "F1.wav", "", nullptr, "13"},
        KeyCase{"ph", 3, Qt::Key_F9, "F9.wav", "", nullptr, "13"},
        KeyCase{"PH", 3, Qt::Key_F10, nullptr, "", nullptr, "13"},
        KeyCase{"PH", 5, Qt::Key_F11, nullptr, "", nullptr, "13"},
        KeyCase{"PH", 3, Qt::Key_F12, nullptr, "", nullptr, "13"},
        KeyCase{"PH", 3, Qt::Key_Up, nullptr, "", nullptr, "13"},
        // CW without a keying interface: the keys reach the focused box.
        KeyCase{"CW", 0, Qt::Key_F1, nullptr, "", nullptr, "13"},
        KeyCase{"CW", 0, Qt::Key_F12, nullptr, "", nullptr, "13"},
        KeyCase{"CW", 0, Qt::Key_Down, nullptr, "", nullptr, "13"},
        // CW with a keying line or the keyer device: F10 sends under 124, F11 under 122.
        KeyCase{"CW", 3, Qt::Key_F1, nullptr, "A", nullptr, "13"},
        KeyCase{"CW", 3, Qt::Key_F9, nullptr, "I", nullptr, "13"},
        KeyCase{"CW", 3, Qt::Key_F10, nullptr, "T", nullptr, "13"},
        KeyCase{"CW", 3, Qt::Key_F11, nullptr, "M", nullptr, "13"},
        KeyCase{"cw", 3, Qt::Key_F12, nullptr, "", kKeyboardCWOn, "13"},
        KeyCase{"CW", 5, Qt::Key_F12, nullptr, "", kKeyboardCWOn, "13"},
        KeyCase{"CW", 3, Qt::Key_Up, nullptr, "", "14 WPM", "14"},
        KeyCase{"CW", 5, Qt::Key_Down, nullptr, "", "12 WPM", "12"}));

TEST_F(MainWindowKeys, F12TurnsKeyboardCWOnAndOffWithTheMessageLinesColours) {
  keying::KeyingMode = 1;
  Press(Qt::Key_F12);
  EXPECT_EQ(form.lblDialog.Caption(), kKeyboardCWOn);
  EXPECT_EQ(form.lblDialog.BackColor(), 0xC0FFFF);
  Press(Qt::Key_F12);
  EXPECT_EQ(app::KeyboardCW, 0);
  EXPECT_EQ(form.lblDialog.Caption(), "");
  EXPECT_EQ(form.lblDialog.BackColor(), 0xC0C000);
}

// ---- Keyboard CW

TEST_F(MainWindowKeys, KeyboardCWKeysWhatIsTypedInsteadOfTheCallBox) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
  platform::RecordedPrinterPort printer;
  keying::KeyingMode = 3;
  app::KeyboardCW = 1;
  Type("a");
  EXPECT_EQ(KeyedText(printer), "A") << "nothing was being keyed: the keying starts";
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(form.txtCall.Text(), "W1AW");

  keying::CWSending = 1;  // the keying runs and takes the characters added
  Type("b'\"c");
  EXPECT_EQ(keying::CWBuffer, "BC") << "quotes are dropped before keying too";
  Press(Qt::Key_Backspace);
  EXPECT_EQ(keying::CWBuffer, "B") << "Backspace takes back the last character not yet keyed";
  EXPECT_EQ(form.txtCall.Text(), "W1AW");

  logging::CurrentMode = "PH";
  Type("d");
  EXPECT_EQ(form.txtCall.Text(), "W1AWD") << "phone mode types into the box";
  EXPECT_EQ(keying::CWBuffer, "B");
  EXPECT_EQ(KeyedText(printer), "A");
}

TEST_F(MainWindowKeys, QuotesNeverReachTheEntryLine) {
  Type("'/\"r");
  EXPECT_EQ(form.txtCall.Text(), "W1AW/R");
}

TEST_F(MainWindowKeys, AnyKeyStopsArmedRepeatsBeforeItIsHandled) {
  keying::TPVersion = 1;
  keying::CWBuffer = "CQ TEST";
  keying::CWRepeat = 1;
  keying::PhoneRepeat = 1;
  Instance<keying::CWFrm>().tmrRepeat.SetEnabled(true);
  Instance<keying::PhoneFrm>().tmrRepeat.SetEnabled(true);
  Type("/");
  EXPECT_EQ(keying::CWRepeat, 0);
  EXPECT_EQ(keying::PhoneRepeat, 0);
  EXPECT_FALSE(Instance<keying::CWFrm>().tmrRepeat.Enabled());
  EXPECT_FALSE(Instance<keying::PhoneFrm>().tmrRepeat.Enabled());
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(KeyerDevice::cleared, 1) << "the keyer device drops the repeat's text";
  EXPECT_EQ(form.txtCall.Text(), "W1AW/");
}

// ---- Esc

TEST_F(MainWindowKeys, EscClearsTheEntryLineOnlyWhenNothingIsSent) {
  keying::CWSending = 1;
  keying::CWBuffer = "CQ TEST";
  Press(Qt::Key_Escape);
  EXPECT_EQ(keying::CWBuffer, "") << "the keying stops";
  EXPECT_FALSE(EntryLineCleared());
  EXPECT_EQ(form.txtCall.Text(), "W1AW");

  keying::CWSending = 0;
  Press(Qt::Key_Escape);
  EXPECT_TRUE(EntryLineCleared());
}

TEST_F(MainWindowKeys, EscInPhoneModeStopsAPlayingMessageFirst) {
  platform::ScriptedWavePlayback playback;
  ASSERT_TRUE(WriteWaveFile(folder.filePath("cq.wav"), 2000));
  logging::CurrentMode = "PH";
  keying::PhoneFrm& phone = Instance<keying::PhoneFrm>();
  phone.MMControl1.DeviceType = "WaveAudio";
  phone.MMControl1.FileName = folder.filePath("cq.wav");
  phone.MMControl1.Command("Open");
  phone.MMControl1.Command("play");

  Press(Qt::Key_Escape);
  EXPECT_NE(phone.MMControl1.Mode(), platform::MciModePlay);
  EXPECT_FALSE(EntryLineCleared());
  Press(Qt::Key_Escape);
  EXPECT_TRUE(EntryLineCleared());
}

TEST_F(MainWindowKeys, TheKeyerDeviceDropsItsUnsentTextOnEscAndItsLastCharacterOnBackspace) {
  keying::KeyingMode = 5;
  keying::TPVersion = 1;
  keying::CWBuffer = "TU";
  KeyerDevice::status = 4;
  Press(Qt::Key_Escape);
  EXPECT_EQ(KeyerDevice::cleared, 1);
  EXPECT_EQ(keying::TPStatus, 4);
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_FALSE(EntryLineCleared());

  app::KeyboardCW = 1;
  Press(Qt::Key_Backspace);
  EXPECT_EQ(KeyerDevice::backspaced, 1);
  EXPECT_EQ(form.txtCall.Text(), "W1AW");

  KeyerDevice::status = 0;  // nothing waits in the device
  Press(Qt::Key_Escape);
  EXPECT_EQ(KeyerDevice::cleared, 1);
  EXPECT_TRUE(EntryLineCleared());
}

TEST_F(MainWindowKeys, TheKeyerLibraryIsNotCalledWhileTheDeviceIsClosed) {
  keying::KeyingMode = 5;
  app::KeyboardCW = 1;
  keying::CWRepeat = 1;
  keying::TPStatus = 3;  // from an earlier session of the device
  Type("a");
  Press(Qt::Key_Backspace);
  Press(Qt::Key_Escape);
  EXPECT_EQ(KeyerDevice::polled + KeyerDevice::cleared + KeyerDevice::backspaced, 0);
}

// ---- Ctrl shortcuts

struct Shortcut {
  Qt::Key key;
  const char* window;
  std::function<platform::Form&()> instance;
};

template <class F>
Shortcut Opens(Qt::Key key, const char* window) {
  return {key, window, []() -> platform::Form& { return Instance<F>(); }};
}

TEST_F(MainWindowKeys, CtrlShortcutsOpenTheToolWindowsFromTheProgramFolderAndTypeNothing) {
  const Shortcut shortcuts[] = {
      Opens<keying::frmCWStrings>(Qt::Key_W, "frmCWStrings"), Opens<keying::CWFrm>(Qt::Key_C, "CWFrm"),
      Opens<keying::CWFrm>(Qt::Key_S, "CWFrm"),           Opens<keying::PhoneFrm>(Qt::Key_P, "PhoneFrm"),
      Opens<spotting::PacketSpotfrm>(Qt::Key_D, "PacketSpotfrm"),
      Opens<rig::RigControlfrm>(Qt::Key_R, "RigControlfrm"), Opens<network::frmNetwork>(Qt::Key_N, "frmNetwork"),
      Opens<network::frmNetwork>(Qt::Key_M, "frmNetwork"),
  };
  for (const Shortcut& shortcut : shortcuts) {
    SCOPED_TRACE(shortcut.window);
    platform::UnloadAll();
    Form1& main = platform::InstanceWithoutLoad<Form1>();
    ShowActive(main);
    main.txtCall.SetFocus();
    main.txtCall.SetText("W1AW");
    main.txtCall.SetSelStart(0);
    main.txtCall.SetSelLength(4);
    platform::Clipboard::SetText("before");
    currentFolder.Restore();

    Press(shortcut.key, Qt::ControlModifier);
    ASSERT_TRUE(IsLoaded<Form1>());
    platform::Form& window = shortcut.instance();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.WindowState(), platform::WindowNormal);
    EXPECT_EQ(main.txtCall.Text(), "W1AW") << "the box's own Ctrl keys (copy, cut) do nothing";
    EXPECT_EQ(platform::Clipboard::GetText(), "before");
    EXPECT_EQ(platform::CurDir(), QDir(folder.path()).canonicalPath());
  }
}

TEST_F(MainWindowKeys, TheDialogShortcutsShowTheirWindowModallyAndUnloadItWhenClosed) {
  const Shortcut shortcuts[] = {Opens<spotting::SpectrumMap>(Qt::Key_B, "SpectrumMap"),
                                Opens<spotting::frmBandPlan>(Qt::Key_F, "frmBandPlan"),
                                Opens<rig::frmRigTune>(Qt::Key_G, "frmRigTune")};
  for (const Shortcut& shortcut : shortcuts) {
    SCOPED_TRACE(shortcut.window);
    bool wasModal = false;
    OperatorScript operatorScript;
    operatorScript.When(
        shortcut.window, [] { return QApplication::activeModalWidget() != nullptr; },
        [&] {
          platform::Form& window = shortcut.instance();
          wasModal = window.Widget()->isModal() && window.Visible();
          window.Hide();  // its own close button
        });
    QTest::keyClick(form.txtCall.Widget(), shortcut.key, Qt::ControlModifier);
    EXPECT_TRUE(operatorScript.Done());
    EXPECT_TRUE(wasModal);
  }
  EXPECT_FALSE(IsLoaded<spotting::SpectrumMap>() || IsLoaded<spotting::frmBandPlan>() || IsLoaded<rig::frmRigTune>());
  EXPECT_EQ(form.txtCall.Text(), "W1AW");
}

TEST_F(MainWindowKeys, OnlyTheExactCtrlStateIsAShortcutAndOnlyItsOwnCharacterIsSwallowed) {
  Press(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(IsLoaded<keying::frmCWStrings>());
  Press(Qt::Key_Q, Qt::ControlModifier);  // no shortcut, and no character either
  EXPECT_TRUE(form.txtCall.HasFocus());
  Type("/");
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_Control);  // a Ctrl tap on its own
  Type("r");
  EXPECT_EQ(form.txtCall.Text(), "W1AW/R") << "the next characters are typed";
}

}  // namespace
