// A rig that answers polls (tests/peers/rigresponder) on a socat pseudo-terminal pair, reached by
// the program as one of its serial ports.
#pragma once

#include <QByteArray>
#include <QList>

#include <memory>
#include <string>

#include "childprocess.h"
#include "ptypair.h"

class AnsweringRig {
 public:
  // Points CORVANE_PORT<port> at the rig's device while it lives: a path of its own, which leads
  // to the line the rig is plugged into. Throws std::runtime_error when the rig does not come up.
  AnsweringRig(int port, const std::string& responderPath);
  ~AnsweringRig();
  AnsweringRig(const AnsweringRig&) = delete;
  AnsweringRig& operator=(const AnsweringRig&) = delete;

  // Each time `request` arrives the rig sends the next of `replies`, the last one again and again.
  void Answer(const QByteArray& request, const QList<QByteArray>& replies);
  void Answer(const QByteArray& request, const QByteArray& reply) { Answer(request, QList<QByteArray>{reply}); }
  // The rig falls silent.
  void Forget();
  // The rig stops reading the line, so what the program writes backs up; Release reads again.
  void Hold();
  void Release();
  // Both ends hang up, as a pulled-out adapter does.
  void Unplug() { line_.HangUp(); }
  // The adapter pulled out: the line hangs up, the rig ends and the device's path is gone.
  void PullOut();
  // The adapter plugged in again on the same path: a new line, and a rig that has received
  // nothing yet and answers nothing until told. Throws std::runtime_error as the constructor.
  void PlugIn();

  // Everything the rig has received since it was last plugged in, in order.
  QByteArray Received() const;

 private:
  void Order(const QByteArray& order);
  const std::string& Device() const { return line_.Path(); }
  std::string Transcript() const { return folder_.Path("transcript"); }

  QByteArray variable_;
  std::string responderPath_;
  peertesting::ScratchFolder folder_;
  peertesting::PluggableLine line_{folder_.Path("device")};
  std::unique_ptr<peertesting::ChildProcess> rig_;
};
