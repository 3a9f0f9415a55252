#include "platform/printerport.h"

#include "platform/endprogram.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/trace.h"

#include <QFile>

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

namespace platform {

namespace {

constexpr int DeviceMissing = 53;      // "File not found"
constexpr int DeviceUnavailable = 75;  // "Path/File access error"

std::weak_ptr<std::vector<RecordedPrinterPort::Write>> activeRecording;

QString Hex(std::int32_t value) { return QString::number(value, 16).toUpper(); }

[[noreturn]] void Fail(const QString& device, const QString& what, int number = DeviceUnavailable) {
  throw RuntimeError(QStringLiteral("Printer port %1 %2").arg(device, what), number);
}

QString Cause(int error) { return QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error)); }

// The printer ports written to so far, open and claimed, by device.
class OpenPrinterPorts {
 public:
  OpenPrinterPorts() = default;
  OpenPrinterPorts(const OpenPrinterPorts&) = delete;
  OpenPrinterPorts& operator=(const OpenPrinterPorts&) = delete;

  int Claimed(const QString& device) {
    const auto found = handles_.find(device);
    if (found != handles_.end()) return found->second;
    const int handle = Open(device);
    handles_.emplace(device, handle);
    return handle;
  }

  void Forget(const QString& device) {
    const auto found = handles_.find(device);
    if (found == handles_.end()) return;
    Release(found->second);
    handles_.erase(found);
  }

  void ForgetAll() {
    for (const auto& [device, handle] : handles_) Release(handle);
    handles_.clear();
  }

 private:
  static int Open(const QString& device) {
    const int handle = ::open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (handle < 0) {
      const int error = errno;
      const bool missing = error == ENOENT || error == ENODEV || error == ENXIO;
      Fail(device, QStringLiteral("cannot be opened") + Cause(error), missing ? DeviceMissing : DeviceUnavailable);
    }
    struct stat status {};
    if (fstat(handle, &status) != 0 || !S_ISCHR(status.st_mode)) {
      ::close(handle);
      Fail(device, QStringLiteral("is no device file"));
    }
    // Claiming waits while another holder has the port: the lock turns another copy of the
    // program away first, instead of freezing this one.
    if (flock(handle, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(handle);
      Fail(device, QStringLiteral("is in use by another program") + Cause(error));
    }
    if (ioctl(handle, PPCLAIM) != 0) {
      const int error = errno;
      ::close(handle);
      Fail(device, QStringLiteral("is no printer port") + Cause(error));
    }
    detail::NoteLineDevice(handle, detail::LineDevice::PrinterPort);
    return handle;
  }

  static void Release(int handle) {
    detail::ForgetLineDevice(handle);
    ioctl(handle, PPRELEASE);
    ::close(handle);
  }

  std::map<QString, int> handles_;
};

// Both are kept for the whole run and never destroyed, so that an end from anywhere (an exit()
// deep in a library among them) still finds them.
OpenPrinterPorts& Ports() {
  static auto& ports = *new OpenPrinterPorts;
  return ports;
}

// The control registers written to, to be left idle at the program's end.
std::set<std::int32_t>& RegistersWritten() {
  static auto& registers = *new std::set<std::int32_t>;
  return registers;
}

}  // namespace

QString PrinterPortSetting(std::int32_t baseAddress) { return QStringLiteral("CORVANE_PARPORT_") + Hex(baseAddress); }

std::optional<QString> PrinterPortDevice(std::int32_t baseAddress) {
  if (baseAddress < 0) return std::nullopt;
  const QString setting = Environ(PrinterPortSetting(baseAddress));
  if (!setting.isEmpty()) return setting;
  switch (baseAddress) {
    case 0x378:
      return QStringLiteral("/dev/parport0");
    case 0x278:
      return QStringLiteral("/dev/parport1");
    case 0x3BC:
      return QStringLiteral("/dev/parport2");
    default:
      return std::nullopt;
  }
}

void Out32(std::int32_t address, std::int32_t value) {
  if (const auto recording = activeRecording.lock()) {
    recording->push_back({address, value});
    RegistersWritten().insert(address);
    return;
  }
  const std::int32_t base = address - PrinterControlOffset;
  const std::optional<QString> device = PrinterPortDevice(base);
  if (!device) {
    throw RuntimeError(QStringLiteral("No printer port has its control register at &H%1 (base &H%2): "
                                      "set %3 to its device, such as /dev/parport0")
                           .arg(Hex(address), Hex(base), PrinterPortSetting(base)),
                       DeviceMissing);
  }
  const int handle = Ports().Claimed(*device);
  auto control = static_cast<unsigned char>(value);
  if (ioctl(handle, PPWCONTROL, &control) != 0) {
    const int error = errno;
    Ports().Forget(*device);
    Fail(*device, QStringLiteral("refused the write") + Cause(error));
  }
  RegistersWritten().insert(address);
}

void ReleasePrinterPorts() {
  // Out32 notes each register again as it writes it idle: the set is emptied once they are all written.
  const std::set<std::int32_t> registers = RegistersWritten();
  for (const std::int32_t address : registers) {
    try {
      Out32(address, PrinterControlIdle);
    } catch (const RuntimeError& error) {
      TraceError(lcPlatform, error);
    }
  }
  RegistersWritten().clear();
  Ports().ForgetAll();
}

// A recording's registers are no device's: they are forgotten as it starts and ends.
RecordedPrinterPort::RecordedPrinterPort() : writes_(std::make_shared<std::vector<Write>>()) {
  activeRecording = writes_;
  RegistersWritten().clear();
}

RecordedPrinterPort::~RecordedPrinterPort() {
  activeRecording.reset();
  RegistersWritten().clear();
}

}  // namespace platform
