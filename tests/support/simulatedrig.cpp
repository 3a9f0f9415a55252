#include "simulatedrig.h"
#include "testbound.h"

#include <QFile>
#include <QTest>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

SimulatedRig::SimulatedRig(int port) : variable_("CORVANE_PORT" + QByteArray::number(port)) {
  rig_ = std::make_unique<peertesting::ChildProcess>(
      std::vector<std::string>{RIGSIM_PATH, line_.PeerEnd(), folder_.Path("transcript")}, folder_.Path("rig.log"),
      true);
  if (!peertesting::WaitUntil([&] { return std::filesystem::exists(folder_.Path("transcript")); })) {
    throw std::runtime_error("no simulated rig");
  }
  qputenv(variable_.constData(), QByteArray::fromStdString(line_.HostEnd()));
}

SimulatedRig::~SimulatedRig() { qunsetenv(variable_.constData()); }

QByteArray SimulatedRig::Received() const {
  QFile file(QString::fromStdString(folder_.Path("transcript")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes;
  // Whole lines only: the rig may be writing the next one.
  for (QByteArray line; !(line = file.readLine()).isEmpty() && line.endsWith('\n');) {
    bytes += QByteArray::fromHex(line.trimmed().split(' ').value(1));
  }
  return bytes;
}

QByteArray SimulatedRig::ReceivedBefore(char marker) {
  QByteArray received;
  const bool arrived =
      QTest::qWaitFor([&] { return (received = Received()).indexOf(marker, taken_) >= 0; }, peertesting::kBoundMs);
  EXPECT_TRUE(arrived) << "the marker never reached the rig; it had " << received.mid(taken_).toHex(' ').toStdString();
  if (!arrived) return {};
  const qsizetype at = received.indexOf(marker, taken_);
  const QByteArray before = received.mid(taken_, at - taken_);
  taken_ = at + 1;
  return before;
}
