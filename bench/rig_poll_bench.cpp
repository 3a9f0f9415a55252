// One poll of the rig (send tick, the rig's answer, read tick with its parse and the hand-off to
// the main window) against a bare write and read of the same bytes over the same serial line.
// The rig window is hidden and the rig stays on the log's band and mode, as in most of a contest.
#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "rig/globals.h"
#include "rig/rigcontrolfrm.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

#include "childprocess.h"
#include "ptypair.h"

namespace {

constexpr int kPort = 1;
const QString kPoll = QStringLiteral("FA;MD;");
constexpr int kAnswerLength = 18;  // "FA00144200000;MD3;"

// A program folder, the main window on 144 M CW, and a Kenwood answering on a serial line.
class PolledRig {
 public:
  PolledRig() {
    rig_ = std::make_unique<peertesting::ChildProcess>(
        std::vector<std::string>{RIGRESPONDER_PATH, line_.PeerEnd(), folder_.Path("transcript")},
        folder_.Path("rig.log"), true);
    rig_->Write("answer 46 41 3b = 46 41 30 30 31 34 34 32 30 30 30 30 30 3b\n");  // FA; -> FA00144200000;
    rig_->Write("answer 4d 44 3b = 4d 44 33 3b\n");                               // MD; -> MD3;
    qputenv("CORVANE_PORT1", QByteArray::fromStdString(line_.HostEnd()));
    app::ProgramDir = programFolder_.path();
    app::ProgramDrive = "/";
    platform::ChDir(programFolder_.path());
    app::ContestType = 1;
    logging::CurrentBand = "144 M";
    logging::CurrentMode = "CW";
    platform::InstanceWithoutLoad<app::Form1>();
    rig::RigControlfrm& w = Window();
    rig::RigType = "Kenwood";
    w.txtFreq.SetText("FA;");
    w.txtMode.SetText("MD;");
    w.optComm(kPort - 1).SetValue(true);
    w.Command1_Click();  // opens the port and sends the first poll
    w.tmrGetData.SetEnabled(false);
    WaitForAnswer();
    w.tmrGetData_Timer();
  }
  ~PolledRig() {
    platform::UnloadAll();
    qunsetenv("CORVANE_PORT1");
  }

  static rig::RigControlfrm& Window() { return platform::Instance<rig::RigControlfrm>(); }

  static void WaitForAnswer() {
    platform::SerialControl& port = Window().comComm1;
    while (port.InBufferCount() < kAnswerLength) QCoreApplication::processEvents();
  }

 private:
  peertesting::ScratchFolder folder_;
  peertesting::PtyPair line_;
  std::unique_ptr<peertesting::ChildProcess> rig_;
  QTemporaryDir programFolder_;
};

void BM_PollCycle(benchmark::State& state) {
  PolledRig rig;
  rig::RigControlfrm& w = PolledRig::Window();
  for (auto _ : state) {
    w.tmrGetData_Timer();
    PolledRig::WaitForAnswer();
    w.tmrGetData_Timer();
  }
  if (logging::CurrentBand != "144 M" || w.RigFrequency != 144.2) state.SkipWithError("the rig was not followed");
}

void BM_BareRoundTrip(benchmark::State& state) {
  PolledRig rig;
  platform::SerialControl& port = PolledRig::Window().comComm1;
  for (auto _ : state) {
    port.SetOutput(kPoll);
    PolledRig::WaitForAnswer();
    benchmark::DoNotOptimize(port.Input());
  }
}

}  // namespace

BENCHMARK(BM_PollCycle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareRoundTrip)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
