// The server relaying station messages: a PC on the loopback sends a message and waits until the
// server has sent it back (the server logs each one in its message log on the way). One relay
// must cost the same with 1,000 or 50,000 messages before it; and a run of messages from a fresh
// window grows with their number, not with its square. Underneath, a line appended to a
// multi-line box, kept whole, costs the same whatever the box holds already.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "network/frmnetwork.h"
#include "network/globals.h"
#include "network/records.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/instances.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWait = 20000;  // milliseconds for one relay before the benchmark gives up

// The network window of the server "Shack" and one PC connected to it that reads every reply.
class RelayingServer {
 public:
  RelayingServer() {
    qputenv("CORVANE_STATION_PORT", "0");
    qputenv("CORVANE_HOST_NAME", "Shack");
    app::ServerName = QStringLiteral("Shack");
    network::NetworkEnabled = 1;
    platform::InstanceWithoutLoad<app::Form1>();
    net_ = &platform::Instance<network::frmNetwork>();
    peer_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(net_->tcpWinsock[0].LocalPort()));
    ok_ = peer_.waitForConnected(kWait) && Until([this] { return net_->PeerCount == 1; });
  }
  RelayingServer(const RelayingServer&) = delete;
  RelayingServer& operator=(const RelayingServer&) = delete;
  ~RelayingServer() { platform::UnloadAll(); }

  // One message there and back; false when it did not come back in time.
  bool Relay() {
    const QString text = QStringLiteral("Message %1: moving to 432 M in five minutes").arg(++sent_);
    peer_.write(network::MessageRecord(QStringLiteral("Tent2"), QStringLiteral("Tower"), text).toLatin1());
    peer_.flush();
    const QByteArray awaited = text.toLatin1();
    return Until([&] {
      received_ += peer_.readAll();
      if (!received_.contains(awaited)) return false;
      received_.clear();
      return true;
    });
  }

  bool Ok() const { return ok_; }
  int Sent() const { return sent_; }
  qsizetype LogLength() const { return net_->txtOutput.TextLength(); }

 private:
  template <class Condition>
  static bool Until(Condition done) {
    const QDeadlineTimer deadline(kWait);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
  }

  network::frmNetwork* net_ = nullptr;
  QTcpSocket peer_;
  QByteArray received_;
  int sent_ = 0;
  bool ok_ = false;
};

// The server of the one-relay benchmark, which lives on from one size to the next.
std::unique_ptr<RelayingServer>& LastingServer() {
  static std::unique_ptr<RelayingServer> server;
  return server;
}

// One relay with range(0) messages relayed before it, those of the smaller sizes included.
void BM_OneRelayAfter(benchmark::State& state) {
  std::unique_ptr<RelayingServer>& server = LastingServer();
  if (!server) server = std::make_unique<RelayingServer>();
  if (!server->Ok()) {
    state.SkipWithError("the server took no connection");
    return;
  }
  while (server->Sent() < state.range(0)) {
    if (!server->Relay()) {
      state.SkipWithError("a message was not relayed while the log filled");
      return;
    }
  }
  for (auto _ : state) {
    if (!server->Relay()) state.SkipWithError("a message was not relayed");
  }
  state.counters["log_chars"] = static_cast<double>(server->LogLength());
  state.counters["rss_MiB"] = ResidentMiB();
}
BENCHMARK(BM_OneRelayAfter)->Arg(1000)->Arg(10000)->Arg(50000)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// range(0) messages relayed one after the other from a freshly loaded window.
void BM_RelayRunFromAFreshWindow(benchmark::State& state) {
  LastingServer().reset();
  for (auto _ : state) {
    RelayingServer server;
    if (!server.Ok()) {
      state.SkipWithError("the server took no connection");
      return;
    }
    for (int i = 0; i < state.range(0); ++i) {
      if (!server.Relay()) {
        state.SkipWithError("a message was not relayed");
        return;
      }
    }
    state.counters["log_chars"] = static_cast<double>(server.LogLength());
    state.counters["rss_MiB"] = ResidentMiB();
  }
}
BENCHMARK(BM_RelayRunFromAFreshWindow)->Arg(1000)->Arg(5000)->Arg(13000)->Iterations(1)->Unit(benchmark::kMillisecond);

class LogForm : public platform::Form {
 public:
  LogForm() : Form(QStringLiteral("LogForm")) { txtOutput.Move(240, 240, 6900, 1800); }
  platform::TextBox txtOutput{this, "txtOutput", platform::MultiLine};
};

// One entry appended to a shown box that keeps everything and already holds range(0) entries.
void BM_AppendToABoxHolding(benchmark::State& state) {
  LogForm form;
  form.Show();
  const QString entry = QStringLiteral("To: Tower\r\nFrom: Tent2\r\n8:30:15 PM\r\nMoving to 432 M in five minutes\r\n\r\n");
  for (int i = 0; i < state.range(0); ++i) form.txtOutput.AppendText(entry);
  QCoreApplication::processEvents();
  for (auto _ : state) {
    form.txtOutput.AppendText(entry);
    QCoreApplication::processEvents();  // the box draws what changed
  }
  state.counters["box_chars"] = static_cast<double>(form.txtOutput.TextLength());
}
BENCHMARK(BM_AppendToABoxHolding)->Arg(1000)->Arg(10000)->Arg(50000)->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
