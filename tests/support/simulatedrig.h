// A simulated rig (tests/peers/rigsim) on a socat pseudo-terminal pair, reached by the program as
// one of its serial ports.
#pragma once

#include <QByteArray>

#include <memory>
#include <string>

#include "childprocess.h"
#include "ptypair.h"

class SimulatedRig {
 public:
  // Points CORVANE_PORT<port> at the pair's host end while it lives. Throws std::runtime_error
  // when the rig does not come up.
  explicit SimulatedRig(int port);
  ~SimulatedRig();
  SimulatedRig(const SimulatedRig&) = delete;
  SimulatedRig& operator=(const SimulatedRig&) = delete;

  std::string HostEnd() const { return line_.HostEnd(); }
  // Everything the rig has received, in order.
  QByteArray Received() const;
  // What the rig received after the last marker taken and before `marker`, once that has arrived:
  // a test sends a marker after the program's bytes, so that "nothing" is seen as surely as
  // something. Empty with a test failure when the marker never comes.
  QByteArray ReceivedBefore(char marker);
  // Hangs the line up, as a pulled-out adapter does.
  void Unplug() { line_.Unplug(); }

 private:
  QByteArray variable_;
  peertesting::ScratchFolder folder_;
  peertesting::PtyPair line_;
  std::unique_ptr<peertesting::ChildProcess> rig_;
  qsizetype taken_ = 0;  // bytes up to and with the last marker taken
};
