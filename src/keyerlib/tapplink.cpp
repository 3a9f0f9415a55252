// The exports that run while a connection is open: they leave their request in the shared
// state for the writer, or read what the reader left there.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "keyerstate.h"

namespace tapplink {
namespace {

std::uint8_t Low(int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Runs `change` on the shared state of an open connection and returns its result; -9 when no
// connection is open.
template <typename Change>
int32_t WhileOpen(Change change) {
  KeyerState& state = TheLibrary().state;
  std::lock_guard lock(state.mutex);
  if (!state.shared.open) return NotOpen(state.shared);
  return change(state, state.shared);
}

// A request the writer acts on at once.
template <typename Change>
int32_t Request(Change change) {
  return WhileOpen([&](KeyerState& state, SharedValues& s) {
    change(s);
    state.WakeWriter();
    return TP_OK;
  });
}

int32_t RequestSettings(std::initializer_list<std::pair<SettingIndex, int32_t>> settings) {
  return Request([&](SharedValues& s) {
    for (const auto& [index, value] : settings) s.requested[index] = Low(value);
  });
}

int32_t RequestFlag(bool Requests::*flag) {
  return Request([&](SharedValues& s) { s.requests.*flag = true; });
}

// Buffered commands and text go out in stream order, drained by the writer without a wake-up.
int32_t QueueBytes(SharedValues& s, std::initializer_list<std::uint8_t> bytes) {
  return s.transmit.Queue(bytes) ? TP_OK : TP_QUEUE_FULL;
}

int32_t QueueByte(SharedValues& s, std::uint8_t byte) { return QueueBytes(s, {byte}); }

int32_t QueueCommand(std::initializer_list<std::uint8_t> bytes) {
  return WhileOpen([&](KeyerState&, SharedValues& s) { return QueueBytes(s, bytes); });
}

}  // namespace
}  // namespace tapplink

using namespace tapplink;

extern "C" {

TAPPLINK_EXPORT int32_t tp_send_defaults(const uint8_t* settings15) {
  return Request([&](SharedValues& s) {
    if (settings15 == nullptr) return;
    for (int i = 0; i < kSettingCount; ++i) s.requested[i] = s.sent[i] = settings15[i];
    s.requests.defaults = true;
  });
}

TAPPLINK_EXPORT int32_t tp_char(int32_t value) {
  return WhileOpen([&](KeyerState&, SharedValues& s) { return QueueByte(s, Low(value)); });
}

TAPPLINK_EXPORT int32_t tp_backspace(void) {
  return Request([](SharedValues& s) { ++s.requests.backspaces; });
}

TAPPLINK_EXPORT int32_t tp_clearbuf(void) { return RequestFlag(&Requests::clear); }

TAPPLINK_EXPORT int32_t tp_getstatus(void) {
  return WhileOpen([](KeyerState& state, SharedValues&) { return int32_t{state.lastStatus.load()}; });
}

TAPPLINK_EXPORT int32_t tp_getecho(void) {
  return WhileOpen([](KeyerState&, SharedValues& s) { return int32_t{s.echoes.Next()}; });
}

TAPPLINK_EXPORT int32_t tp_xoff(void) {
  return WhileOpen([](KeyerState&, SharedValues& s) { return int32_t{s.transmit.Xoff()}; });
}

// Returns the speed already received; the fresh reading answers the next call.
TAPPLINK_EXPORT int32_t tp_getpot(void) {
  return WhileOpen([](KeyerState& state, SharedValues& s) {
    s.requests.readPot = true;
    state.WakeWriter();
    return int32_t{state.lastPotSpeed.load()};
  });
}

TAPPLINK_EXPORT int32_t tp_st_freq(int32_t value) { return RequestSettings({{kSidetone, value}}); }
TAPPLINK_EXPORT int32_t tp_wpm(int32_t value) { return RequestSettings({{kSpeed, value}}); }
TAPPLINK_EXPORT int32_t tp_weight(int32_t value) { return RequestSettings({{kWeight, value}}); }
TAPPLINK_EXPORT int32_t tp_xtnd1st(int32_t value) { return RequestSettings({{kFirstExtension, value}}); }
TAPPLINK_EXPORT int32_t tp_kcomp(int32_t value) { return RequestSettings({{kKeyCompensation, value}}); }
TAPPLINK_EXPORT int32_t tp_setfarns(int32_t value) { return RequestSettings({{kFarnsworth, value}}); }
TAPPLINK_EXPORT int32_t tp_keysample(int32_t value) { return RequestSettings({{kKeySample, value}}); }
TAPPLINK_EXPORT int32_t tp_ditdah_ratio(int32_t value) { return RequestSettings({{kDitDahRatio, value}}); }
TAPPLINK_EXPORT int32_t tp_pincfg(int32_t value) { return RequestSettings({{kPinConfiguration, value}}); }
TAPPLINK_EXPORT int32_t tp_setmode(int32_t value) { return RequestSettings({{kModeRegister, value}}); }

TAPPLINK_EXPORT int32_t tp_ptt_leadtail(int32_t lead, int32_t tail) {
  return RequestSettings({{kPttLeadIn, lead}, {kPttTail, tail}});
}

TAPPLINK_EXPORT int32_t tp_setup_speedpot(int32_t minimum, int32_t range, int32_t third) {
  return RequestSettings({{kPotMinimum, minimum}, {kPotRange, range}, {kPotThird, third}});
}

TAPPLINK_EXPORT int32_t tp_key(int32_t on) {
  return Request([&](SharedValues& s) { s.keyRequested = Low(on); });
}

TAPPLINK_EXPORT int32_t tp_pause(int32_t on) {
  return Request([&](SharedValues& s) { s.pauseRequested = Low(on); });
}

TAPPLINK_EXPORT int32_t tp_directkey(int32_t value) {
  return Request([&](SharedValues& s) { s.directKeyRequested = Low(value); });
}

TAPPLINK_EXPORT int32_t tp_hscw(int32_t value) {
  return Request([&](SharedValues& s) {
    s.hscwValue = Low(value);
    s.requests.hscw = true;
  });
}

TAPPLINK_EXPORT int32_t tp_dumpstate(void) { return RequestFlag(&Requests::dumpState); }
TAPPLINK_EXPORT int32_t tp_dumpdebug(void) { return RequestFlag(&Requests::dumpDebug); }
TAPPLINK_EXPORT int32_t tp_get_pdl_a2d(void) { return RequestFlag(&Requests::paddleAnalog); }
TAPPLINK_EXPORT int32_t tp_get_pot_a2d(void) { return RequestFlag(&Requests::potAnalog); }

TAPPLINK_EXPORT int32_t tp_ptr_reset(void) { return QueueCommand({0x16, 0x00}); }
TAPPLINK_EXPORT int32_t tp_setptr_ovr(int32_t n) { return QueueCommand({0x16, 0x01, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_setptr_ins(int32_t n) { return QueueCommand({0x16, 0x02, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_load_nulls(int32_t n) { return QueueCommand({0x16, 0x03, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_buf_ptt(int32_t n) { return QueueCommand({0x18, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_buf_key(int32_t n) { return QueueCommand({0x19, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_buf_wait(int32_t n) { return QueueCommand({0x1A, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_mergechar(int32_t first, int32_t second) {
  return QueueCommand({0x1B, Low(first), Low(second)});
}
TAPPLINK_EXPORT int32_t tp_buf_wpm(int32_t n) { return QueueCommand({0x1C, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_buf_hscw(int32_t n) { return QueueCommand({0x1D, Low(n)}); }
TAPPLINK_EXPORT int32_t tp_cancel_bufwpm(void) { return QueueCommand({0x1E}); }
TAPPLINK_EXPORT int32_t tp_buffered_null(void) { return QueueCommand({0x1F}); }

}  // extern "C"
