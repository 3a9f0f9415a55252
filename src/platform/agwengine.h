#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// The AGW packet engine's client calls as the spotting window makes them, over the engine's TCP
// interface (agwframe.h): one connection to $CORVANE_AGW_HOST (default 127.0.0.1) on port
// $CORVANE_AGW_PORT (default 8000). Texts travel as Latin-1, one byte per character. GUI thread
// only: the connection receives from the event loop into a queue that AGWGetData empties.

// Where the engine is reached: $CORVANE_AGW_HOST (default 127.0.0.1) and $CORVANE_AGW_PORT
// (default 8000), read at each call.
QString AgwEngineHost();
int AgwEnginePort();

// Connects, waiting at most two seconds (the window waits meanwhile), registers the own call
// (the first `callsignLength` characters of `callsign`) and turns monitoring on, once per
// connection. A connection still open is closed first. Returns 0 when the engine cannot be
// reached, 1 otherwise. The application name has no place on the wire and goes nowhere.
std::int16_t AGWStartPoll(const QString& callsign, const QString& applicationName, std::int32_t callsignLength,
                          std::int32_t applicationNameLength);

// Takes the oldest frame received: `station` is its CallFrom (up to its NUL, at most 10
// characters), `data` its data without the NUL the engine ends text with, `dataLength` the length
// of `data` and `port` the engine's radio port it came on. `kind` is its kind as a character code,
// except that the engine's connect notice 'C' is handed on as 'c' (99). Returns 0, changing
// nothing, when no frame waits. The engine's answers to this client's own requests (the
// registration) are never handed on. At most 256 frames wait: past that the oldest monitored
// frame goes (the oldest of any kind when all are about the connected station: 'C', 'd', 'D').
std::int16_t AGWGetData(QString& station, QString& data, std::int32_t& kind, std::int32_t& dataLength,
                        std::int32_t& port);

// Sends to `callTo`, from the registered own call, on the engine's first radio port: kind 'c'
// (99) as the connect request 'C', 'd' as the disconnect request, 'D' as data with PID F0 (the
// first `dataLength` characters of `data`). 'P' is taken and nothing is sent (on the engine's TCP
// interface a 'P' is a login). Returns 1 when sent or taken; 0 without a connection, for any other
// kind and for data beyond 64 KiB.
std::int16_t AGWPutData(const QString& callTo, const QString& data, std::int32_t kind, std::int32_t dataLength,
                        std::int32_t reserved);

// Ends the connection (what was sent still goes out) and forgets the frames waiting and any fault.
std::int16_t AGWClose();

// Why the connection ended by itself: the engine sent a bad frame (a kind that is no letter, a
// length beyond 64 KiB, a connection closed within a frame), or it went away. The connection is
// closed by then; frames that came before still wait for AGWGetData. Nothing while the connection
// is up, before the first AGWStartPoll and after AGWClose. The spotting window reads it at each
// receive tick.
struct AgwEngineFault {
  bool badFrame = false;  // false: the engine went away
  QString description;
};
std::optional<AgwEngineFault> AgwEngineEnded();

}  // namespace platform
