// The reader thread: the only thread that reads the port during a connection.
#include <cerrno>
#include <cstdint>

#include "keyerstate.h"

namespace tapplink {
namespace {

enum CallbackKind : int32_t { kStatusKind = 1, kPotKind = 2, kEchoKind = 3 };

// Called without the lock, so a callback may call the polling exports.
void Report(const KeyerState& state, int32_t kind, int32_t value) {
  if (const tp_callback callback = state.callback.load()) callback(kind, value);
}

}  // namespace

void ReceiveByte(KeyerState& state, std::uint8_t byte) {
  if (byte >= 0xC0) {
    const std::uint8_t status = byte & 0x3F;
    {
      std::lock_guard lock(state.mutex);
      // Bit 1 is the device's break-in: the writer empties the ring at its next request.
      if (status & 0x02) state.shared.requests.breakIn = true;
      state.lastStatus.store(status);
    }
    Report(state, kStatusKind, status);
  } else if (byte >= 0x80) {
    std::uint8_t speed;
    {
      std::lock_guard lock(state.mutex);
      speed = static_cast<std::uint8_t>((byte & 0x7F) + state.shared.sent[kPotMinimum]);
      state.lastPotSpeed.store(speed);
    }
    Report(state, kPotKind, speed);
  } else {
    {
      std::lock_guard lock(state.mutex);
      state.lastEcho.store(byte);
      state.shared.echoes.Store(byte);
    }
    Report(state, kEchoKind, byte);
  }
}

void ReaderThread(Library& library) {
  KeyerState& state = library.state;
  while (state.readerRunning.load()) {
    std::uint8_t byte = 0;
    const int result = library.port.SerialRead(&byte, 1);
    if (result == 0) ReceiveByte(state, byte);
    if (result == 0 || result == ETIMEDOUT) continue;
    std::lock_guard lock(state.mutex);
    if (state.shared.portFailure == 0) state.shared.portFailure = result;
    state.WakeWriter();
    return;
  }
}

}  // namespace tapplink
