// Opening and closing the connection to the keyer device, and powering it by DTR alone.
#include <array>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <system_error>

#include "keyerclock.h"
#include "keyerstate.h"
#include "serialportpath.h"

namespace tapplink {
namespace {

constexpr Milliseconds kDeviceSettleTime{500};
constexpr Milliseconds kConnectionReadTimeout{10};
constexpr std::uint8_t kEchoTestByte = 0x55;

bool IsOpen(KeyerState& state) {
  std::lock_guard lock(state.mutex);
  return state.shared.open;
}

void Send(SerialPort& port, std::initializer_list<std::uint8_t> bytes) {
  port.SerialWrite(bytes.begin(), bytes.size(), DeadlineAfter(kWriteDeadline));
}

// The opening handshake: the device must echo the test byte and answer host open with its
// version.
int CheckDevice(SerialPort& port, std::uint8_t& version) {
  Sleep(kDeviceSettleTime);
  std::array<std::uint8_t, 8> stale{};
  port.SerialRead(stale.data(), stale.size());  // whatever the device sent before we came
  Send(port, {0x00, 0x01});
  Sleep(kDeviceSettleTime);
  Send(port, {0x00, 0x04, kEchoTestByte});
  std::uint8_t echo = 0;
  if (port.SerialRead(&echo, 1) != 0) return TP_NO_ECHO;
  if (echo != kEchoTestByte) return TP_ECHO_MISMATCH;
  Send(port, {0x00, 0x02});
  if (port.SerialRead(&version, 1) != 0) return TP_NO_VERSION;
  return TP_OK;
}

// Each connection starts as the first did, whatever the last one left: no text held back until
// the device asks for it, nothing queued, no request pending and no port failure. The settings
// sent, and the speed-pot reading, stay.
void ForgetLastConnection(KeyerState& state) {
  std::lock_guard lock(state.mutex);
  SharedValues& s = state.shared;
  s.transmit.Empty();
  s.echoes = EchoRing{};
  s.requests = Requests{};
  s.wake = false;
  s.portFailure = 0;
  state.lastStatus.store(0);
}

bool StartThreads(Library& library) {
  KeyerState& state = library.state;
  {
    std::lock_guard lock(state.mutex);
    state.shared.open = true;
  }
  state.readerRunning.store(true);
  try {
    library.reader = std::thread(ReaderThread, std::ref(library));  // first: the writer joins it
    library.writer = std::thread(WriterThread, std::ref(library));
  } catch (const std::system_error&) {
    StopReader(library);
    {
      std::lock_guard lock(state.mutex);
      state.shared.open = false;
    }
    library.port.Close();
    return false;
  }
  return true;
}

}  // namespace

Library::~Library() {
  std::lock_guard lock(lifecycle);
  EndConnection(*this);
  port.Close();
}

Library& TheLibrary() {
  static Library library;
  return library;
}

void EndConnection(Library& library) {
  KeyerState& state = library.state;
  {
    std::lock_guard lock(state.mutex);
    if (state.shared.open) {
      state.shared.open = false;
      state.shared.requests.close = true;
      state.WakeWriter();
    }
  }
  if (library.writer.joinable()) library.writer.join();
}

void StopReader(Library& library) {
  library.state.readerRunning.store(false);
  if (library.reader.joinable()) library.reader.join();  // after its current read
}

int NotOpen(const SharedValues& s) {
  if (s.portFailure != 0) errno = s.portFailure;
  return TP_NOT_OPEN;
}

void HoldWriterForTesting(bool hold) {
  KeyerState& state = TheLibrary().state;
  std::lock_guard lock(state.mutex);
  state.shared.writerHeldForTesting = hold;
  state.writerWake.notify_all();
}

unsigned WriterTimeoutsForTesting() {
  KeyerState& state = TheLibrary().state;
  std::lock_guard lock(state.mutex);
  return state.shared.writerTimeoutsForTesting;
}

void ResetForTesting() {
  KeyerState& state = TheLibrary().state;
  std::lock_guard lock(state.mutex);
  state.shared = SharedValues{};
  state.lastStatus.store(0);
  state.lastPotSpeed.store(0);
  state.lastEcho.store(0);
  state.callback.store(nullptr);
}

}  // namespace tapplink

using namespace tapplink;

extern "C" {

TAPPLINK_EXPORT int32_t tp_open(uint8_t* version, int32_t port) {
  Library& library = TheLibrary();
  std::lock_guard lifecycle(library.lifecycle);
  if (IsOpen(library.state)) return TP_ALREADY_OPEN;
  EndConnection(library);  // the threads of one that a port failure ended
  ForgetLastConnection(library.state);
  const int opened = library.port.SerialOpen(SerialPortPath(port & 0xFF));
  if (opened != TP_OK) return opened;
  std::uint8_t deviceVersion = 0;
  if (const int checked = CheckDevice(library.port, deviceVersion); checked != TP_OK) {
    library.port.Close();
    return checked;
  }
  library.port.SetReadTimeout(kConnectionReadTimeout);
  if (!StartThreads(library)) return TP_PORT_OPEN_FAILED;
  if (version != nullptr) *version = deviceVersion;
  return TP_OK;
}

TAPPLINK_EXPORT int32_t tp_close(void) {
  Library& library = TheLibrary();
  std::lock_guard lifecycle(library.lifecycle);
  const bool open = IsOpen(library.state);
  EndConnection(library);
  if (open) return TP_OK;
  std::lock_guard lock(library.state.mutex);
  return NotOpen(library.state.shared);
}

TAPPLINK_EXPORT int32_t tp_power(int32_t port, int32_t on) {
  Library& library = TheLibrary();
  std::lock_guard lifecycle(library.lifecycle);
  if ((on & 0xFF) != 0) {
    if (IsOpen(library.state)) return TP_OK;  // the connection holds the port
    EndConnection(library);
    if (library.port.IsHeld()) return TP_OK;
    return library.port.SerialOpen(SerialPortPath(port & 0xFF)) == TP_OK ? TP_OK : TP_PORT_OPEN_FAILED;
  }
  // Dropping the power ends a connection first, so no thread is left using the port.
  EndConnection(library);
  library.port.Close();
  return TP_OK;
}

TAPPLINK_EXPORT int32_t tp_set_callback(tp_callback callback) {
  TheLibrary().state.callback.store(callback);
  return TP_OK;
}

}  // extern "C"
