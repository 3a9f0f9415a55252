// What the device receives for what a caller does, and what a caller sees of what the device
// sends. Each case runs on a fresh connection and ends with tp_close; its transcript is every
// byte after the host open, up to the close command 00 03.
#include <functional>
#include <string>
#include <vector>

#include "keyerfixture.h"

using namespace keyertesting;

namespace {

const Bytes kClose{0x00, 0x03};

// What a case works with: the device and bounded waits on what the library shows.
struct Session {
  KeyerDevicePeer& device;

  void DeviceSends(const std::string& hexBytes) const { device.Send(hexBytes); }
  void WaitForStatus(int32_t status) const {
    EXPECT_TRUE(WaitUntil([&] { return tp_getstatus() == status; })) << "status " << status;
  }
  // The device asks the library to hold its text (status bit 0).
  void HoldText() const {
    DeviceSends("C1");
    WaitForStatus(1);
  }
  void ReleaseText() const {
    DeviceSends("C0");
    WaitForStatus(0);
  }
  void WaitForLineEnding(const Bytes& tail) const {
    EXPECT_TRUE(device.WaitForTranscriptEnding(tail)) << "transcript ends " << ::testing::PrintToString(tail);
  }
  // Gives the writer `count` chances to send a queued byte.
  void LetTheWriterTimeOut(unsigned count) const {
    const unsigned start = tapplink::WriterTimeoutsForTesting();
    EXPECT_TRUE(WaitUntil([&] { return tapplink::WriterTimeoutsForTesting() >= start + count; }));
  }
  void Queue(const Bytes& text) const {
    for (const std::uint8_t byte : text) EXPECT_EQ(tp_char(byte), TP_OK);
  }
};

struct TranscriptCase {
  const char* name;
  std::function<void(const Session&)> run;
  Bytes expected;
};

void PrintTo(const TranscriptCase& c, std::ostream* out) { *out << c.name; }

Bytes Letters(int count) {
  Bytes text;
  for (int i = 0; i < count; ++i) text.push_back(static_cast<std::uint8_t>('A' + i % 26));
  return text;
}

const Bytes kDefaults{0x0E, 25, 0x32, 50, 10, 20, 10, 30, 5, 6, 18, 40, 0x37, 0x05, 2};

const TranscriptCase kCases[] = {
    {"StatusByteSetsTheStatus",
     [](const Session& s) {
       s.DeviceSends("C5");
       s.WaitForStatus(5);
       EXPECT_TRUE(CallbackLog::WaitFor(1, 5));
     },
     kClose},
    {"BreakInEmptiesTheRingAtTheNextRequest",
     [](const Session& s) {
       tapplink::HoldWriterForTesting(true);
       s.Queue(TextBytes("ABC"));
       s.DeviceSends("C2");
       s.WaitForStatus(2);
       EXPECT_TRUE(CallbackLog::WaitFor(1, 2));
       tp_wpm(30);
       tapplink::HoldWriterForTesting(false);
       s.WaitForLineEnding({0x02, 30});
       s.Queue(TextBytes("Z"));
       s.WaitForLineEnding(TextBytes("Z"));
     },
     Concat({{0x02, 30}, TextBytes("Z"), kClose})},
    {"PotByteAddsTheMinimumSent",
     [](const Session& s) {
       EXPECT_EQ(tp_getpot(), 0);  // nothing received yet; asks the device
       s.WaitForLineEnding({0x07});
       tp_setup_speedpot(10, 25, 0);
       s.WaitForLineEnding({0x05, 10, 25, 0});
       s.DeviceSends("8A");
       EXPECT_TRUE(CallbackLog::WaitFor(2, 20));
       EXPECT_EQ(tp_getpot(), 20);
     },
     {0x07, 0x05, 10, 25, 0, 0x07, 0x00, 0x03}},
    {"EchoByteGoesToTheEchoRing",
     [](const Session& s) {
       s.DeviceSends("41");
       EXPECT_TRUE(CallbackLog::WaitFor(3, 0x41));
       EXPECT_EQ(tp_getecho(), 0x41);
       EXPECT_EQ(tp_getecho(), 0);
     },
     kClose},
    {"BackspaceWithNothingQueuedSends08", [](const Session&) { EXPECT_EQ(tp_backspace(), TP_OK); },
     {0x08, 0x00, 0x03}},
    {"BackspaceTakesBackTheNewestQueuedByte",
     [](const Session& s) {
       s.HoldText();
       s.Queue(TextBytes("AB"));
       tp_backspace();
       tp_dumpstate();  // acted on with the backspace at the latest
       s.WaitForLineEnding({0x00, 0x07});
       s.ReleaseText();
       s.WaitForLineEnding(TextBytes("A"));
     },
     Concat({{0x00, 0x07}, TextBytes("A"), kClose})},
    {"SpeedChangedTwiceBeforeTheWriterWakesGoesOnce",
     [](const Session&) {
       tapplink::HoldWriterForTesting(true);
       tp_wpm(20);
       tp_wpm(25);
       tapplink::HoldWriterForTesting(false);
     },
     {0x02, 25, 0x00, 0x03}},
    {"EveryHscwCallIsSent",
     [](const Session& s) {
       tp_hscw(5);
       s.WaitForLineEnding({0x0C, 5});
       tp_hscw(5);
     },
     {0x0C, 5, 0x0C, 5, 0x00, 0x03}},
    {"DefaultsBlockThenNoRepeats",
     [](const Session&) {
       tp_send_defaults(kDefaults.data());
       tp_wpm(kDefaults[1]);
       tp_setup_speedpot(kDefaults[6], kDefaults[7], kDefaults[14]);
     },
     Concat({{0x0F}, kDefaults, {0x07, 0x15}, kClose})},
    {"ClearDropsTheQueuedText",
     [](const Session& s) {
       s.HoldText();
       s.Queue(TextBytes("ABC"));
       tp_clearbuf();
       s.WaitForLineEnding({0x0A});
       s.ReleaseText();
       s.Queue(TextBytes("Z"));
       s.WaitForLineEnding(TextBytes("Z"));
     },
     Concat({{0x0A}, TextBytes("Z"), kClose})},
    {"StatusBit0HoldsTextButNotSettings",
     [](const Session& s) {
       s.HoldText();
       s.Queue(TextBytes("A"));
       tp_weight(50);
       s.WaitForLineEnding({0x03, 50});
       s.LetTheWriterTimeOut(3);
       EXPECT_EQ(s.device.Transcript(), (Bytes{0x03, 50}));
       s.ReleaseText();
       s.WaitForLineEnding(TextBytes("A"));
     },
     Concat({{0x03, 50}, TextBytes("A"), kClose})},
    {"CloseSendsAPendingSpeedFirst", [](const Session&) { tp_wpm(30); }, {0x02, 30, 0x00, 0x03}},
    {"ReopenSendsNoUnchangedSpeed",
     [](const Session&) {
       tp_wpm(30);
       EXPECT_EQ(tp_close(), TP_OK);
       uint8_t version = 0;
       ASSERT_EQ(tp_open(&version, kPort), TP_OK);
       tp_wpm(30);
     },
     {0x02, 30, 0x00, 0x03, 0x00, 0x01, 0x00, 0x04, 0x55, 0x00, 0x02, 0x00, 0x03}},
    {"ReopenHoldsNothingFromTheLastConnection",
     [](const Session& s) {
       s.HoldText();
       s.Queue(TextBytes("AB"));
       s.DeviceSends("41");
       EXPECT_TRUE(CallbackLog::WaitFor(3, 0x41));
       EXPECT_EQ(tp_close(), TP_OK);
       uint8_t version = 0;
       ASSERT_EQ(tp_open(&version, kPort), TP_OK);
       EXPECT_EQ(tp_getstatus(), 0) << "no hold until the device asks again";
       EXPECT_EQ(tp_getecho(), 0);
       s.Queue(TextBytes("Z"));
       s.WaitForLineEnding(TextBytes("Z"));
     },
     Concat({kClose, {0x00, 0x01, 0x00, 0x04, 0x55, 0x00, 0x02}, TextBytes("Z"), kClose})},
    {"FortyThirdPendingByteRaisesXoff",
     [](const Session& s) {
       s.HoldText();
       s.Queue(Letters(42));
       EXPECT_EQ(tp_xoff(), 0);
       s.Queue(TextBytes("."));
       EXPECT_EQ(tp_xoff(), 1);
       s.ReleaseText();
       EXPECT_TRUE(WaitUntil([] { return tp_xoff() == 0; }));
       s.WaitForLineEnding(TextBytes("."));
     },
     Concat({Letters(42), TextBytes("."), kClose})},
    {"SixtyFourthPendingByteIsRefused",
     [](const Session& s) {
       s.HoldText();
       s.Queue(Letters(61));
       EXPECT_EQ(tp_setptr_ovr(5), TP_QUEUE_FULL);  // three bytes: refused whole
       EXPECT_EQ(tp_buf_wpm(20), TP_OK);             // 63 pending
       EXPECT_EQ(tp_char('Z'), TP_QUEUE_FULL);
       s.ReleaseText();
       s.WaitForLineEnding({0x1C, 20});
     },
     Concat({Letters(61), {0x1C, 20}, kClose})},
    {"BufferedCommandsGoInStreamOrder",
     [](const Session& s) {
       s.HoldText();
       s.Queue(TextBytes("A"));
       tp_ptr_reset();
       tp_setptr_ovr(5);
       tp_setptr_ins(6);
       tp_load_nulls(7);
       tp_buf_ptt(1);
       tp_buf_key(0);
       tp_buf_wait(8);
       tp_mergechar('A', 'R');
       tp_buf_wpm(20);
       tp_buf_hscw(3);
       tp_cancel_bufwpm();
       tp_buffered_null();
       s.Queue(TextBytes("Z"));
       s.ReleaseText();
       s.WaitForLineEnding(TextBytes("Z"));
     },
     Concat({TextBytes("A"),
             {0x16, 0x00, 0x16, 0x01, 5, 0x16, 0x02, 6, 0x16, 0x03, 7, 0x18, 1, 0x19, 0, 0x1A, 8, 0x1B, 'A', 'R',
              0x1C, 20, 0x1D, 3, 0x1E, 0x1F},
             TextBytes("Z"), kClose})},
    {"RequestsGoInTheDevicesOrder",
     [](const Session&) {
       tapplink::HoldWriterForTesting(true);
       tp_hscw(9);
       tp_backspace();
       tp_get_pot_a2d();
       tp_get_pdl_a2d();
       tp_dumpdebug();
       tp_dumpstate();
       tp_directkey(0x21);
       tp_pause(1);
       tp_getpot();
       tp_key(2);
       tp_pincfg(0x22);
       tp_setmode(0x23);
       tp_ditdah_ratio(0x24);
       tp_keysample(0x25);
       tp_setfarns(0x26);
       tp_kcomp(0x27);
       tp_xtnd1st(0x28);
       tp_ptt_leadtail(0x29, 0x2A);
       tp_weight(0x2B);
       tp_st_freq(0x2C);
       tp_setup_speedpot(0x2D, 0x2E, 0x2F);
       tp_wpm(0x130);  // only the low byte counts
       tp_clearbuf();
       tapplink::HoldWriterForTesting(false);
     },
     {0x0A,       0x02, 0x30, 0x05, 0x2D, 0x2E, 0x2F, 0x01, 0x2C, 0x03, 0x2B, 0x04, 0x29, 0x2A, 0x10, 0x28,
      0x11,       0x27, 0x0D, 0x26, 0x12, 0x25, 0x17, 0x24, 0x0E, 0x23, 0x09, 0x22, 0x0B, 0x01, 0x07, 0x06,
      0x01,       0x14, 0x21, 0x00, 0x07, 0x00, 0x08, 0x00, 0x05, 0x00, 0x06, 0x08, 0x0C, 0x09, 0x00, 0x03}},
};

class KeyerTranscriptTest : public KeyerLibraryTest, public ::testing::WithParamInterface<TranscriptCase> {};

TEST_P(KeyerTranscriptTest, DeviceReceives) {
  const TranscriptCase& c = GetParam();
  KeyerDevicePeer device;
  UseDevice(device);
  ASSERT_EQ(tp_set_callback(&CallbackLog::Record), TP_OK);
  uint8_t version = 0;
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);

  c.run(Session{device});

  // Everything was written once the close has joined the writer.
  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_TRUE(WaitUntil([&] {
    const Bytes sent = device.Transcript();
    return sent.size() >= c.expected.size() && sent.size() >= 2 && sent.back() == 0x03;
  }));
  EXPECT_EQ(device.Transcript(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyerTranscriptTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
