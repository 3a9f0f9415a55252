#pragma once

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "formtesting.h"
#include "logdatabasefixture.h"

// A fixed station in FN31 five hours behind UTC, on 144 M phone, at 20:30 local time on 2 March
// 2024.
inline void SetFixedStationInFN31OnTwoMetrePhone() {
  platform::Clock::SetFake(QDateTime(QDate(2024, 3, 2), QTime(20, 30)), -5.0);
  app::OwnGrid = QStringLiteral("FN31");
  app::UtcOffset = 5;
  logging::CurrentBand = QStringLiteral("144 M");
  logging::CurrentMode = QStringLiteral("PH");
}

// The main window on a fresh log, of the fixed station above.
class MainWindowOnFreshLog : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    SetFixedStationInFN31OnTwoMetrePhone();
    app::ContestType = 1;
    app::ProgramDir = dir_.path();
    ShowActive(form);
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};
