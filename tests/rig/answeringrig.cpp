#include "answeringrig.h"

#include <QFile>
#include <QtGlobal>

#include <filesystem>
#include <stdexcept>

AnsweringRig::AnsweringRig(int port, const std::string& responderPath)
    : variable_("CORVANE_PORT" + QByteArray::number(port)) {
  rig_ = std::make_unique<peertesting::ChildProcess>(
      std::vector<std::string>{responderPath, line_.PeerEnd(), folder_.Path("transcript")}, folder_.Path("rig.log"),
      true);
  if (!peertesting::WaitUntil([&] { return std::filesystem::exists(folder_.Path("transcript")); })) {
    throw std::runtime_error("no answering rig");
  }
  qputenv(variable_.constData(), QByteArray::fromStdString(line_.HostEnd()));
}

AnsweringRig::~AnsweringRig() { qunsetenv(variable_.constData()); }

void AnsweringRig::Answer(const QByteArray& request, const QList<QByteArray>& replies) {
  QByteArrayList hexReplies;
  for (const QByteArray& reply : replies) hexReplies << reply.toHex(' ');
  Order("answer " + request.toHex(' ') + " = " + hexReplies.join(" | "));
}

void AnsweringRig::Forget() { Order("forget"); }
void AnsweringRig::Hold() { Order("hold"); }
void AnsweringRig::Release() { Order("release"); }

void AnsweringRig::Order(const QByteArray& order) { rig_->Write((order + '\n').toStdString()); }

QByteArray AnsweringRig::Received() const {
  QFile file(QString::fromStdString(folder_.Path("transcript")));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
