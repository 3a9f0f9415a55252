#pragma once

#include "platform/database.h"

#include <QApplication>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

// A connection of its own to a log database, set up as the program's: rollback journal,
// synchronous writes, a busy timeout.
inline sqlite3* OpenAsTheProgramDoes(const QString& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_busy_timeout(db, 5000);
  sqlite3_exec(db, "pragma journal_mode = delete", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "pragma synchronous = full", nullptr, nullptr, nullptr);
  return db;
}

// What the process holds in memory now, in MiB.
inline double ResidentMiB() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One row of tbllog, in column order.
using LogRow = std::array<QByteArray, 9>;

// A log database holding a given number of contacts, made once per size and kind and shared by
// the benchmarks. The plain log holds contacts on 50 M and 144 M from 900 grids, all at one
// moment; a contest log (ContestLogRow) spreads them over the contest's hours.
class LogFile {
 public:
  using RowMaker = std::function<LogRow(int contact, int contacts)>;

  explicit LogFile(int contacts, const RowMaker& rowOf = PlainRow) {
    platform::CreateLogDatabase(path_);
    sqlite3* db = Open();
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into tbllog values (?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < contacts; ++i) {
      const LogRow row = rowOf(i, contacts);
      for (int column = 0; column < 9; ++column) {
        sqlite3_bind_text(insert, column + 1, row[column].constData(), -1, SQLITE_STATIC);
      }
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
  }

  const QString& Path() const { return path_; }

  sqlite3* Open() const { return OpenAsTheProgramDoes(path_); }

  // Contact i: call K<i>, grid FN<100 + i % 900>, 2024/03/02 12:00:00, on 144 M or 50 M.
  static LogRow PlainRow(int i, int) {
    return {"K" + QByteArray::number(i), "59", "FN" + QByteArray::number(100 + i % 900), "57", "FN31",
            "2024/03/02", "12:00:00", i % 2 ? "50 M" : "144 M", "PH"};
  }

 private:
  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};

inline const LogFile& LogFileWith(int contacts) {
  static std::map<int, std::unique_ptr<LogFile>> files;
  auto& file = files[contacts];
  if (!file) file = std::make_unique<LogFile>(contacts);
  return *file;
}

// A contest's log as its station leaves it at the moment the benchmark starts: the contacts one
// after another over the contest's 33 hours up to that moment (stamped in UTC as the program
// stamps them with a UTC offset of 0), on four bands, each station worked on all four from one of
// 400 grids around FN31 (both digits even, so the odd squares on the grid map stay new).
inline const QStringList& ContestBands() {
  static const QStringList bands = {QStringLiteral("50 M"), QStringLiteral("144 M"), QStringLiteral("222 M"),
                                    QStringLiteral("432 M")};
  return bands;
}

inline QDateTime ContestEnd() {
  static const QDateTime end = [] {
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), now.time(), Qt::UTC);
  }();
  return end;
}

inline LogRow ContestLogRow(int i, int contacts) {
  constexpr qint64 kContestSeconds = 33 * 3600;
  const QDateTime stamp = ContestEnd().addSecs(-kContestSeconds + kContestSeconds * (i + 1) / (contacts + 1));
  const int station = i / 4;
  const int grid = station % 400;
  const QByteArray field = QByteArray(1, static_cast<char>('D' + grid / 100)) +
                           QByteArray(1, static_cast<char>('L' + grid / 25 % 4));
  const QByteArray square = field + QByteArray::number(grid / 5 % 5 * 2) + QByteArray::number(grid % 5 * 2);
  return {"K" + QByteArray::number(station),
          "59",
          square,
          "57",
          "FN31",
          stamp.toString(QStringLiteral("yyyy/MM/dd")).toLatin1(),
          stamp.toString(QStringLiteral("HH:mm:ss")).toLatin1(),
          ContestBands()[i % 4].toLatin1(),
          "PH"};
}

inline const LogFile& ContestLogWith(int contacts) {
  static std::map<int, std::unique_ptr<LogFile>> files;
  auto& file = files[contacts];
  if (!file) file = std::make_unique<LogFile>(contacts, ContestLogRow);
  return *file;
}

// A copy of a log of its own, written through to the disk before it is used, so the first
// durable write to it pays for no pages the copy left to flush.
class LogCopy {
 public:
  explicit LogCopy(const LogFile& source) {
    QFile::copy(source.Path(), path_);
    QFile copy(path_);
    if (copy.open(QIODevice::ReadWrite)) ::fsync(copy.handle());
  }
  const QString& Path() const { return path_; }
  sqlite3* Open() const { return OpenAsTheProgramDoes(path_); }

 private:
  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};

// One key typed into a box as the operator types it: the key event goes through the window's
// dispatch (key preview, the box's own handlers) and the repaint it leaves is drawn. Microseconds
// on the clock.
inline double TypeKeyMicroseconds(QWidget* box, char key) {
  QElapsedTimer clock;
  clock.start();
  QTest::keyClick(box, key);
  QApplication::processEvents();
  return static_cast<double>(clock.nsecsElapsed()) / 1000.0;
}

// The main of a benchmark program: windows draw offscreen, as in the tests, and the program's
// settings, documents and station port are the run's own, never the user's. `report` runs after
// the benchmarks, for a summary of their figures.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& report = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  QDir(home.path()).mkpath(QStringLiteral("Documents"));
  QDir(home.path()).mkpath(QStringLiteral(".config"));
  qputenv("HOME", QFile::encodeName(home.path()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
  qunsetenv("USERPROFILE");
  qunsetenv("APPDATA");
  qputenv("CORVANE_STATION_PORT", "0");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (report) report();
  return 0;
}
