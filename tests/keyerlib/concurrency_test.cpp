// The caller, the writer and the reader all busy at once: no text is lost or repeated, and
// echoes come out in order. Run under the thread sanitizer, this is where a race shows.
#include <algorithm>
#include <sstream>
#include <thread>

#include "keyerfixture.h"

using namespace keyertesting;

namespace {

bool IsSubsequence(const Bytes& part, const Bytes& whole) {
  auto next = whole.begin();
  for (const std::uint8_t byte : part) {
    next = std::find(next, whole.end(), byte);
    if (next == whole.end()) return false;
    ++next;
  }
  return true;
}

}  // namespace

TEST_F(KeyerLibraryTest, TextArrivesWholeWhileTheDeviceTalks) {
  KeyerDevicePeer device;
  UseDevice(device);
  uint8_t version = 0;
  ASSERT_EQ(tp_open(&version, kPort), TP_OK);

  // Status bytes without the hold and break-in bits, speed-pot bytes and echoes 'A' to 'Z'.
  Bytes echoesSent;
  const auto deviceTalks = [&] {
    std::ostringstream talk;
    for (int i = 0; i < 26; ++i) {
      const auto echo = static_cast<std::uint8_t>('A' + i);
      echoesSent.push_back(echo);
      talk << std::hex << int{echo} << ' ' << (i % 2 ? "C4 " : "C0 ") << (0x80 + i) << ' ';
    }
    device.Send(talk.str());
  };

  // Text 'a' to 'z' paced on the xoff flag, with speed changes (values below 'a') between.
  Bytes text;
  Bytes echoesRead;
  for (int i = 0; i < 300; ++i) {
    if (i % 30 == 0) deviceTalks();
    ASSERT_TRUE(WaitUntil([] { return tp_xoff() == 0; }));
    const auto letter = static_cast<std::uint8_t>('a' + i % 26);
    ASSERT_EQ(tp_char(letter), TP_OK);
    text.push_back(letter);
    if (i % 10 == 0) tp_wpm(10 + i % 50);
    if (const int32_t echo = tp_getecho(); echo > 0) echoesRead.push_back(static_cast<std::uint8_t>(echo));
    tp_getstatus();
    tp_getpot();
  }
  for (int32_t echo; (echo = tp_getecho()) > 0;) echoesRead.push_back(static_cast<std::uint8_t>(echo));

  const auto textOnTheLine = [&] {
    Bytes letters;
    for (const std::uint8_t byte : device.Transcript()) {
      if (byte >= 'a' && byte <= 'z') letters.push_back(byte);
    }
    return letters;
  };
  EXPECT_TRUE(WaitUntil([&] { return textOnTheLine().size() >= text.size(); }));
  EXPECT_EQ(tp_close(), TP_OK);
  EXPECT_EQ(textOnTheLine(), text);
  EXPECT_FALSE(echoesRead.empty());
  EXPECT_TRUE(IsSubsequence(echoesRead, echoesSent));
}
