#pragma once

#include "platform/database.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>

// A log database holding a given number of contacts on 50 M and 144 M from 900 grids, made once
// per size and shared by the benchmarks.
class LogFile {
 public:
  explicit LogFile(int contacts) {
    platform::CreateLogDatabase(path_);
    sqlite3* db = Open();
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into tbllog values (?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < contacts; ++i) {
      const QByteArray call = "K" + QByteArray::number(i);
      const QByteArray grid = "FN" + QByteArray::number(100 + i % 900);
      const char* row[] = {call.constData(), "59", grid.constData(), "57", "FN31",
                           "2024/03/02", "12:00:00", i % 2 ? "50 M" : "144 M", "PH"};
      for (int column = 0; column < 9; ++column) sqlite3_bind_text(insert, column + 1, row[column], -1, SQLITE_STATIC);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
  }

  const QString& Path() const { return path_; }

  // A connection of its own, set up as the program's: rollback journal, a busy timeout.
  sqlite3* Open() const {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path_).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "pragma journal_mode = delete", nullptr, nullptr, nullptr);
    return db;
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

// The main of a benchmark program: windows draw offscreen, as in the tests.
inline int RunBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
