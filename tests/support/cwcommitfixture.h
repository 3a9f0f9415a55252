#pragma once

#include "app/form1.h"
#include "app/globals.h"
#include "keying/cwfrm.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/printerport.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "formtesting.h"
#include "logdatabasefixture.h"

// The CW keying's moments are counted on the fake clock, from a fixed afternoon.
inline void StartFakeClock() { platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), 0); }

// The main window of a station in FN31 working CW on 144 M with a fresh log, and the CW window
// beside it: a "!" in a message logs the contact standing in the entry line. The printer port
// records what is keyed.
class CWCommitTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    StartFakeClock();
    app::OwnGrid = QStringLiteral("FN31");
    app::ProgramDir = dir_.path();
    logging::CurrentBand = QStringLiteral("144 M");
    logging::CurrentMode = QStringLiteral("CW");
    ShowActive(form);
  }

  platform::ScriptedDialogs dialogs;
  platform::RecordedPrinterPort printer;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  keying::CWFrm& cw = platform::Instance<keying::CWFrm>();
};
