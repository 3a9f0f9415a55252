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
  // Points CORVANE_PORT<port> at the pair's host end while it lives. Throws std::runtime_error
  // when the rig does not come up.
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
  void Unplug() { line_.Unplug(); }

  // Everything the rig has received, in order.
  QByteArray Received() const;

 private:
  void Order(const QByteArray& order);

  QByteArray variable_;
  peertesting::ScratchFolder folder_;
  peertesting::PtyPair line_;
  std::unique_ptr<peertesting::ChildProcess> rig_;
};
