// What the caller's thread, the writer and the reader share, and the library that holds it.
// The state lasts while the library is loaded: a new connection keeps the settings an earlier one
// sent, but nothing it held back or was given to send.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "rings.h"
#include "serialport.h"
#include "tapplink.h"

namespace tapplink {

// Positions in the requested and sent settings, also the byte order of the defaults block.
enum SettingIndex : int {
  kModeRegister = 0,
  kSpeed = 1,
  kSidetone = 2,
  kWeight = 3,
  kPttLeadIn = 4,
  kPttTail = 5,
  kPotMinimum = 6,
  kPotRange = 7,
  kFirstExtension = 8,
  kKeyCompensation = 9,
  kFarnsworth = 10,
  kKeySample = 11,
  kDitDahRatio = 12,
  kPinConfiguration = 13,
  kPotThird = 14,
};
inline constexpr int kSettingCount = 15;
using Settings = std::array<std::uint8_t, kSettingCount>;

// One-shot requests; the writer clears each when it acts on it.
struct Requests {
  bool clear = false;
  bool breakIn = false;  // raised by the reader
  bool readPot = false;
  bool dumpState = false;
  bool dumpDebug = false;
  bool paddleAnalog = false;
  bool potAnalog = false;
  bool defaults = false;
  bool hscw = false;
  bool close = false;
  int backspaces = 0;  // counted, so quick presses each take back a byte
};

// Guarded by KeyerState::mutex.
struct SharedValues {
  bool open = false;
  bool wake = false;  // the writer's wake-up, consumed when it wakes
  int portFailure = 0;  // the system's reason the port failed for (errno), until the next open
  bool writerHeldForTesting = false;
  unsigned writerTimeoutsForTesting = 0;
  Settings requested{};
  Settings sent{};
  int keyRequested = 0;
  int keySent = 0;
  int pauseRequested = 0;
  int pauseSent = 0;
  std::uint8_t directKeyRequested = 0;
  std::uint8_t directKeySent = 0;
  std::uint8_t hscwValue = 0;
  Requests requests;
  TransmitRing transmit;
  EchoRing echoes;
};

struct KeyerState {
  std::mutex mutex;
  std::condition_variable writerWake;
  SharedValues shared;
  // Polled by the caller without the lock.
  std::atomic<std::uint8_t> lastStatus{0};
  std::atomic<std::uint8_t> lastPotSpeed{0};
  std::atomic<std::uint8_t> lastEcho{0};
  std::atomic<tp_callback> callback{nullptr};
  std::atomic<bool> readerRunning{false};

  // Flags a wake-up for the writer; the caller holds the lock.
  void WakeWriter() {
    shared.wake = true;
    writerWake.notify_all();
  }
};

struct Library {
  Library() = default;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  // Unloading the library or ending the process ends an open connection first.
  ~Library();

  std::mutex lifecycle;  // one open, close or power change at a time
  KeyerState state;
  SerialPort port;
  std::thread writer;
  std::thread reader;
};

Library& TheLibrary();

// Ends an open connection: the writer sends what was flagged and 00 03, stops the reader, drops
// DTR and closes the port, and is joined. A connection that a port failure ended is only joined.
// The caller holds the lifecycle lock.
void EndConnection(Library& library);

// -9 for an export that needs an open connection, with errno at the port failure that ended the
// last one, if one did. The caller holds the lock.
int NotOpen(const SharedValues& s);

// The writer ends the connection: on the close command, or on a port failure that it or the reader
// met. It stops and joins the reader, then closes the port.
void WriterThread(Library& library);
// Ends at once on a port failure, which it leaves for the writer.
void ReaderThread(Library& library);
void StopReader(Library& library);
// Sorts one byte from the device into status, speed pot or echo.
void ReceiveByte(KeyerState& state, std::uint8_t byte);

// Test seams: keep the writer from acting on anything until released, count the writer's
// time-outs (each one a chance to send a queued byte), and put a closed library back to its
// state at load.
void HoldWriterForTesting(bool hold);
unsigned WriterTimeoutsForTesting();
void ResetForTesting();

}  // namespace tapplink
