#include "platform/agwengine.h"

#include "platform/agwframe.h"
#include "platform/environment.h"
#include "platform/modulevalues.h"
#include "platform/trace.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTcpSocket>

#include <algorithm>
#include <deque>

namespace platform {

namespace {

constexpr int DefaultEnginePort = 8000;
constexpr int HighestPort = 65535;
constexpr int ConnectWaitMilliseconds = 2000;
constexpr std::size_t MostFramesWaiting = 256;
constexpr std::uint8_t TextPid = 0xF0;

bool AboutConnectedStation(const AgwFrame& frame) { return frame.kind == 'C' || frame.kind == 'd' || frame.kind == 'D'; }

// Lets a socket go: no more signals, what was written still goes out, then it is deleted.
void Discard(QTcpSocket* socket) {
  socket->disconnect();
  QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}

// The one connection to the engine, with what it has received and not yet handed out.
class EngineConnection {
 public:
  bool Start(const QByteArray& ownCall) {
    Close();
    auto* socket = new QTcpSocket(QCoreApplication::instance());
    socket->connectToHost(AgwEngineHost(), static_cast<quint16>(AgwEnginePort()));
    if (!socket->waitForConnected(ConnectWaitMilliseconds)) {
      qCWarning(lcPlatform) << "The AGW engine at" << AgwEngineHost() << AgwEnginePort()
                            << "cannot be reached:" << socket->errorString();
      delete socket;
      return false;
    }
    socket_ = socket;
    ownCall_ = ownCall;
    QObject::connect(socket, &QIODevice::readyRead, socket, [this] { Receive(); });
    QObject::connect(socket, &QAbstractSocket::disconnected, socket, [this] { EngineGone(); });
    QObject::connect(socket, &QAbstractSocket::errorOccurred, socket, [this] { EngineGone(); });
    Send({.kind = 'X', .callFrom = ownCall_});
    Send({.kind = 'm', .callFrom = ownCall_});
    return true;
  }

  bool Connected() const { return socket_ != nullptr; }

  void Send(const AgwFrame& frame) {
    socket_->write(EncodeAgwFrame(frame));
    socket_->flush();
  }

  const QByteArray& OwnCall() const { return ownCall_; }

  std::optional<AgwFrame> Take() {
    if (waiting_.empty()) return std::nullopt;
    AgwFrame frame = std::move(waiting_.front());
    waiting_.pop_front();
    return frame;
  }

  void Close() {
    if (socket_) Discard(socket_);
    socket_ = nullptr;
    reader_ = AgwFrameReader();
    waiting_.clear();
    fault_.reset();
  }

  const std::optional<AgwEngineFault>& Fault() const { return fault_; }

 private:
  void Receive() {
    reader_.Append(socket_->readAll());
    while (std::optional<AgwFrame> frame = reader_.Next()) Keep(std::move(*frame));
    if (!reader_.Fault().isEmpty()) End({true, QStringLiteral("The AGW engine sent a bad frame: ") + reader_.Fault()});
  }

  void Keep(AgwFrame frame) {
    if (frame.kind == 'X') {
      if (frame.data.isEmpty() || frame.data.at(0) == '\0') {
        qCWarning(lcPlatform) << "The AGW engine refused to register" << ownCall_;
      }
      return;
    }
    if (waiting_.size() >= MostFramesWaiting) DropOne();
    waiting_.push_back(std::move(frame));
  }

  void DropOne() {
    const auto monitored = std::find_if_not(waiting_.begin(), waiting_.end(), AboutConnectedStation);
    waiting_.erase(monitored != waiting_.end() ? monitored : waiting_.begin());
    qCDebug(lcPlatform) << "AGW engine frames come faster than they are taken; the oldest was dropped";
  }

  void EngineGone() {
    if (!socket_) return;
    Receive();  // what came before the end still counts
    if (!socket_) return;
    if (reader_.WithinFrame()) {
      End({true, QStringLiteral("The AGW engine sent a bad frame: the connection closed within a frame")});
    } else {
      End({false, QStringLiteral("The AGW engine closed the connection: ") + socket_->errorString()});
    }
  }

  void End(const AgwEngineFault& fault) {
    qCWarning(lcPlatform) << fault.description;
    fault_ = fault;
    Discard(socket_);
    socket_ = nullptr;
  }

  QPointer<QTcpSocket> socket_;
  QByteArray ownCall_;
  AgwFrameReader reader_;
  std::deque<AgwFrame> waiting_;
  std::optional<AgwEngineFault> fault_;
};

EngineConnection& Engine() {
  static EngineConnection engine;
  return engine;
}

// A test that leaves the connection open does not hand it to the next.
const ResetAtModuleReset engineReset{[] { Engine().Close(); }};

QByteArray Latin1Start(const QString& text, std::int32_t length) {
  return text.left(std::max<std::int32_t>(length, 0)).toLatin1();
}

}  // namespace

QString AgwEngineHost() {
  const QString host = Environ(QStringLiteral("CORVANE_AGW_HOST")).trimmed();
  return host.isEmpty() ? QStringLiteral("127.0.0.1") : host;
}

int AgwEnginePort() {
  const QString setting = Environ(QStringLiteral("CORVANE_AGW_PORT")).trimmed();
  if (setting.isEmpty()) return DefaultEnginePort;
  bool isNumber = false;
  const int port = setting.toInt(&isNumber);
  if (isNumber && port > 0 && port <= HighestPort) return port;
  qCWarning(lcPlatform) << "CORVANE_AGW_PORT" << setting << "is no port number; the AGW engine port is"
                        << DefaultEnginePort;
  return DefaultEnginePort;
}

std::int16_t AGWStartPoll(const QString& callsign, const QString& /*applicationName*/, std::int32_t callsignLength,
                          std::int32_t /*applicationNameLength*/) {
  return Engine().Start(Latin1Start(callsign, callsignLength)) ? 1 : 0;
}

std::int16_t AGWGetData(QString& station, QString& data, std::int32_t& kind, std::int32_t& dataLength,
                        std::int32_t& port) {
  std::optional<AgwFrame> frame = Engine().Take();
  if (!frame) return 0;
  if (frame->data.endsWith('\0')) frame->data.chop(1);
  station = QString::fromLatin1(frame->callFrom);
  data = QString::fromLatin1(frame->data);
  kind = frame->kind == 'C' ? 'c' : frame->kind;
  dataLength = static_cast<std::int32_t>(data.size());
  port = frame->port;
  return 1;
}

std::int16_t AGWPutData(const QString& callTo, const QString& data, std::int32_t kind, std::int32_t dataLength,
                        std::int32_t /*reserved*/) {
  EngineConnection& engine = Engine();
  if (!engine.Connected()) return 0;
  AgwFrame frame{.callFrom = engine.OwnCall(), .callTo = callTo.toLatin1()};
  switch (kind) {
    case 'c':
      frame.kind = 'C';
      break;
    case 'P':
      return 1;
    case 'd':
      frame.kind = 'd';
      break;
    case 'D':
      frame.kind = 'D';
      frame.pid = TextPid;
      frame.data = Latin1Start(data, dataLength);
      if (frame.data.size() > static_cast<qsizetype>(AgwLargestData)) return 0;
      break;
    default:
      return 0;
  }
  engine.Send(frame);
  return 1;
}

std::int16_t AGWClose() {
  Engine().Close();
  return 1;
}

std::optional<AgwEngineFault> AgwEngineEnded() { return Engine().Fault(); }

}  // namespace platform
