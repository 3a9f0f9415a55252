#include "platform/serialcontrol.h"

#include "keyerlib/serialportpath.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/errors.h"
#include "platform/modulevalues.h"

#include <QSerialPort>
#include <QSet>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>

namespace platform {

namespace {

// What a port holds of received bytes that nobody has taken yet; beyond it the bytes wait in
// the device (and its flow control) instead of growing the program without bound.
constexpr qint64 kInputBufferSize = 64 * 1024;

constexpr cc_t kXon = 0x11;
constexpr cc_t kXoff = 0x13;

struct LineSettings {
  qint32 baud = 0;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

std::optional<LineSettings> ParseSettings(const QString& text) {
  const QStringList fields = text.split(QLatin1Char(','));
  if (fields.size() != 4) return std::nullopt;
  LineSettings line;
  bool numeric = false;
  line.baud = fields[0].toInt(&numeric);
  const bool digitsOnly = !fields[0].isEmpty() && std::all_of(fields[0].begin(), fields[0].end(),
                                                              [](QChar c) { return c.isDigit(); });
  if (!numeric || !digitsOnly || line.baud < 1) return std::nullopt;

  const QString parity = fields[1].toUpper();
  if (parity == QLatin1String("N")) {
    line.parity = QSerialPort::NoParity;
  } else if (parity == QLatin1String("E")) {
    line.parity = QSerialPort::EvenParity;
  } else if (parity == QLatin1String("O")) {
    line.parity = QSerialPort::OddParity;
  } else {
    return std::nullopt;
  }

  if (fields[2] == QLatin1String("7")) {
    line.dataBits = QSerialPort::Data7;
  } else if (fields[2] == QLatin1String("8")) {
    line.dataBits = QSerialPort::Data8;
  } else {
    return std::nullopt;
  }

  if (fields[3] == QLatin1String("1")) {
    line.stopBits = QSerialPort::OneStop;
  } else if (fields[3] == QLatin1String("2")) {
    line.stopBits = QSerialPort::TwoStop;
  } else {
    return std::nullopt;
  }
  return line;
}

[[noreturn]] void CommError(int number) {
  QString description;
  switch (number) {
    case CommErrorInvalidPort:
      description = QStringLiteral("Invalid port number");
      break;
    case CommErrorPortAlreadyOpen:
      description = QStringLiteral("Port already open");
      break;
    case CommErrorSetCommState:
      description = QStringLiteral("Could not set comm state");
      break;
    case CommErrorPortNotOpen:
    default:
      description = QStringLiteral("Operation valid only when the port is open");
      break;
  }
  throw RuntimeError(description, number);
}

// Whether the user may not read and write the device, its mode or group shutting them out: for
// Qt that is the same refusal as a device another program holds.
bool MayNotOpen(const std::string& device) {
  return faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

QString ForbiddenDeviceText(int port, const QString& device) {
  return QStringLiteral("You may not open %1, the device of serial port %2. Add your user to the group dialout "
                        "(sudo adduser $USER dialout, then log in again), or name a device you may open in "
                        "CORVANE_PORT%2.")
      .arg(device)
      .arg(port);
}

QSet<QString> forbiddenDevicesTold;
const ResetAtModuleReset forgetForbiddenDevicesTold{[] { forbiddenDevicesTold.clear(); }};

// The operator is told in a box of its own, once a session for each device, before the window's
// own message; the error keeps the number the program's handlers expect of a refused opening.
[[noreturn]] void RefuseForbiddenDevice(int port, const std::string& device) {
  const QString path = QString::fromStdString(device);
  const QString text = ForbiddenDeviceText(port, path);
  if (!forbiddenDevicesTold.contains(path)) {
    forbiddenDevicesTold.insert(path);
    MsgBox(text, MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, QStringLiteral("Serial Port Not Permitted"));
  }
  throw RuntimeError(text, CommErrorPortAlreadyOpen);
}

// Unix 98 pseudo-terminal slaves: what tests use as a serial line.
bool IsPseudoTerminal(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) && major(status.st_rdev) >= 136 &&
         major(status.st_rdev) <= 143;
}

// Why a device failed, as the system says it. A line that hung up reads as the end of a file,
// which leaves no reason behind: writing nothing to it then fails with the reason (EIO).
QString SystemReason(const QSerialPort& device) {
  if (write(device.handle(), "", 0) < 0) return qt_error_string(errno);
  return device.errorString();
}

int ClampedCount(qint64 count) {
  return static_cast<int>(std::min<qint64>(count, std::numeric_limits<int>::max()));
}

std::weak_ptr<std::vector<RecordedSerialLines::Level>> activeRecording;

void Record(int port, RecordedSerialLines::Line line, bool raised) {
  if (auto levels = activeRecording.lock()) levels->push_back({port, line, raised, std::chrono::steady_clock::now()});
}

std::weak_ptr<RecordedSerialWrites::State> activeWriteRecording;

// The ports open now, for the program's end. Kept for the whole run and never destroyed, so that
// an end from anywhere (an exit() deep in a library among them) still finds it.
std::vector<SerialControl*>& OpenPorts() {
  static auto& ports = *new std::vector<SerialControl*>;
  return ports;
}

// Notes a write that goes out; throws instead for one the recording makes fail.
void NoteWrite(int port, const QByteArray& bytes) {
  const auto state = activeWriteRecording.lock();
  if (!state) return;
  for (const auto& [failing, description] : state->failures) {
    if (bytes == failing) throw RuntimeError(description);
  }
  state->writes.push_back({port, bytes, Now()});
}

}  // namespace

SerialControl::SerialControl() = default;

SerialControl::~SerialControl() { Close(); }

void SerialControl::SetCommPort(int port) {
  if (port < 1) CommError(CommErrorInvalidPort);
  if (PortOpen()) CommError(CommErrorPortAlreadyOpen);
  commPort_ = port;
}

void SerialControl::SetSettings(const QString& settings) {
  if (!ParseSettings(settings)) InvalidPropertyValue();
  if (PortOpen()) ApplySettings(settings);
  settings_ = settings;
}

void SerialControl::SetHandshaking(int handshaking) {
  if (handshaking < 0 || handshaking > 3) InvalidPropertyValue();
  if (PortOpen()) ApplyHandshaking(handshaking);
  handshaking_ = handshaking;
  ApplyLines();
}

void SerialControl::SetDTREnable(bool enabled) {
  dtrEnable_ = enabled;
  ApplyDtr();
}

void SerialControl::SetRTSEnable(bool enabled) {
  rtsEnable_ = enabled;
  ApplyRts();
}

bool SerialControl::PortOpen() const { return port_ && port_->isOpen(); }

void SerialControl::SetPortOpen(bool open) {
  if (open) {
    Open();
  } else {
    Close();
  }
}

void SerialControl::SetInputLen(int length) {
  if (length < 0) InvalidPropertyValue();
  inputLen_ = length;
}

int SerialControl::InBufferCount() {
  TakeArrived();
  return PortOpen() ? ClampedCount(port_->bytesAvailable()) : 0;
}

QString SerialControl::Input() {
  RequireOpen();
  TakeArrived();
  RequireOpen();
  return QString::fromLatin1(inputLen_ > 0 ? port_->read(inputLen_) : port_->readAll());
}

void SerialControl::SetOutput(const QString& text) {
  RequireOpen();
  const QByteArray bytes = text.toLatin1();
  NoteWrite(commPort_, bytes);
  port_->write(bytes);
  FlushWhatTheDeviceTakes();
  RequireOpen();
}

int SerialControl::OutBufferCount() {
  if (!PortOpen()) return 0;
  FlushWhatTheDeviceTakes();
  if (!PortOpen()) return 0;
  int inDevice = 0;
  if (ioctl(port_->handle(), TIOCOUTQ, &inDevice) != 0) inDevice = 0;
  return ClampedCount(port_->bytesToWrite() + inDevice);
}

SerialControl::FlowControl SerialControl::FlowControlForTesting() const {
  termios tio{};
  if (!PortOpen() || tcgetattr(port_->handle(), &tio) != 0) return {};
  return {(tio.c_cflag & CRTSCTS) != 0, (tio.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF)};
}

void SerialControl::Open() {
  if (PortOpen()) CommError(CommErrorPortAlreadyOpen);
  deviceFailure_.clear();
  const std::string path = tapplink::SerialPortPath(commPort_);
  auto port = std::make_unique<QSerialPort>(QString::fromStdString(path));
  port->setReadBufferSize(kInputBufferSize);
  // A device that fails to read or write has gone: closing it keeps its notifier from firing on.
  QSerialPort* device = port.get();
  QObject::connect(device, &QSerialPort::errorOccurred, device, [this, device](QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError || error == QSerialPort::ResourceError) {
      LoseDevice(*device);
    }
  });
  if (!port->open(QIODevice::ReadWrite)) {
    if (port->error() != QSerialPort::PermissionError) CommError(CommErrorInvalidPort);
    if (MayNotOpen(path)) RefuseForbiddenDevice(commPort_, path);
    CommError(CommErrorPortAlreadyOpen);
  }
  // The keyer library holds its device the same way, so neither takes a port the other has.
  // Only once the port is ours may its lines change: the other holder may be keying them.
  if (flock(port->handle(), LOCK_EX | LOCK_NB) != 0) CommError(CommErrorPortAlreadyOpen);
  port_ = std::move(port);
  try {
    // Linux raises DTR and RTS at every opening, and a keying line wired to one keys the
    // transmitter: put them as asked at once.
    ApplyLines();
    ApplySettings(settings_);
    ApplyHandshaking(handshaking_);
  } catch (const RuntimeError&) {
    Close();
    throw;
  }
  NoteOpen();
}

void SerialControl::NoteOpen() {
  OpenPorts().push_back(this);
  detail::NoteLineDevice(port_->handle(), detail::LineDevice::Serial);
}

void SerialControl::Close() {
  deviceFailure_.clear();
  if (!port_) return;
  if (port_->isOpen()) detail::ForgetLineDevice(port_->handle());
  std::erase(OpenPorts(), this);
  port_.reset();
}

void SerialControl::LoseDevice(QSerialPort& device) {
  if (!device.isOpen()) return;
  deviceFailure_ = QStringLiteral("%1, the device of serial port %2, failed: %3")
                       .arg(QString::fromStdString(tapplink::SerialPortPath(commPort_)))
                       .arg(commPort_)
                       .arg(SystemReason(device));
  detail::ForgetLineDevice(device.handle());
  device.close();
}

void SerialControl::CloseEveryPort() {
  for (SerialControl* port : std::vector<SerialControl*>(OpenPorts())) {
    port->dtrEnable_ = false;
    port->rtsEnable_ = false;
    try {
      port->ApplyLines();
    } catch (const RuntimeError&) {
      // The device has gone: closing it is all that is left.
    }
    port->Close();
  }
}

void SerialControl::RequireOpen() const {
  if (!PortOpen()) CommError(CommErrorPortNotOpen);
}

void SerialControl::ApplySettings(const QString& settings) {
  const LineSettings line = *ParseSettings(settings);
  const bool framed = port_->setParity(line.parity) && port_->setDataBits(line.dataBits);
  if (!port_->setBaudRate(line.baud) || !port_->setStopBits(line.stopBits) ||
      (!framed && !IsPseudoTerminal(port_->handle()))) {
    CommError(CommErrorSetCommState);
  }
}

void SerialControl::ApplyHandshaking(int handshaking) {
  const bool rtsCts = handshaking >= 2;
  const bool xonXoff = handshaking % 2 == 1;
  if (!port_->setFlowControl(rtsCts ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl)) {
    CommError(CommErrorSetCommState);
  }
  // Qt offers XON/XOFF only without RTS/CTS, and lets any byte restart the output: set it here.
  termios tio{};
  if (tcgetattr(port_->handle(), &tio) != 0) CommError(CommErrorSetCommState);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (xonXoff) tio.c_iflag |= IXON | IXOFF;
  tio.c_cc[VSTART] = kXon;
  tio.c_cc[VSTOP] = kXoff;
  if (tcsetattr(port_->handle(), TCSANOW, &tio) != 0) CommError(CommErrorSetCommState);
}

void SerialControl::ApplyLines() {
  ApplyDtr();
  ApplyRts();
}

// A line without modem control (a pseudo-terminal) refuses; that is no fault.
void SerialControl::ApplyDtr() {
  if (!PortOpen()) return;
  port_->setDataTerminalReady(dtrEnable_);
  RequireOpen();
  Record(commPort_, RecordedSerialLines::Line::Dtr, dtrEnable_);
}

// Under RTS/CTS handshaking the driver moves RTS itself.
void SerialControl::ApplyRts() {
  if (!PortOpen() || handshaking_ >= 2) return;
  port_->setRequestToSend(rtsEnable_);
  RequireOpen();
  Record(commPort_, RecordedSerialLines::Line::Rts, rtsEnable_);
}

// As much as the device takes now; the rest goes from the event loop when it has room. A device
// without room (full, or held by XOFF) is not written to at all: Qt reports its refusal as a write
// error, which would close the port.
void SerialControl::FlushWhatTheDeviceTakes() {
  pollfd writable{port_->handle(), POLLOUT, 0};
  if (poll(&writable, 1, 0) == 1 && (writable.revents & POLLOUT) != 0) port_->flush();
}

void SerialControl::TakeArrived() {
  if (PortOpen()) port_->waitForReadyRead(0);
}

RecordedSerialLines::RecordedSerialLines() : levels_(std::make_shared<std::vector<Level>>()) {
  activeRecording = levels_;
}

RecordedSerialLines::~RecordedSerialLines() { activeRecording.reset(); }

RecordedSerialWrites::RecordedSerialWrites() : state_(std::make_shared<State>()) { activeWriteRecording = state_; }

RecordedSerialWrites::~RecordedSerialWrites() { activeWriteRecording.reset(); }

void RecordedSerialWrites::FailWrite(const QByteArray& bytes, const QString& description) {
  state_->failures.emplace_back(bytes, description);
}

}  // namespace platform
