#include "agwengine_peer.h"
#include "testbound.h"

#include <QTest>

#include <optional>
#include <stdexcept>

namespace peertesting {

namespace {

using peertesting::kBoundMs;

std::optional<QByteArray> Saved(const char* name) {
  if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
  return qgetenv(name);
}

void Restore(const char* name, const std::optional<QByteArray>& saved) {
  if (saved) {
    qputenv(name, *saved);
  } else {
    qunsetenv(name);
  }
}

}  // namespace

platform::AgwFrame MonitoredFrame(const QByteArray& from, const QByteArray& to, const QByteArray& text) {
  return {.port = 0, .kind = 'U', .pid = 0xF0, .callFrom = from, .callTo = to, .data = text + '\0'};
}

SimulatedAgwEngine::SimulatedAgwEngine()
    : savedHost_(Saved("CORVANE_AGW_HOST")), savedPort_(Saved("CORVANE_AGW_PORT")) {
  if (!Listen()) throw std::runtime_error("The simulated AGW engine cannot listen");
  QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { TakeClient(); });
  qputenv("CORVANE_AGW_HOST", "127.0.0.1");
  qputenv("CORVANE_AGW_PORT", QByteArray::number(Port()));
}

SimulatedAgwEngine::~SimulatedAgwEngine() {
  delete client_;
  Restore("CORVANE_AGW_HOST", savedHost_);
  Restore("CORVANE_AGW_PORT", savedPort_);
}

void SimulatedAgwEngine::TakeClient() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    delete client_;
    client_ = socket;
    reader_ = platform::AgwFrameReader();
    QObject::connect(socket, &QIODevice::readyRead, socket, [this] { Receive(); });
  }
}

void SimulatedAgwEngine::Receive() {
  reader_.Append(client_->readAll());
  while (std::optional<platform::AgwFrame> frame = reader_.Next()) {
    received_.push_back(*frame);
    if (frame->kind == 'X') {
      Send({.kind = 'X', .callFrom = frame->callFrom, .data = QByteArray(1, acceptRegistration ? '\1' : '\0')});
    }
  }
}

bool SimulatedAgwEngine::WaitForClient() {
  return QTest::qWaitFor([this] { return client_ && client_->state() == QAbstractSocket::ConnectedState; }, kBoundMs);
}

bool SimulatedAgwEngine::WaitForFrames(std::size_t count) {
  return QTest::qWaitFor([this, count] { return received_.size() >= count; }, kBoundMs);
}

bool SimulatedAgwEngine::WaitUntilClientGone() {
  return QTest::qWaitFor([this] { return !client_ || client_->state() == QAbstractSocket::UnconnectedState; },
                         kBoundMs);
}

QByteArray SimulatedAgwEngine::KindsReceived() const {
  QByteArray kinds;
  for (const platform::AgwFrame& frame : received_) kinds += frame.kind;
  return kinds;
}

void SimulatedAgwEngine::Send(const platform::AgwFrame& frame) { SendBytes(platform::EncodeAgwFrame(frame)); }

void SimulatedAgwEngine::SendBytes(const QByteArray& bytes) {
  if (!client_) throw std::logic_error("The simulated AGW engine has no client to send to");
  client_->write(bytes);
  client_->flush();
}

void SimulatedAgwEngine::DropClient() {
  if (client_) client_->disconnectFromHost();
}

}  // namespace peertesting
