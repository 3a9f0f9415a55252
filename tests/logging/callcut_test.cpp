// A call typed past its box's limit is cut at whole characters, so the log held and the log on
// file agree after a reload.

#include "logging/globals.h"
#include "logging/logstore.h"

#include <QTest>
#include <gtest/gtest.h>

#include "anotherpc.h"
#include "mainwindowonfreshlog.h"

namespace {

using CallCutTest = MainWindowOnFreshLog;

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
