#include "answeringrig.h"

#include <QFile>
#include <QtGlobal>

#include <filesystem>
#include <stdexcept>

AnsweringRig::AnsweringRig(int port, const std::string& responderPath)
    : variable_("CORVANE_PORT" + QByteArray::number(port)), responderPath_(responderPath) {
  PlugIn();
  qputenv(variable_.constData(), QByteArray::fromStdString(Device()));
}

AnsweringRig::~AnsweringRig() { qunsetenv(variable_.constData()); }

void AnsweringRig::PullOut() {
  line_.PullOut();
  rig_.reset();
}

// The device's path appears last, once the rig listens on the line behind it.
void AnsweringRig::PlugIn() {
  std::filesystem::remove(Transcript());
  line_.PlugIn([&](const std::string& peerEnd) {
    rig_ = std::make_unique<peertesting::ChildProcess>(std::vector<std::string>{responderPath_, peerEnd, Transcript()},
                                                       folder_.Path("rig.log"), true);
    if (!peertesting::WaitUntil([&] { return std::filesystem::exists(Transcript()); })) {
      throw std::runtime_error("no answering rig");
    }
  });
}

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
  QFile file(QString::fromStdString(Transcript()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
