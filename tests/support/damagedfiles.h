#pragma once

// Files as a failing disk, a broken network write or another program can leave them.

#include "platform/database.h"

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

#include <gtest/gtest.h>

// Adds contacts rows to a log database in one statement.
inline void FillLog(const QString& path, int contacts) {
  platform::Connection connection;
  connection.Open(path);
  connection.Execute(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < ?) "
                                    "insert into tbllog select 'K' || i, '59', 'FN' || (10 + i % 90), '57', 'FN31', "
                                    "'2024/03/02', '12:00:00', '144 M', 'PH' from n"),
                     {contacts});
}

// Overwrites pages of a database file with 0xFF (page 1 holds the header; a table's first page is
// its root) and advances the file's change counter, so a connection that has the file open reads
// the damage instead of the pages it keeps in memory.
inline void DamagePages(const QString& path, int firstPage, int pages) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  const QByteArray header = file.read(100);
  ASSERT_EQ(header.size(), 100);
  const auto byteAt = [&header](int offset) { return static_cast<quint32>(static_cast<quint8>(header[offset])); };
  const quint32 pageSizeField = byteAt(16) << 8 | byteAt(17);
  const qint64 pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
  ASSERT_GE(file.size(), pageSize * (firstPage - 1 + pages)) << "the file has fewer pages";
  const quint32 changeCounter = (byteAt(24) << 24 | byteAt(25) << 16 | byteAt(26) << 8 | byteAt(27)) + 1;
  const char counterBytes[] = {static_cast<char>(changeCounter >> 24), static_cast<char>(changeCounter >> 16),
                               static_cast<char>(changeCounter >> 8), static_cast<char>(changeCounter)};
  ASSERT_TRUE(file.seek(24));
  ASSERT_EQ(file.write(counterBytes, 4), 4);
  ASSERT_TRUE(file.seek(pageSize * (firstPage - 1)));
  ASSERT_EQ(file.write(QByteArray(pageSize * pages, '\xFF')), pageSize * pages);
}

inline QByteArray FileContents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs read, which reads the FIFO at fifoPath, while nobody writes to the FIFO. A reader that opens
// it would wait for a writer for ever: after a generous bound a writer comes and goes to release
// it, so the test fails instead of hanging. Returns whether read finished on its own.
inline bool FinishesWithoutAWriter(const QString& fifoPath, const std::function<void()>& read) {
  auto reading = std::async(std::launch::async, read);
  if (reading.wait_for(std::chrono::seconds(30)) == std::future_status::ready) {
    reading.get();
    return true;
  }
  const int writer = ::open(QFile::encodeName(fifoPath).constData(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  reading.wait();
  return false;
}
