// Several PCs of the station logging into one file at once, each a process of its own (the peer
// program, tests/peers/logpeer.cpp), one of them killed while it logs.

#include "app/form1.h"
#include "app/globals.h"
#include "logdatabasefixture.h"
#include "logging/logstore.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"

#include "anotherpc.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace {

// One other PC: the peer program on the same log file, and the lines it has printed.
class Peer {
 public:
  Peer(const QString& logFile, const QString& prefix, int contacts) : prefix_(prefix) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("corvane.unbuilt.warning=false"));
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

QStringList Sorted(QStringList calls) {
  calls.sort();
  return calls;
}

QStringList CallsOnFile(const QString& path) {
  QStringList calls;
  for (const QStringList& row : RowsOnFile(path)) calls << row.value(0);
  return calls;
}

QStringList CallsOf(const QStringList& calls, const Peer& peer) {
  return calls.filter(QRegularExpression(QStringLiteral("^%1K\\d+$").arg(peer.Prefix())));
}

QStringList CallsInMemory() {
  QStringList calls;
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot) calls << logging::LogCalls[slot];
  return calls;
}

// The whole file checked, not only what a query happens to read.
void ExpectIntactLog(const QString& path) {
  platform::Connection check;
  ASSERT_NO_THROW(check.Open(path));
  platform::Recordset integrity;
  integrity.Open(QStringLiteral("pragma integrity_check"), check);
  EXPECT_EQ(integrity.Fields(0), "ok");
}

class SharedLogTest : public LogDatabaseTest {
 protected:
  void SetUp() override {
    LogDatabaseTest::SetUp();
    app::ProgramDir = dir_.path();
    savedDir_ = platform::CurDir();
  }
  void TearDown() override {
    platform::ChDir(savedDir_);
    LogDatabaseTest::TearDown();
  }

  QString savedDir_;
  platform::ScriptedDialogs dialogs;
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
};

TEST_F(SharedLogTest, PcsLoggingAtOnceStoreEachContactOnceAndAllSeeEveryRowAfterTheirNextPoll) {
  constexpr int ContactsEach = 30;
  constexpr int StoredBeforeTheKill = 10;
  const QDeadlineTimer deadline(std::chrono::minutes(3));
  std::vector<std::unique_ptr<Peer>> writers;
  for (const char* prefix : {"PA", "PB", "PC"}) writers.push_back(std::make_unique<Peer>(path_, prefix, ContactsEach));
  Peer victim(path_, QStringLiteral("PV"), 1'000'000);
  std::vector<Peer*> everyone = {&victim};
  for (const auto& writer : writers) everyone.push_back(writer.get());
  form.WorkList();  // this process is a PC of the station too

  for (Peer* peer : everyone) ASSERT_TRUE(peer->WaitForLine("ready", deadline)) << peer->Prefix().toStdString();
  for (Peer* peer : everyone) peer->Send("go");
  ASSERT_TRUE(victim.WaitUntil([&] { return victim.Stored().size() >= StoredBeforeTheKill; }, deadline));
  victim.Kill();
  for (const auto& writer : writers) {
    ASSERT_TRUE(writer->WaitForLine("done", deadline)) << writer->Prefix().toStdString();
  }

  ExpectIntactLog(path_);
  const QStringList calls = CallsOnFile(path_);
  EXPECT_EQ(QSet<QString>(calls.begin(), calls.end()).size(), calls.size()) << "a contact stored twice";
  for (const auto& writer : writers) {
    SCOPED_TRACE(writer->Prefix().toStdString());
    EXPECT_FALSE(writer->Stored().isEmpty());
    EXPECT_EQ(writer->Stored().size() + writer->Failed().size(), ContactsEach);
    EXPECT_EQ(Sorted(CallsOf(calls, *writer)), Sorted(writer->Stored()))
        << "every stored contact has its row, and no other row is there";
  }
  const QStringList victimRows = CallsOf(calls, victim);
  for (const QString& call : victim.Stored()) {
    EXPECT_TRUE(victimRows.contains(call)) << call.toStdString() << " lost";
  }
  for (const QString& call : victim.Failed()) EXPECT_FALSE(victimRows.contains(call)) << call.toStdString();
  EXPECT_LE(victimRows.size(), victim.Stored().size() + 1) << "only the contact it was logging when killed may be extra";

  for (const auto& writer : writers) {
    SCOPED_TRACE(writer->Prefix().toStdString());
    writer->Send("poll");
    ASSERT_TRUE(writer->WaitUntil([&] { return writer->HasPrintedLog(); }, deadline));
    EXPECT_EQ(Sorted(writer->LogAfterPoll()), Sorted(calls));
  }
  form.Timer3.Tick();
  EXPECT_EQ(Sorted(CallsInMemory()), Sorted(calls));
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
