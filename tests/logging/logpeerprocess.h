#pragma once

// Another PC of the station as a process of its own: the peer program (tests/peers/logpeer.cpp)
// on the same log file.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

// One other PC: the peer program on the same log file, and the lines it has printed.
class Peer {
 public:
  Peer(const QString& logFile, const QString& prefix, int contacts) : prefix_(prefix) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(LOGPEER_PATH), {logFile, prefix, QString::number(contacts)});
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  // A peer still running sees its input end and leaves; one that does not is killed.
  ~Peer() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(30000)) Kill();
  }

  const QString& Prefix() const { return prefix_; }

  // Reads what the peer prints until the condition holds; false when the deadline passes or the
  // peer has ended without it.
  bool WaitUntil(const std::function<bool()>& condition, const QDeadlineTimer& deadline) {
    while (!condition()) {
      if (deadline.hasExpired()) return false;
      const bool more = process_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
      ReadLines();
      if (!more && process_.state() == QProcess::NotRunning) return condition();
    }
    return true;
  }
  bool WaitForLine(const QString& line, const QDeadlineTimer& deadline) {
    return WaitUntil([&] { return lines_.contains(line); }, deadline);
  }

  void Send(const QByteArray& line) {
    process_.write(line + '\n');
    ASSERT_TRUE(process_.waitForBytesWritten(30000));
  }

  // SIGKILL, by the peer's own process id: it stops wherever it is, a write perhaps half done.
  void Kill() {
    process_.kill();
    process_.waitForFinished(30000);
    ReadLines();
  }

  QStringList Stored() const { return Reported(QStringLiteral("stored ")); }
  QStringList Failed() const { return Reported(QStringLiteral("failed ")); }
  // The calls of its in-memory log, from the "log" line it prints after its last poll.
  QStringList LogAfterPoll() const {
    for (const QString& line : lines_) {
      if (line.startsWith(QLatin1String("log"))) return line.mid(3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return {};
  }
  bool HasPrintedLog() const {
    return std::any_of(lines_.begin(), lines_.end(), [](const QString& line) { return line.startsWith("log"); });
  }

 private:
  // Whole lines only: a killed peer may leave half of one behind.
  void ReadLines() {
    buffer_ += process_.readAllStandardOutput();
    for (qsizetype end; (end = buffer_.indexOf('\n')) >= 0; buffer_.remove(0, end + 1)) {
      lines_ << QString::fromUtf8(buffer_.left(end));
    }
  }
  QStringList Reported(const QString& what) const {
    QStringList calls;
    for (const QString& line : lines_) {
      if (line.startsWith(what)) calls << line.mid(what.size());
    }
    return calls;
  }

  QString prefix_;
  QProcess process_;
  QByteArray buffer_;
  QStringList lines_;
};
