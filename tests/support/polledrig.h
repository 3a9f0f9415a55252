// The rig window polling a simulated rig, started as the operator starts it, for the tests of
// every window that tunes the rig through it.
#pragma once

#include "platform/instances.h"
#include "platform/serialcontrol.h"
#include "rig/rigcontrolfrm.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "formtesting.h"
#include "simulatedrig.h"

// A click on the rig's name in the rig window's rig list.
inline void ChooseRig(rig::RigControlfrm& window, const QString& rig) {
  auto* list = static_cast<QListWidget*>(window.List1.Widget());
  const QList<QListWidgetItem*> found = list->findItems(rig, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << rig.toStdString();
  list->scrollToItem(found.front());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
  ASSERT_EQ(window.List1.Text(), rig);
}

// Whether the rig window is polling, as its controls show it.
inline bool Polling(const rig::RigControlfrm& w) {
  return w.tmrGetData.Enabled() && w.Label2.Visible() && w.Command2.Enabled();
}

// A simulated rig on serial port `port` (CORVANE_PORT<port> points at it while it lives).
class PolledSimulatedRig {
 public:
  explicit PolledSimulatedRig(int port) : port_(port), line_(port) {}

  // The rig chosen on the simulated rig's port and Test clicked, its poll ticks then held back (an
  // interval of 0 never ticks) so the line carries only what a test makes the program send; what
  // the opening and the first poll sent is taken off the line.
  rig::RigControlfrm& Start(const QString& rigName) {
    rig::RigControlfrm& w = platform::Instance<rig::RigControlfrm>();
    ShowActive(w);
    ChooseRig(w, rigName);
    QTest::mouseClick(w.optComm(port_ - 1).Widget(), Qt::LeftButton);
    QTest::mouseClick(w.Command1.Widget(), Qt::LeftButton);
    EXPECT_TRUE(Polling(w));
    w.tmrGetData.SetInterval(0);
    if (w.comComm1.PortOpen()) Sent();
    return w;
  }

  // What the rig window has sent on its open port since the last look.
  QByteArray Sent() {
    platform::Instance<rig::RigControlfrm>().comComm1.SetOutput(QString(QChar(uchar(kMarker))));
    return line_.ReceivedBefore(kMarker);
  }

  // The same, once the window has let go of the port.
  QByteArray SentOnFreePort() {
    platform::SerialControl port;
    port.SetCommPort(port_);
    port.SetPortOpen(true);
    port.SetOutput(QString(QChar(uchar(kMarker))));
    return line_.ReceivedBefore(kMarker);
  }

  SimulatedRig& Line() { return line_; }

 private:
  static constexpr char kMarker = '~';  // in no command the tests send

  int port_;
  SimulatedRig line_;
};
