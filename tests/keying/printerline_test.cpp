// A printer port the keying cannot use: the operator is told once per session, by CW or by the
// voice window, with the device and what to do about it; the keying goes on failing quietly.
#include "keying/cwfrm.h"
#include "keying/phonefrm.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/mciwave.h"
#include "platform/modulevalues.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "wavefile.h"

namespace {

constexpr int kF1 = 112;

class UnusablePrinterPort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0);
    QFile plainFile(Path("parport0"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WriteWaveFile(Path("F1.wav"), 500));
  }
  void TearDown() override {
    platform::UnloadAll();
    qunsetenv("CORVANE_PARPORT_378");
  }

  QString Path(const QString& name) const { return QDir(folder.path()).filePath(name); }

  QTemporaryDir folder;
  platform::ScriptedWavePlayback playback;
};

TEST_F(UnusablePrinterPort, TheOperatorIsToldOncePerSessionWithTheDeviceAndTheRemedy) {
  const struct {
    const char* base;
    QString device;  // what CORVANE_PARPORT_378 names; empty: unset
    QString named;   // what the box names
    const char* setting;
  } cases[] = {
      {"&H378", Path("missing"), Path("missing"), "CORVANE_PARPORT_378"},
      {"&H378", Path("parport0"), Path("parport0") + " is no device file", "CORVANE_PARPORT_378"},
      {"&HD010", {}, "&HD010", "CORVANE_PARPORT_D010"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named.toStdString());
    platform::ResetModuleValues();  // a new session
    if (c.device.isEmpty()) {
      qunsetenv("CORVANE_PARPORT_378");
    } else {
      qputenv("CORVANE_PARPORT_378", QFile::encodeName(c.device));
    }
    platform::ScriptedDialogs dialogs;
    keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
    cw.Option3.SetValue(true);
    cw.Text14.SetText(c.base);
    cw.Text11.SetText("20");
    cw.Transmit("E");
    cw.Transmit("E");
    keying::PhoneFrm& phone = platform::Instance<keying::PhoneFrm>();
    phone.Option3.SetValue(true);
    phone.Text11.SetText(c.base);
    phone.Text1.SetText(Path("F1.wav"));
    int key = kF1;
    phone.FKeyPhone(key);

    ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
    const platform::MessageBoxShown& shown = dialogs.MessageBoxes()[0];
    EXPECT_EQ(shown.title, "Printer port not available.");
    for (const QString& part : {c.named, QString("parport_pc ppdev"), QString("group lp"), QString(c.setting)}) {
      EXPECT_TRUE(shown.prompt.contains(part)) << shown.prompt.toStdString() << "\nlacks " << part.toStdString();
    }
    EXPECT_EQ(dialogs.Beeps(), 1);
    platform::UnloadAll();
  }
}

}  // namespace
