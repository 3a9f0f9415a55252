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
#include "logpeerprocess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace {

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
  }

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
