#include "platform/errors.h"
#include "platform/modulevalues.h"
#include "platform/trace.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace {

MODULE_VALUE(std::uint8_t, SampleFlag, 1);
MODULE_VALUE(QString, SampleText, QStringLiteral("start"));

// Collects what the program writes to its logging categories while it lives.
class CapturedMessages {
 public:
  CapturedMessages() : previous_(qInstallMessageHandler(&Capture)) { Messages().clear(); }
  ~CapturedMessages() { qInstallMessageHandler(previous_); }
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;

  static QStringList& Messages() {
    static QStringList messages;
    return messages;
  }

 private:
  static void Capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
    Messages() << QString::fromUtf8(context.category) + QStringLiteral(": ") + message;
  }
  QtMessageHandler previous_;
};

TEST(ModuleValuesTest, ResetBringsEveryValueBackToItsStart) {
  SampleFlag = 7;
  SampleText = QStringLiteral("changed");
  platform::ResetModuleValues();
  EXPECT_EQ(SampleFlag, 1);
  EXPECT_EQ(SampleText, QStringLiteral("start"));
}

void FailingStep() { throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9); }

TEST(TraceTest, ASkippedStepLeavesItsErrorAndPlaceInTheSubsystemsCategory) {
  CapturedMessages captured;
  EXPECT_FALSE(platform::SkipOnError(lcLogging, &FailingStep));
  EXPECT_TRUE(platform::SkipOnError(lcLogging, [] {}));
  ASSERT_EQ(captured.Messages().size(), 1);
  const QString trace = captured.Messages().first();
  EXPECT_TRUE(trace.startsWith(QStringLiteral("corvane.logging: "))) << trace.toStdString();
  EXPECT_TRUE(trace.contains(QStringLiteral("9 \"Subscript out of range\""))) << trace.toStdString();
  EXPECT_TRUE(trace.contains(QStringLiteral("trace_test.cpp:"))) << trace.toStdString();
}

TEST(TraceTest, ATrappedForeignErrorKeepsItsText) {
  CapturedMessages captured;
  try {
    throw std::out_of_range("vector index");
  } catch (const std::exception& error) {
    platform::TraceError(lcRig, error);
  }
  ASSERT_EQ(captured.Messages().size(), 1);
  EXPECT_TRUE(captured.Messages().first().contains(QStringLiteral("\"vector index\"")));
}

TEST(TraceTest, ProcedureNamesLoseNamespaceReturnTypeAndParameters) {
  struct Case {
    const char* signature;
    const char* name;
  };
  // std::source_location cannot be made by hand; the names come from real functions' spellings.
  for (const Case& c : {Case{"void app::Form1::mnuSetup_Click()", "Form1::mnuSetup_Click"},
                        Case{"void app::Form1::txtCall_KeyPress(int&)", "Form1::txtCall_KeyPress"},
                        Case{"int main(int, char**)", "main"}}) {
    EXPECT_EQ(platform::ProcedureNameOf(QString::fromUtf8(c.signature)), QString::fromUtf8(c.name)) << c.signature;
  }
}

}  // namespace
