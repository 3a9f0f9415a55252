// A call typed past its box's limit is cut at whole characters, so the log held and the log on
// file agree after a reload.

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instances.h"

#include <QTest>
#include <gtest/gtest.h>

#include "anotherpc.h"
#include "formtesting.h"
#include "logdatabasefixture.h"

namespace {

class CallCutTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    platform::Clock::SetFake(QDateTime(QDate(2024, 3, 2), QTime(20, 30)), -5.0);
    app::OwnGrid = QStringLiteral("FN31");
    app::UtcOffset = 5;
    app::ContestType = 1;
    app::ProgramDir = dir_.path();
    logging::CurrentBand = QStringLiteral("144 M");
    logging::CurrentMode = QStringLiteral("PH");
    ShowActive(form);
  }

  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

// The call box holds 13 characters; an emoji, two UTF-16 units, comes as one key after twelve.
TEST_F(CallCutTest, AnEmojiThatDoesNotFitTheCallBoxWholeIsLeftOutOfTheLogHeldAndTheFile) {
  form.txtCall.SetFocus();
  QTest::keyClicks(form.txtCall.Widget(), "W1AW/VE3/ABC");
  QTest::sendKeyEvent(QTest::Click, form.txtCall.Widget(), Qt::Key_unknown, QString::fromUtf8("\xF0\x9F\x98\x80"),
                      Qt::NoModifier);
  QTest::keyClicks(form.txtRSTR.Widget(), "59");
  QTest::keyClicks(form.txtSec.Widget(), "FN20");
  QTest::keyClicks(form.txtRSTS.Widget(), "57");
  QTest::keyClick(form.txtRSTS.Widget(), Qt::Key_Return);

  ASSERT_EQ(logging::LogCount, 1);
  const QString held = logging::LogCalls[1];
  EXPECT_EQ(held, "W1AW/VE3/ABC");
  ASSERT_EQ(RowsOnFile(path_).size(), 1);
  EXPECT_EQ(RowsOnFile(path_)[0][0], held);
  form.WorkList();
  EXPECT_EQ(logging::LogCalls[1], held) << "a reload gives what was held";
}

}  // namespace
