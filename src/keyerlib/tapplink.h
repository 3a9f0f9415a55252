// The keyer library's C interface: the only symbols libTapplink.so exports.
// Every argument is a 32-bit integer of which the low byte counts, except the pointers.
#pragma once

#include <stdint.h>

#if defined(TAPPLINK_BUILDING)
#define TAPPLINK_EXPORT __attribute__((visibility("default")))
#else
#define TAPPLINK_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Results of the exports.
enum {
  TP_OK = 0,
  TP_NO_ECHO = -1,           // the device did not answer the echo test
  TP_ECHO_MISMATCH = -2,     // the echo was not the byte sent
  TP_NO_VERSION = -3,        // the device did not answer the host-open command
  TP_PORT_OPEN_FAILED = -4,  // the port could not be opened (or is held already)
  TP_PORT_STATE_READ_FAILED = -5,
  TP_PORT_STATE_SET_FAILED = -6,
  TP_QUEUE_FULL = -7,        // 63 bytes are pending: the text or buffered command was refused whole
  TP_ALREADY_OPEN = -8,
  TP_NOT_OPEN = -9,
};

// A connection ends by itself when its port fails: a line hung up (the device unplugged), or one
// that has taken no byte for a second (a link whose device stopped reading). What was queued is
// dropped, the port is closed, and every export that needs a connection returns -9 until a new
// tp_open. The close command is given a quarter of a second, so tp_close never waits on a dead line.
//
// The system's reason (errno) is left for the caller: after tp_open returns -4, -5 or -6 or tp_power -4,
// and after a -9 from a connection that its port failure ended (ETIMEDOUT for the silent link).
//
// Callback kinds: 1 status (0-63), 2 speed-pot WPM, 3 echo byte. Called from the library's
// reader thread, which tp_close waits for: it must not call tp_open, tp_close or tp_power.
// A null function stops the calls.
typedef void (*tp_callback)(int32_t kind, int32_t value);

// Connection.
TAPPLINK_EXPORT int32_t tp_open(uint8_t* version, int32_t port);
TAPPLINK_EXPORT int32_t tp_close(void);
TAPPLINK_EXPORT int32_t tp_power(int32_t port, int32_t on);
TAPPLINK_EXPORT int32_t tp_set_callback(tp_callback callback);
TAPPLINK_EXPORT int32_t tp_send_defaults(const uint8_t* settings15);  // null: nothing changes

// Text.
TAPPLINK_EXPORT int32_t tp_char(int32_t value);
TAPPLINK_EXPORT int32_t tp_backspace(void);
TAPPLINK_EXPORT int32_t tp_clearbuf(void);

// Polled values.
TAPPLINK_EXPORT int32_t tp_getstatus(void);
TAPPLINK_EXPORT int32_t tp_getecho(void);
TAPPLINK_EXPORT int32_t tp_xoff(void);
TAPPLINK_EXPORT int32_t tp_getpot(void);

// Settings: sent when they differ from what the device was last sent.
TAPPLINK_EXPORT int32_t tp_st_freq(int32_t value);
TAPPLINK_EXPORT int32_t tp_wpm(int32_t value);
TAPPLINK_EXPORT int32_t tp_weight(int32_t value);
TAPPLINK_EXPORT int32_t tp_xtnd1st(int32_t value);
TAPPLINK_EXPORT int32_t tp_kcomp(int32_t value);
TAPPLINK_EXPORT int32_t tp_setfarns(int32_t value);
TAPPLINK_EXPORT int32_t tp_keysample(int32_t value);
TAPPLINK_EXPORT int32_t tp_ditdah_ratio(int32_t value);
TAPPLINK_EXPORT int32_t tp_pincfg(int32_t value);
TAPPLINK_EXPORT int32_t tp_setmode(int32_t value);
TAPPLINK_EXPORT int32_t tp_ptt_leadtail(int32_t lead, int32_t tail);
TAPPLINK_EXPORT int32_t tp_setup_speedpot(int32_t minimum, int32_t range, int32_t third);

// Immediate states and one-shot requests.
TAPPLINK_EXPORT int32_t tp_key(int32_t on);
TAPPLINK_EXPORT int32_t tp_pause(int32_t on);
TAPPLINK_EXPORT int32_t tp_directkey(int32_t value);
TAPPLINK_EXPORT int32_t tp_hscw(int32_t value);
TAPPLINK_EXPORT int32_t tp_dumpstate(void);
TAPPLINK_EXPORT int32_t tp_dumpdebug(void);
TAPPLINK_EXPORT int32_t tp_get_pdl_a2d(void);
TAPPLINK_EXPORT int32_t tp_get_pot_a2d(void);

// Buffered commands: queued with the text, in stream order.
TAPPLINK_EXPORT int32_t tp_ptr_reset(void);
TAPPLINK_EXPORT int32_t tp_setptr_ovr(int32_t n);
TAPPLINK_EXPORT int32_t tp_setptr_ins(int32_t n);
TAPPLINK_EXPORT int32_t tp_load_nulls(int32_t n);
TAPPLINK_EXPORT int32_t tp_buf_ptt(int32_t n);
TAPPLINK_EXPORT int32_t tp_buf_key(int32_t n);
TAPPLINK_EXPORT int32_t tp_buf_wait(int32_t n);
TAPPLINK_EXPORT int32_t tp_mergechar(int32_t first, int32_t second);
TAPPLINK_EXPORT int32_t tp_buf_wpm(int32_t n);
TAPPLINK_EXPORT int32_t tp_buf_hscw(int32_t n);
TAPPLINK_EXPORT int32_t tp_cancel_bufwpm(void);
TAPPLINK_EXPORT int32_t tp_buffered_null(void);

#ifdef __cplusplus
}
#endif
