// The keyer device window as the operator uses it, with the keyer library's exports recorded by a
// stand-in device instead of the library: what the window hands over, in order, and when.
#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "keying/frmtappler.h"
#include "keying/globals.h"
#include "keying/tapplinkloader.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "formtesting.h"
#include "fulldisk.h"

namespace {

using keying::frmTappler;

// The library as the window sees it: an open result and version to give, a status to report, and
// every call made, with the characters and the moment each reached it.
struct RecordedKeyer {
  static inline std::int32_t openResult = 0;
  static inline std::uint8_t version = 0x17;
  static inline bool open = false;
  static inline std::int32_t status = 0;
  static inline int room = -1;  // characters the device still takes; -1 without end
  static inline QStringList calls;
  static inline QString characters;
  static inline std::vector<std::uint32_t> characterTimes;

  static void Reset() {
    openResult = 0, version = 0x17, open = false, status = 0, room = -1;
    calls.clear(), characters.clear(), characterTimes.clear();
  }
  static QStringList SettingsSent() {
    QStringList settings;
    for (const QString& call : calls) {
      if (!call.startsWith("tp_open") && !call.startsWith("tp_getstatus") && !call.startsWith("tp_char")) {
        settings << call;
      }
    }
    return settings;
  }

  static std::int32_t Open(std::uint8_t* versionOut, std::int32_t port) {
    calls << QString("tp_open %1").arg(port);
    if (open) return -8;
    if (openResult == 0) {
      *versionOut = version;
      open = true;
    }
    return openResult;
  }
  static std::int32_t Close() {
    const std::int32_t result = Record("tp_close");
    open = false;
    return result;
  }
  static std::int32_t Char(std::int32_t value) {
    if (open && room == 0) return -7;
    if (room > 0) --room;
    characters += QChar(value);
    characterTimes.push_back(platform::TimeGetTime());
    return open ? 0 : -9;
  }
  static std::int32_t GetStatus() { return open ? status : -9; }
  // The device drops what it holds and has room again.
  static std::int32_t ClearBuffer() {
    status = 0;
    return Record("tp_clearbuf");
  }
  static std::int32_t Wpm(std::int32_t v) { return Record(QString("tp_wpm %1").arg(v)); }
  static std::int32_t Weight(std::int32_t v) { return Record(QString("tp_weight %1").arg(v)); }
  static std::int32_t Ratio(std::int32_t v) { return Record(QString("tp_ditdah_ratio %1").arg(v)); }
  static std::int32_t LeadTail(std::int32_t lead, std::int32_t tail) {
    return Record(QString("tp_ptt_leadtail %1 %2").arg(lead).arg(tail));
  }
  static std::int32_t PinConfig(std::int32_t v) { return Record(QString("tp_pincfg %1").arg(v)); }
  static std::int32_t SetMode(std::int32_t v) { return Record(QString("tp_setmode %1").arg(v)); }

  static std::int32_t Record(const QString& call) {
    calls << call;
    return open ? 0 : -9;
  }
};

template <class F>
QFunctionPointer Export(F* function) {
  return reinterpret_cast<QFunctionPointer>(function);
}

void StartFakeClock() { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0); }

class KeyerDeviceWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    RecordedKeyer::Reset();
    app::DataFolder = folder.path();
    app::OwnCall = "W1AW";
    platform::Instance<keying::CWFrm>().Text11.SetText("20");
  }

  frmTappler& ShownWindow() {
    frmTappler& window = platform::Instance<frmTappler>();
    ShowActive(window);
    return window;
  }

  static void Click(platform::CommandButton& button) { QTest::mouseClick(button.Widget(), Qt::LeftButton); }

  // The operator puts text into a box and moves on to the Done button.
  static void Enter(frmTappler& window, platform::TextBox& box, const QString& text) {
    box.SetFocus();
    box.SetText(text);
    window.cmdDone.SetFocus();
    platform::DoEvents();
  }

  QString SettingsPath() const { return folder.filePath("TP.txt"); }
  void WriteSettings(const QByteArray& content) const {
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  QByteArray ReadSettings() const {
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir folder;
  platform::ScriptedDialogs dialogs;
  keying::FakeTapplink library{{
      {"tp_open", Export(&RecordedKeyer::Open)},
      {"tp_close", Export(&RecordedKeyer::Close)},
      {"tp_char", Export(&RecordedKeyer::Char)},
      {"tp_getstatus", Export(&RecordedKeyer::GetStatus)},
      {"tp_clearbuf", Export(&RecordedKeyer::ClearBuffer)},
      {"tp_backspace", Export(&RecordedKeyer::ClearBuffer)},
      {"tp_wpm", Export(&RecordedKeyer::Wpm)},
      {"tp_weight", Export(&RecordedKeyer::Weight)},
      {"tp_ditdah_ratio", Export(&RecordedKeyer::Ratio)},
      {"tp_ptt_leadtail", Export(&RecordedKeyer::LeadTail)},
      {"tp_pincfg", Export(&RecordedKeyer::PinConfig)},
      {"tp_setmode", Export(&RecordedKeyer::SetMode)},
  }};
};

const QStringList kDesignSettings = {"tp_wpm 20",     "tp_weight 50", "tp_ptt_leadtail 0 0", "tp_ditdah_ratio 50",
                                     "tp_pincfg 6",   "tp_setmode 0"};
const char* const kConnectionPrompt =
    "Unable to establish connection with Tappler on com port 7.  Please check to make sure that you have "
    "specified the correct port and that the Tappler device is properly connected.";

// ---- Opening and closing

TEST_F(KeyerDeviceWindow, OpenShowsTheResultAndTheConnectionBoxWheneverNoVersionCameBack) {
  const struct {
    std::int32_t result;
    std::uint8_t version;
    const char* status;
    bool box;
    std::uint8_t versionKept;
  } cases[] = {
      {0, 0x17, "TP Success!", false, 0x17}, {0, 0, "TP Success!", true, 0},
      {-1, 0, "No Echo Response", true, 0},  {-2, 0, "Echo Mismatch", true, 0},
      {-3, 0, "No Open Response", true, 0},  {-4, 0, "Com Open Failed", true, 0},
      {-5, 0, "Get Com ST Failed", true, 0}, {-6, 0, "Set Com ST Failed", true, 0},
      {-9, 0, "TP Not Open", true, 0},       {-7, 0, "Closed", true, 0},  // a result no text stands for
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    platform::UnloadAll();
    keying::TPVersion = 0;
    platform::Instance<keying::CWFrm>().Text11.SetText("20");
    RecordedKeyer::Reset();
    RecordedKeyer::openResult = c.result;
    RecordedKeyer::version = c.version;
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    frmTappler& window = ShownWindow();
    Enter(window, window.txtTPComPort, "7");
    Click(window.cmdOpenTappler);

    EXPECT_EQ(window.lblOpenStatus.Caption(), c.status);
    ASSERT_EQ(dialogs.MessageBoxes().size() - boxesBefore, c.box ? 1u : 0u);
    if (c.box) {
      EXPECT_EQ(dialogs.MessageBoxes().back().prompt, kConnectionPrompt);
      EXPECT_EQ(dialogs.MessageBoxes().back().title, "Unable to establish connection with Tappler.");
    }
    EXPECT_EQ(keying::TPVersion, c.versionKept);
    EXPECT_EQ(window.lblVersion.Caption(), c.versionKept ? "Version # 23" : "Version #");
    EXPECT_EQ(RecordedKeyer::SettingsSent(), kDesignSettings) << "sent even when the open failed";
    EXPECT_TRUE(window.cmdDone.HasFocus());
  }
}

TEST_F(KeyerDeviceWindow, ASecondOpenSaysAlreadyOpenWithNoBoxAndNoSettings) {
  frmTappler& window = ShownWindow();
  Click(window.cmdOpenTappler);
  RecordedKeyer::calls.clear();
  Click(window.cmdOpenTappler);
  EXPECT_EQ(window.lblOpenStatus.Caption(), "TP Already Open");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
  EXPECT_EQ(RecordedKeyer::calls, QStringList({"tp_open 0"}));
  EXPECT_EQ(keying::TPVersion, 0x17);

  Click(window.cmdCloseTappler);
  EXPECT_EQ(window.lblOpenStatus.Caption(), "Closed");
  EXPECT_EQ(window.lblVersion.Caption(), "Version #");
  EXPECT_EQ(keying::TPVersion, 0);
  EXPECT_EQ(RecordedKeyer::calls.last(), "tp_close");

  RecordedKeyer::open = true;
  keying::TPVersion = 0x17;
  window.Unload();
  EXPECT_EQ(RecordedKeyer::calls.last(), "tp_close");
  EXPECT_EQ(keying::TPVersion, 0);
}

TEST_F(KeyerDeviceWindow, ChoosingAModeOrPinStoresItsByteAndSendsEverythingOnlyWhileTheDeviceIsOpen) {
  frmTappler& window = ShownWindow();
  const struct {
    platform::OptionButton* option;
    std::uint8_t mode;
    std::uint8_t pin;
  } cases[] = {
      {&window.optIambicA, 0x10, 6},       {&window.optUltimatic, 0x20, 6}, {&window.optBug, 0x30, 6},
      {&window.optIambicB, 0x00, 6},       {&window.optKey5Off3Out, 0, 4},  {&window.optPTT, 0, 5},
      {&window.optKey5Out3Off, 0, 8},      {&window.optTone, 0, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option->Name().toStdString());
    RecordedKeyer::calls.clear();
    c.option->SetValue(true);
    EXPECT_EQ(keying::TPMode, c.mode);
    EXPECT_EQ(keying::TPPinConfig, c.pin);
    EXPECT_TRUE(RecordedKeyer::calls.isEmpty()) << "the device is closed";
  }
  Click(window.cmdOpenTappler);
  RecordedKeyer::calls.clear();
  QTest::mouseClick(window.optBug.Widget(), Qt::LeftButton);
  EXPECT_EQ(RecordedKeyer::calls, QStringList({"tp_wpm 20", "tp_weight 50", "tp_ptt_leadtail 0 0",
                                               "tp_ditdah_ratio 50", "tp_pincfg 6", "tp_setmode 48"}));
}

// ---- The boxes

TEST_F(KeyerDeviceWindow, EachBoxIsCheckedAsItIsLeftAndSentOnlyInRange) {
  frmTappler& window = ShownWindow();
  const struct {
    platform::TextBox* box;
    const char* typed;
    const char* boxAfter;
    const char* sent;  // nullptr: nothing
  } cases[] = {
      {&window.txtRatio, "70", "70", nullptr},
      {&window.txtRatio, "31", "31", nullptr},
      {&window.txtRatio, "32", "32", "tp_ditdah_ratio 32"},
      {&window.txtRatio, "67", "67", "tp_ditdah_ratio 67"},
      {&window.txtRatio, "x", "50", nullptr},
      {&window.txtTPWPM, "99", "99", "tp_wpm 99"},
      {&window.txtTPWPM, "100", "100", nullptr},
      {&window.txtTPWPM, "fast", "18", nullptr},
      {&window.txtTPWPM, "", "18", nullptr},
      {&window.txtTPWPM, "20.5", "20.5", "tp_wpm 20"},  // halves to even
      {&window.txtTPWPM, "21.5", "21.5", "tp_wpm 22"},
      {&window.txtWeight, "0", "0", "tp_weight 0"},
      {&window.txtWeight, "heavy", "50", nullptr},
      {&window.txtLeadIn, "25", "25", "tp_ptt_leadtail 25 0"},
      {&window.txtLeadIn, "300", "0", nullptr},  // beyond a byte: never wrapped to 44
      {&window.txtTail, "255", "255", "tp_ptt_leadtail 0 255"},
      {&window.txtTail, "", "0", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box->Name().toStdString() + " " + c.typed);
    window.txtLeadIn.SetText("0");
    window.txtTail.SetText("0");
    RecordedKeyer::calls.clear();
    Enter(window, *c.box, c.typed);
    EXPECT_EQ(c.box->Text(), c.boxAfter);
    EXPECT_EQ(RecordedKeyer::calls, c.sent ? QStringList({c.sent}) : QStringList());
  }
}

TEST_F(KeyerDeviceWindow, ThePortBoxTakesOnlyAPortThatFitsAByteAndKeepsTheTextOtherwise) {
  frmTappler& window = ShownWindow();
  const struct {
    const char* typed;
    const char* boxAfter;
    std::uint8_t port;
  } cases[] = {{"12", "12", 12}, {"300", "300", 0}, {"", "0", 0}, {"com3", "0", 0}, {"2.5", "2.5", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    keying::TPPort = 99;
    Enter(window, window.txtTPComPort, c.typed);
    EXPECT_EQ(window.txtTPComPort.Text(), c.boxAfter);
    EXPECT_EQ(keying::TPPort, c.port);
  }
}

TEST_F(KeyerDeviceWindow, TheBoxesTakeDigitsAndBackspaceOnly) {
  frmTappler& window = ShownWindow();
  window.txtWeight.SetFocus();
  window.txtWeight.SetText("");
  QTest::keyClicks(window.txtWeight.Widget(), "4a-.5");
  QTest::keyClick(window.txtWeight.Widget(), Qt::Key_Backspace);
  QTest::keyClicks(window.txtWeight.Widget(), "2");
  EXPECT_EQ(window.txtWeight.Text(), "42");
}

// ---- The settings file

TEST_F(KeyerDeviceWindow, TheSettingsFileIsLoadedWithTheCWSpeedWinningAndASixLineFileKeepsPinAndMode) {
  const struct {
    const char* file;
    const char* port;
    const char* weight;
    std::uint8_t pin;
    std::uint8_t mode;
    platform::OptionButton frmTappler::*pinOption;
    platform::OptionButton frmTappler::*modeOption;
  } cases[] = {
      {"3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"4\"\r\n\"60\"\r\n8\r\n48\r\n", "3", "45", 8, 0x30,
       &frmTappler::optKey5Out3Off, &frmTappler::optBug},
      {"4\r\n\"30\"\r\n\"55\"\r\n\"2\"\r\n\"4\"\r\n\"60\"\r\n", "4", "55", 6, 0, &frmTappler::optTone,
       &frmTappler::optIambicB},
      {"5\n\"30\"\n\"40\"\n\"2\"\n\"4\"\n\"60\"\n5\n", "5", "40", 5, 0, &frmTappler::optPTT, &frmTappler::optIambicB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    platform::UnloadAll();
    WriteSettings(c.file);
    platform::Instance<keying::CWFrm>().Text11.SetText("25");
    frmTappler& window = platform::Instance<frmTappler>();
    EXPECT_EQ(window.txtTPComPort.Text(), c.port);
    EXPECT_EQ(window.txtTPWPM.Text(), "25") << "the CW window's speed";
    EXPECT_EQ(window.txtWeight.Text(), c.weight);
    EXPECT_EQ(window.txtLeadIn.Text(), "2");
    EXPECT_EQ(window.txtTail.Text(), "4");
    EXPECT_EQ(window.txtRatio.Text(), "60");
    EXPECT_EQ(keying::TPPinConfig, c.pin);
    EXPECT_EQ(keying::TPMode, c.mode);
    EXPECT_TRUE((window.*c.pinOption).Value());
    EXPECT_TRUE((window.*c.modeOption).Value());
  }
}

TEST_F(KeyerDeviceWindow, ADamagedOrMissingFileLeavesTheDefaults) {
  const struct {
    const char* file;  // nullptr: none
    const char* port;
    const char* speed;
  } cases[] = {
      {nullptr, "0", "20"},
      {"300\r\n\"30\"\r\n", "5", "18"},  // a port beyond a byte ends the load at once
      {"2\r\n\"30\"\r\n", "5", "30"},    // a short file too, after what it held
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "none");
    platform::UnloadAll();
    platform::Instance<keying::CWFrm>().Text11.SetText("20");
    QFile::remove(SettingsPath());
    if (c.file) WriteSettings(c.file);
    frmTappler& window = platform::Instance<frmTappler>();
    EXPECT_EQ(window.txtTPComPort.Text(), c.port);
    EXPECT_EQ(window.txtTPWPM.Text(), c.speed);
    EXPECT_EQ(keying::TPPinConfig, 6);
    EXPECT_EQ(keying::TPMode, 0);
    EXPECT_TRUE(window.optTone.Value() && window.optIambicB.Value());
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
    EXPECT_EQ(ReadSettings(), c.file ? QByteArray(c.file) : QByteArray()) << "never written into";
  }
}

TEST_F(KeyerDeviceWindow, DoneWritesTheSettingsAsTheNextLoadReadsThemAndHides) {
  frmTappler& window = ShownWindow();
  Enter(window, window.txtTPComPort, "7");
  window.txtWeight.SetText("45");
  window.txtLeadIn.SetText("3");
  window.txtRatio.SetText("55");
  window.optPTT.SetValue(true);
  window.optUltimatic.SetValue(true);
  Click(window.cmdDone);
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(ReadSettings(), "7\r\n\"20\"\r\n\"45\"\r\n\"3\"\r\n\"0\"\r\n\"55\"\r\n5\r\n32\r\n");

  platform::UnloadAll();
  frmTappler& again = platform::Instance<frmTappler>();
  EXPECT_EQ(again.txtTPComPort.Text(), "7");
  EXPECT_TRUE(again.optPTT.Value() && again.optUltimatic.Value());
}

TEST_F(KeyerDeviceWindow, DoneThatCannotWriteKeepsTheOldFileSaysSoAndHides) {
  const QByteArray before = "3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"4\"\r\n\"60\"\r\n8\r\n48\r\n";
  WriteSettings(before);
  frmTappler& window = ShownWindow();
  window.txtWeight.SetText("12");
  {
    FullDisk full;
    Click(window.cmdDone);
  }
  EXPECT_EQ(ReadSettings(), before);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_TRUE(dialogs.MessageBoxes()[0].prompt.startsWith("The keyer device settings could not be saved: "));
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Unable to write file.");
  EXPECT_FALSE(window.Visible());
}

// ---- Sending

TEST_F(KeyerDeviceWindow, TestAndBufferTestStartTheSendingOnAnEmptyBufferAndOnlyAppendOtherwise) {
  StartFakeClock();
  frmTappler& window = ShownWindow();
  const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
  const struct {
    platform::CommandButton frmTappler::*button;
    const char* waiting;
    QString sent;
    QString bufferAfter;
  } cases[] = {
      {&frmTappler::Command3, "", "VVV TEST DE W1AW", ""},
      {&frmTappler::Command3, "CQ ", "", "CQ VVV TEST DE W1AW"},
      {&frmTappler::Command1, "", alphabet + alphabet + alphabet, ""},
      {&frmTappler::Command1, "K", "", "K" + alphabet + alphabet + alphabet},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent.toStdString() + "|" + c.bufferAfter.toStdString());
    RecordedKeyer::characters.clear();
    keying::CWBuffer = c.waiting;
    Click(window.*c.button);
    EXPECT_EQ(RecordedKeyer::characters, c.sent);
    EXPECT_EQ(keying::CWBuffer, c.bufferAfter);
  }
  EXPECT_EQ(RecordedKeyer::calls.filter("tp_open").size(), 1) << "the first sending opened the device";
}

TEST_F(KeyerDeviceWindow, TheKeyboardBoxSendsCapitalsAndKeepsThemButNoControlKeys) {
  StartFakeClock();
  frmTappler& window = ShownWindow();
  window.Text1.SetFocus();
  QTest::keyClicks(window.Text1.Widget(), "cq?");
  QTest::keyClick(window.Text1.Widget(), Qt::Key_Return);
  QTest::keyClick(window.Text1.Widget(), Qt::Key_Backspace);
  EXPECT_EQ(RecordedKeyer::characters, "CQ?");
  EXPECT_EQ(window.Text1.Text(), "CQ");
}

TEST_F(KeyerDeviceWindow, CharactersGoAtMostOneEvery10MsWithoutCodeZero) {
  StartFakeClock();
  keying::TPVersion = 0x17;
  RecordedKeyer::open = true;
  keying::CWBuffer = QString("AB") + QChar(0) + "C";
  platform::Instance<frmTappler>().TPTransmit();
  EXPECT_EQ(RecordedKeyer::characters, "ABC");
  ASSERT_EQ(RecordedKeyer::characterTimes.size(), 3u);
  for (std::size_t i = 1; i < RecordedKeyer::characterTimes.size(); ++i) {
    EXPECT_GE(RecordedKeyer::characterTimes[i] - RecordedKeyer::characterTimes[i - 1], 10u);
  }
  EXPECT_EQ(keying::CWBuffer, "");
}

TEST_F(KeyerDeviceWindow, ABusyDeviceHoldsTheCharactersWhileEventsRun) {
  StartFakeClock();
  keying::TPVersion = 0x17;
  RecordedKeyer::open = true;
  RecordedKeyer::status = 5;
  qsizetype sentWhileBusy = -1;
  QTimer::singleShot(0, [&] {
    sentWhileBusy = RecordedKeyer::characters.size();
    keying::CWBuffer += "K";  // what the events add goes along
    RecordedKeyer::status = 4;
  });
  keying::CWBuffer = "TU";
  platform::Instance<frmTappler>().TPTransmit();
  EXPECT_EQ(sentWhileBusy, 0);
  EXPECT_EQ(RecordedKeyer::characters, "TUK");
  EXPECT_EQ(keying::TPStatus, 4);
}

TEST_F(KeyerDeviceWindow, ARefusedCharacterIsSentAgainOnceTheDeviceHasRoom) {
  StartFakeClock();
  keying::TPVersion = 0x17;
  RecordedKeyer::open = true;
  RecordedKeyer::room = 2;
  QTimer::singleShot(0, [] { RecordedKeyer::room = -1; });  // the device drains while the events run
  keying::CWBuffer = "CQ TEST";
  platform::Instance<frmTappler>().TPTransmit();
  EXPECT_EQ(RecordedKeyer::characters, "CQ TEST");
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

// Ten seconds on the fake clock pass at once.
TEST_F(KeyerDeviceWindow, ADeviceThatTakesNoTextFor10SecondsStopsTheSendingAndTheRestIsKeptForTheNext) {
  StartFakeClock();
  frmTappler& window = ShownWindow();
  keying::TPVersion = 0x17;
  RecordedKeyer::open = true;
  const struct {
    const char* name;
    std::int32_t status;
    int room;
  } devices[] = {{"busy", 5, -1}, {"full", 0, 3}};
  for (const auto& device : devices) {
    SCOPED_TRACE(device.name);
    RecordedKeyer::status = device.status;
    RecordedKeyer::room = device.room;
    RecordedKeyer::characters.clear();
    const std::size_t shown = dialogs.MessageBoxes().size();
    const std::uint32_t start = platform::TimeGetTime();
    Click(window.Command3);
    const QString sent = device.room > 0 ? QString("VVV") : QString();
    EXPECT_EQ(RecordedKeyer::characters, sent);
    EXPECT_EQ(keying::CWBuffer, QString("VVV TEST DE W1AW").mid(sent.size()));
    EXPECT_GE(platform::TimeGetTime() - start, 10'000u);
    ASSERT_EQ(dialogs.MessageBoxes().size(), shown + 1);
    EXPECT_EQ(dialogs.MessageBoxes().back().title, "Keyer device takes no text.");
    EXPECT_TRUE(dialogs.MessageBoxes().back().prompt.contains(QString("The %1 characters not sent are kept")
                                                                     .arg(keying::CWBuffer.size())));

    RecordedKeyer::status = 0;
    RecordedKeyer::room = -1;
    Click(window.Command3);  // the device has room again: the kept text goes first
    EXPECT_EQ(RecordedKeyer::characters, "VVV TEST DE W1AWVVV TEST DE W1AW");
    EXPECT_EQ(keying::CWBuffer, "");
    EXPECT_EQ(dialogs.MessageBoxes().size(), shown + 1);
  }
}

// Closing the device while the sending waits for room is the operator's doing, not a device that
// takes no text: the wait ends at its next test, with nothing to blame. The text left has no device
// to go to; the next text opens the device again. The fake clock would let ten seconds pass at once.
TEST_F(KeyerDeviceWindow, ClosingTheDeviceWhileTheSendingWaitsEndsItAtOnceWithNoBox) {
  StartFakeClock();
  frmTappler& window = ShownWindow();
  const struct {
    const char* name;
    std::int32_t status;
    int room;
    const char* sentBeforeClose;
  } devices[] = {{"busy", 5, -1, ""}, {"full", 0, 3, "VVV"}};
  for (const auto& device : devices) {
    SCOPED_TRACE(device.name);
    Click(window.cmdOpenTappler);
    RecordedKeyer::status = device.status;
    RecordedKeyer::room = device.room;
    RecordedKeyer::characters.clear();
    QTimer::singleShot(0, [&] { Click(window.cmdCloseTappler); });
    const std::uint32_t start = platform::TimeGetTime();
    Click(window.Command3);
    EXPECT_LT(platform::TimeGetTime() - start, 1'000u);
    EXPECT_EQ(RecordedKeyer::characters, device.sentBeforeClose);
    EXPECT_EQ(keying::CWBuffer, "");
    EXPECT_TRUE(dialogs.MessageBoxes().empty());
    EXPECT_EQ(window.lblOpenStatus.Caption(), "Closed");

    RecordedKeyer::status = 0;
    RecordedKeyer::room = -1;
    Click(window.Command3);
    EXPECT_EQ(RecordedKeyer::characters, device.sentBeforeClose + QString("VVV TEST DE W1AW"));
    EXPECT_EQ(window.lblOpenStatus.Caption(), "TP Success!");
  }
}

TEST_F(KeyerDeviceWindow, StopOrEscEndsTheSendingAtItsNextTest) {
  StartFakeClock();
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CurrentMode = "CW";
  keying::KeyingMode = 5;
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Esc" : "Stop");
    frmTappler& window = ShownWindow();
    keying::TPVersion = 0x17;
    RecordedKeyer::open = true;
    RecordedKeyer::status = 5;
    RecordedKeyer::characters.clear();
    QTimer::singleShot(0, [&] {
      if (escape) {
        ShowActive(form);
        QTest::keyClick(form.txtCall.Widget(), Qt::Key_Escape);
      } else {
        Click(window.cmdStop);
      }
    });
    keying::CWBuffer = "CQ CQ";
    window.TPTransmit();
    EXPECT_EQ(RecordedKeyer::characters, "");
    EXPECT_EQ(keying::CWBuffer, "");
    EXPECT_EQ(RecordedKeyer::calls.last(), "tp_clearbuf");
  }
}

TEST_F(KeyerDeviceWindow, SendingWithADeviceThatWillNotOpenDropsTheBuffer) {
  StartFakeClock();
  RecordedKeyer::openResult = -1;
  keying::CWBuffer = "CQ";
  platform::Instance<frmTappler>().TPTransmit();
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(RecordedKeyer::characters, "");
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u);
}

// No library beside the test program: only Open says so; the rest has nothing to close.
class KeyerDeviceWindowWithoutLibrary : public ::testing::Test {
 protected:
  platform::ScriptedDialogs dialogs;
};

TEST_F(KeyerDeviceWindowWithoutLibrary, OpenShowsTheLoadersErrorAndTheRestSkipsTheLibrary) {
  frmTappler& window = platform::Instance<frmTappler>();
  ShowActive(window);
  QTest::mouseClick(window.cmdOpenTappler.Widget(), Qt::LeftButton);
  ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
  EXPECT_EQ(dialogs.MessageBoxes()[0].prompt, "File not found: Tapplink");
  EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Error!");
  EXPECT_EQ(window.lblOpenStatus.Caption(), "Closed");

  keying::CWBuffer = "CQ";
  for (platform::CommandButton* button : {&window.cmdCloseTappler, &window.cmdStop}) {
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
  }
  window.txtTPWPM.SetFocus();
  window.txtTPWPM.SetText("22");
  window.cmdDone.SetFocus();
  window.optBug.SetValue(true);
  window.Unload();
  EXPECT_FALSE(platform::IsLoaded<frmTappler>());
  EXPECT_EQ(keying::CWBuffer, "");
  EXPECT_EQ(dialogs.MessageBoxes().size(), 1u) << "only the open path reports";
  EXPECT_FALSE(keying::TapplinkLoaded());
}

}  // namespace
