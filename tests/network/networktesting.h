#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>

#include "testbound.h"

// Texts show as text when a check fails.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline constexpr int kNetworkWait = peertesting::kBoundMs;  // bound of every wait on a socket

// Environment variables set for one test and put back after it.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (auto& [name, value] : saved_) {
      if (value) {
        qputenv(name.constData(), *value);
      } else {
        qunsetenv(name.constData());
      }
    }
  }
  void Set(const QByteArray& name, const QByteArray& value) {
    if (!saved_.count(name)) {
      saved_[name] = qEnvironmentVariableIsSet(name.constData()) ? std::optional(qgetenv(name.constData())) : std::nullopt;
    }
    qputenv(name.constData(), value);
  }

 private:
  std::map<QByteArray, std::optional<QByteArray>> saved_;
};

// Another PC of the station as the network sees it: a plain socket on the loopback, and every
// byte it has read, as text.
class RawPeer {
 public:
  explicit RawPeer(int port) { socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port)); }

  bool Connected() { return socket_.waitForConnected(kNetworkWait); }
  void Send(const QString& text) {
    socket_.write(text.toLatin1());
    socket_.flush();
  }
  void Close() { socket_.disconnectFromHost(); }
  // From now on it takes nothing of what comes, as a PC that hangs: a few KiB wait in its socket,
  // the rest in the sender's.
  void TakeNothing() {
    socket_.setReadBufferSize(4096);
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
  }

  // Reads until what it has read holds the text.
  bool Receives(const QString& text, int milliseconds = kNetworkWait) {
    return QTest::qWaitFor([&] { return Read().contains(text); }, milliseconds);
  }
  // Waits until the other side has closed the connection. A close already on the line is taken at
  // once, not at the wait's next pass: refusing thousands of peers one after the other stays quick.
  bool SeesClose() {
    return QTest::qWaitFor([&] {
      if (socket_.state() == QAbstractSocket::ConnectedState) socket_.waitForReadyRead(0);
      Read();
      return socket_.state() == QAbstractSocket::UnconnectedState;
    }, kNetworkWait);
  }
  const QString& Read() {
    received_ += QString::fromLatin1(socket_.readAll());
    return received_;
  }
  void Forget() { received_.clear(); }

 private:
  QTcpSocket socket_;
  QString received_;
};
