// Opening, checking and closing the keyer device, and powering it by DTR.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "keyerfixture.h"

using namespace keyertesting;

namespace {

// Every export that needs an open connection, with arguments a caller might pass.
std::vector<std::pair<const char*, std::function<int32_t()>>> ExportsNeedingAConnection() {
  static const uint8_t settings[15] = {};
  return {
      {"tp_close", [] { return tp_close(); }},
      {"tp_send_defaults", [] { return tp_send_defaults(settings); }},
      {"tp_char", [] { return tp_char('A'); }},
      {"tp_backspace", [] { return tp_backspace(); }},
      {"tp_clearbuf", [] { return tp_clearbuf(); }},
      {"tp_getstatus", [] { return tp_getstatus(); }},
      {"tp_getecho", [] { return tp_getecho(); }},
      {"tp_xoff", [] { return tp_xoff(); }},
      {"tp_getpot", [] { return tp_getpot(); }},
      {"tp_st_freq", [] { return tp_st_freq(1); }},
      {"tp_wpm", [] { return tp_wpm(20); }},
      {"tp_weight", [] { return tp_weight(50); }},
      {"tp_xtnd1st", [] { return tp_xtnd1st(1); }},
      {"tp_kcomp", [] { return tp_kcomp(1); }},
      {"tp_setfarns", [] { return tp_setfarns(1); }},
      {"tp_keysample", [] { return tp_keysample(1); }},
      {"tp_ditdah_ratio", [] { return tp_ditdah_ratio(1); }},
      {"tp_pincfg", [] { return tp_pincfg(1); }},
      {"tp_setmode", [] { return tp_setmode(1); }},
      {"tp_ptt_leadtail", [] { return tp_ptt_leadtail(1, 2); }},
      {"tp_setup_speedpot", [] { return tp_setup_speedpot(10, 20, 0); }},
      {"tp_key", [] { return tp_key(1); }},
      {"tp_pause", [] { return tp_pause(1); }},
      {"tp_directkey", [] { return tp_directkey(1); }},
      {"tp_hscw", [] { return tp_hscw(1); }},
      {"tp_dumpstate", [] { return tp_dumpstate(); }},
      {"tp_dumpdebug", [] { return tp_dumpdebug(); }},
      {"tp_get_pdl_a2d", [] { return tp_get_pdl_a2d(); }},
      {"tp_get_pot_a2d", [] { return tp_get_pot_a2d(); }},
      {"tp_ptr_reset", [] { return tp_ptr_reset(); }},
      {"tp_setptr_ovr", [] { return tp_setptr_ovr(1); }},
      {"tp_setptr_ins", [] { return tp_setptr_ins(1); }},
      {"tp_load_nulls", [] { return tp_load_nulls(1); }},
      {"tp_buf_ptt", [] { return tp_buf_ptt(1); }},
      {"tp_buf_key", [] { return tp_buf_key(1); }},
      {"tp_buf_wait", [] { return tp_buf_wait(1); }},
      {"tp_mergechar", [] { return tp_mergechar('A', 'R'); }},
      {"tp_buf_wpm", [] { return tp_buf_wpm(20); }},
      {"tp_buf_hscw", [] { return tp_buf_hscw(1); }},
      {"tp_cancel_bufwpm", [] { return tp_cancel_bufwpm(); }},
      {"tp_buffered_null", [] { return tp_buffered_null(); }},
  };
}

void ExpectEveryExportRefused() {
  for (const auto& [name, call] : ExportsNeedingAConnection()) EXPECT_EQ(call(), TP_NOT_OPEN) << name;
}

}  // namespace

// The whole life of one connection, with the device's real handshake waits.
TEST_F(KeyerLibraryTest, OpensChecksAndClosesTheDevice) {
  KeyerDevicePeer device;
  ExpectEveryExportRefused();
  EXPECT_EQ(tp_set_callback(&CallbackLog::Record), TP_OK);

  // Only the low byte of the port number counts: 256 is port 0.
  PointPortAt(device.HostLine(), 0);
  uint8_t version = 0;
  ASSERT_EQ(tp_open(&version, 256), TP_OK);
  unsetenv(PortVariable(0).c_str());
  EXPECT_EQ(version, kDeviceVersion);
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 1);
  EXPECT_TRUE(DtrRaised());

  uint8_t untouched = 0xEE;
  EXPECT_EQ(tp_open(&untouched, 256), TP_ALREADY_OPEN);
  EXPECT_EQ(untouched, 0xEE);

  // The callback installed before the open hears the device.
  device.Send("C5");
  EXPECT_TRUE(CallbackLog::WaitFor(1, 5));
  EXPECT_EQ(tp_getstatus(), 5);

  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
  EXPECT_EQ(device.Transcript(), (Bytes{0x00, 0x03}));
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 0);
  EXPECT_FALSE(DtrRaised());
  ExpectEveryExportRefused();
}

// A device that fails the handshake: the code says how, and the port is let go.
class KeyerHandshakeTest : public KeyerLibraryTest,
                           public ::testing::WithParamInterface<std::pair<const char*, int32_t>> {};

TEST_P(KeyerHandshakeTest, FailureLeavesNoPortHeld) {
  const auto [mode, code] = GetParam();
  KeyerDevicePeer device(mode);  // its end of the pair stays open: only the answers are missing
  UseDevice(device);
  uint8_t version = 0xEE;
  EXPECT_EQ(tp_open(&version, kPort), code);
  EXPECT_EQ(version, 0xEE);
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 0);
  EXPECT_FALSE(DtrRaised());
  EXPECT_EQ(tp_getstatus(), TP_NOT_OPEN);
}

INSTANTIATE_TEST_SUITE_P(Devices, KeyerHandshakeTest,
                         ::testing::Values(std::pair{"silent", TP_NO_ECHO}, std::pair{"wrong-echo", TP_ECHO_MISMATCH},
                                           std::pair{"garbage", TP_ECHO_MISMATCH},
                                           std::pair{"no-version", TP_NO_VERSION}),
                         [](const auto& info) {
                           std::string name = info.param.first;
                           std::erase(name, '-');
                           return name;
                         });

// Ports the library cannot use, whether to open a connection or only to raise DTR.
TEST_F(KeyerLibraryTest, RefusesWhatIsNoFreeSerialPort) {
  KeyerDevicePeer device;
  ScratchFolder folder;
  const std::string file = folder.Path("notes.txt");
  std::ofstream(file) << "not a port";
  const int holder = open(device.HostLine().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);

  struct Case {
    const char* what;
    std::string device;
    int32_t openCode;
  };
  const Case cases[] = {
      {"no such device", folder.Path("missing"), TP_PORT_OPEN_FAILED},
      {"a regular file", file, TP_PORT_OPEN_FAILED},
      {"a device that is no serial line", "/dev/null", TP_PORT_STATE_READ_FAILED},
      {"a port another program holds", device.HostLine(), TP_PORT_OPEN_FAILED},
  };
  for (const Case& c : cases) {
    PointPortAt(c.device);
    const int openBefore = DescriptorsOn(c.device);
    uint8_t version = 0;
    EXPECT_EQ(tp_open(&version, kPort), c.openCode) << c.what;
    EXPECT_EQ(tp_power(kPort, 1), TP_PORT_OPEN_FAILED) << c.what;
    EXPECT_EQ(DescriptorsOn(c.device), openBefore) << c.what;
  }
  std::ifstream unchanged(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(unchanged), {}), "not a port");
  close(holder);
}

TEST_F(KeyerLibraryTest, PowerRaisesAndDropsDtrOutsideAConnection) {
  KeyerDevicePeer device;
  UseDevice(device);

  EXPECT_EQ(tp_power(kPort, 1), TP_OK);
  EXPECT_TRUE(DtrRaised());
  EXPECT_EQ(tp_power(kPort, 1), TP_OK);
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 1);
  EXPECT_EQ(tp_getstatus(), TP_NOT_OPEN);
  uint8_t version = 0;
  EXPECT_EQ(tp_open(&version, kPort), TP_PORT_OPEN_FAILED);  // the port is held, not shared
  EXPECT_EQ(tp_power(kPort, 0), TP_OK);
  EXPECT_FALSE(DtrRaised());
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 0);

  // Dropping the power during a connection ends it the way tp_close does.
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  EXPECT_EQ(tp_wpm(30), TP_OK);
  EXPECT_EQ(tp_power(kPort, 0), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
  EXPECT_EQ(device.Transcript(), (Bytes{0x02, 30, 0x00, 0x03}));
  EXPECT_EQ(tp_getstatus(), TP_NOT_OPEN);
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 0);
  EXPECT_FALSE(DtrRaised());

  // A new connection starts its own threads.
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  EXPECT_EQ(tp_close(), TP_OK);
}

// A link that takes no more bytes (its device stopped reading): the close command does not wait
// on it, and a write that waits too long ends the connection, with what was queued dropped and the
// port let go, so the device can be opened again.
TEST_F(KeyerLibraryTest, ALinkThatTakesNoBytesNeitherHoldsTheCloseNorKeepsTheConnection) {
  KeyerDevicePeer device;
  UseDevice(device);
  StalledLink link(device.HostLine());
  uint8_t version = 0;

  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  link.Stall();
  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_FALSE(link.Release()) << "the close waited for the line to take its command";
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 1) << "only the test's own";
  EXPECT_FALSE(DtrRaised());

  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  link.Stall();
  EXPECT_EQ(tp_char('A'), TP_OK);
  EXPECT_TRUE(WaitUntil([] { return tp_getstatus() == TP_NOT_OPEN; }));
  errno = 0;
  EXPECT_EQ(tp_char('B'), TP_NOT_OPEN);
  EXPECT_EQ(errno, ETIMEDOUT);
  EXPECT_TRUE(WaitUntil([&] { return DescriptorsOn(device.HostLine()) == 1; }));
  EXPECT_FALSE(link.Release());
  EXPECT_EQ(tp_close(), TP_NOT_OPEN);
  EXPECT_FALSE(DtrRaised());

  // Nothing of the connection given up goes out on the next.
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  EXPECT_EQ(tp_char('C'), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding(TextBytes("C")));
  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
  const Bytes handshake{0x00, 0x01, 0x00, 0x04, 0x55, 0x00, 0x02};
  EXPECT_EQ(device.Transcript(), Concat({handshake, handshake, TextBytes("C"), {0x00, 0x03}}));
}

// The device unplugged and plugged back in on the same path: the connection ends as the line hangs
// up, an open meanwhile names the missing device, and once it is back an open reaches the new one.
TEST_F(KeyerLibraryTest, ADeviceUnpluggedEndsTheConnectionAndOneOpenAgainReachesItOnceItIsBack) {
  KeyerDevicePeer device;
  UseDevice(device);
  uint8_t version = 0;
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  EXPECT_EQ(tp_char('A'), TP_OK);
  ASSERT_TRUE(device.WaitForTranscriptEnding(TextBytes("A")));

  device.Unplug();
  EXPECT_TRUE(WaitUntil([] { return tp_getstatus() == TP_NOT_OPEN; }));
  errno = 0;
  EXPECT_EQ(tp_char('B'), TP_NOT_OPEN);
  EXPECT_EQ(errno, EIO);
  errno = 0;
  EXPECT_EQ(tp_open(&version, kPort), TP_PORT_OPEN_FAILED);
  EXPECT_EQ(errno, ENOENT);

  device.PlugIn();
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);
  EXPECT_EQ(tp_char('C'), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding(TextBytes("C")));
  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
  EXPECT_EQ(device.Transcript(), Concat({TextBytes("AC"), {0x00, 0x03}}));
}
