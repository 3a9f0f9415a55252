// The writer thread: the only thread that writes to the port during a connection. It gathers
// its work under the lock and writes with the lock released.
#include <array>
#include <cstdint>
#include <initializer_list>

#include "keyerstate.h"

namespace tapplink {
namespace {

// One command, written whole in one write. The longest is the 18-byte defaults block.
struct Command {
  std::array<std::uint8_t, 18> bytes{};
  std::size_t size = 0;
};

// Everything one wake-up sends, in order: one command per step, except backspaces.
class Commands {
 public:
  // Room for one more backspace, keeping room for the HSCW and close commands after it.
  bool HasRoomForBackspace() const { return count_ + 3 <= commands_.size(); }
  void Add(std::initializer_list<std::uint8_t> bytes) {
    Command& command = commands_[count_++];
    for (const std::uint8_t byte : bytes) command.bytes[command.size++] = byte;
  }
  void AddDefaultsBlock(const Settings& sent) {
    Command& command = commands_[count_++];
    command.bytes[command.size++] = 0x0F;
    for (const std::uint8_t value : sent) command.bytes[command.size++] = value;
    command.bytes[command.size++] = 0x07;
    command.bytes[command.size++] = 0x15;
  }
  // 0, or the reason the line failed for: the rest is not tried.
  int WriteTo(SerialPort& port, Deadline deadline) const {
    for (std::size_t i = 0; i < count_; ++i) {
      if (const int failure = port.SerialWrite(commands_[i].bytes.data(), commands_[i].size, deadline)) return failure;
    }
    return 0;
  }

 private:
  std::array<Command, 40> commands_{};
  std::size_t count_ = 0;
};

// Each setting is sent only when it differs from what the device was last sent.
void SendChangedSetting(SharedValues& s, Commands& out, std::uint8_t command, SettingIndex index) {
  if (s.requested[index] == s.sent[index]) return;
  s.sent[index] = s.requested[index];
  out.Add({command, s.sent[index]});
}

void SendChangedPair(SharedValues& s, Commands& out, std::uint8_t command, SettingIndex first,
                     SettingIndex second) {
  if (s.requested[first] == s.sent[first] && s.requested[second] == s.sent[second]) return;
  s.sent[first] = s.requested[first];
  s.sent[second] = s.requested[second];
  out.Add({command, s.sent[first], s.sent[second]});
}

void SendChangedSpeedPot(SharedValues& s, Commands& out) {
  const auto changed = [&](SettingIndex i) { return s.requested[i] != s.sent[i]; };
  if (!changed(kPotMinimum) && !changed(kPotRange) && !changed(kPotThird)) return;
  for (const SettingIndex i : {kPotMinimum, kPotRange, kPotThird}) s.sent[i] = s.requested[i];
  out.Add({0x05, s.sent[kPotMinimum], s.sent[kPotRange], s.sent[kPotThird]});
}

void SendChangedState(int requested, int& sent, Commands& out, std::uint8_t command) {
  if (requested == sent) return;
  sent = requested;
  out.Add({command, static_cast<std::uint8_t>(sent != 0 ? 1 : 0)});
}

bool Take(bool& flag) {
  const bool was = flag;
  flag = false;
  return was;
}

// A signalled wake-up: everything the caller (or the reader's break-in) asked for, in the
// device's fixed order. Returns true when the connection is to close.
bool GatherRequests(SharedValues& s, Commands& out) {
  Requests& r = s.requests;
  if (Take(r.breakIn)) s.transmit.Empty();
  if (Take(r.clear)) {
    s.transmit.Empty();
    out.Add({0x0A});
  }
  SendChangedSetting(s, out, 0x02, kSpeed);
  SendChangedSpeedPot(s, out);
  SendChangedSetting(s, out, 0x01, kSidetone);
  SendChangedSetting(s, out, 0x03, kWeight);
  SendChangedPair(s, out, 0x04, kPttLeadIn, kPttTail);
  SendChangedSetting(s, out, 0x10, kFirstExtension);
  SendChangedSetting(s, out, 0x11, kKeyCompensation);
  SendChangedSetting(s, out, 0x0D, kFarnsworth);
  SendChangedSetting(s, out, 0x12, kKeySample);
  SendChangedSetting(s, out, 0x17, kDitDahRatio);
  SendChangedSetting(s, out, 0x0E, kModeRegister);
  SendChangedSetting(s, out, 0x09, kPinConfiguration);
  SendChangedState(s.keyRequested, s.keySent, out, 0x0B);
  if (Take(r.readPot)) out.Add({0x07});
  SendChangedState(s.pauseRequested, s.pauseSent, out, 0x06);
  if (s.directKeyRequested != s.directKeySent) {
    s.directKeySent = s.directKeyRequested;
    out.Add({0x14, s.directKeySent});
  }
  if (Take(r.dumpState)) out.Add({0x00, 0x07});
  if (Take(r.dumpDebug)) out.Add({0x00, 0x08});
  if (Take(r.paddleAnalog)) out.Add({0x00, 0x05});
  if (Take(r.potAnalog)) out.Add({0x00, 0x06});
  if (Take(r.defaults)) out.AddDefaultsBlock(s.sent);
  for (; r.backspaces > 0 && out.HasRoomForBackspace(); --r.backspaces) {
    // Text not yet sent is taken back here; text already sent is deleted by the device.
    if (s.transmit.IsEmpty()) {
      out.Add({0x08});
    } else {
      s.transmit.TakeBackNewest();
    }
  }
  if (r.backspaces > 0) {
    s.wake = true;  // the rest at once, still before anything that comes after them
    return false;
  }
  if (Take(r.hscw)) out.Add({0x0C, s.hscwValue});
  if (!Take(r.close)) return false;
  out.Add({0x00, 0x03});
  return true;
}

// The line failed: what waits for it is dropped, and the callers find the connection ended.
void EndOnPortFailure(SharedValues& s, int failure) {
  if (s.portFailure == 0) s.portFailure = failure;
  s.open = false;
  s.transmit.Empty();
  s.requests = Requests{};
}

}  // namespace

void WriterThread(Library& library) {
  KeyerState& state = library.state;
  SharedValues& s = state.shared;
  Deadline lastBytesBy{};  // a line that failed is given no time to send what it holds
  for (bool ending = false; !ending;) {
    Commands commands;
    bool closing = false;
    {
      std::unique_lock lock(state.mutex);
      state.writerWake.wait(lock, [&] { return !s.writerHeldForTesting; });
      const bool signalled = state.writerWake.wait_for(lock, kWriterWait, [&] { return s.wake; });
      if (s.writerHeldForTesting) continue;
      if (s.portFailure != 0) {  // met by the reader
        EndOnPortFailure(s, s.portFailure);
        break;
      }
      if (signalled) {
        s.wake = false;
        closing = GatherRequests(s, commands);
      } else {
        ++s.writerTimeoutsForTesting;
        // Status bit 0 is the device asking to hold the text; otherwise one byte per time-out.
        const bool textHeld = (state.lastStatus.load() & 0x01) != 0;
        if (!s.transmit.IsEmpty() && !textHeld) commands.Add({s.transmit.TakeOldest()});
      }
    }
    const Deadline deadline = DeadlineAfter(closing ? kCloseWriteDeadline : kWriteDeadline);
    const int failure = commands.WriteTo(library.port, deadline);
    if (closing) {
      lastBytesBy = deadline;
      ending = true;
    } else if (failure != 0) {
      std::lock_guard lock(state.mutex);
      EndOnPortFailure(s, failure);
      ending = true;
    }
  }
  StopReader(library);
  library.port.Close(lastBytesBy);
}

}  // namespace tapplink
