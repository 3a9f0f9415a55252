#pragma once

// Another PC of the station on the same log file: a SQLite connection of its own, not the
// program's, so what the program finds in the file is what a peer left there.

#include <QFile>
#include <QList>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Every row of tbllog in insertion order; the rows before the damage of a damaged file.
inline QList<QStringList> RowsOnFile(const QString& path) {
  sqlite3* db = nullptr;
  QList<QStringList> rows;
  if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path.toStdString();
    sqlite3_close_v2(db);
    return rows;
  }
  sqlite3_busy_timeout(db, 30000);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "select * from tbllog order by rowid", -1, &statement, nullptr);
  while (sqlite3_step(statement) == SQLITE_ROW) {
    QStringList row;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    }
    rows << row;
  }
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
  return rows;
}

// Runs one statement with text values bound, as another PC would.
inline void ExecuteFromAnotherPc(const QString& path, const char* sql, const QStringList& values = {}) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_busy_timeout(db, 30000);
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  for (int column = 0; column < values.size(); ++column) {
    const QByteArray text = values[column].toUtf8();
    const int size = static_cast<int>(text.size());
    EXPECT_EQ(sqlite3_bind_text(statement, column + 1, text.constData(), size, SQLITE_TRANSIENT), SQLITE_OK);
  }
  EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
}

inline void InsertFromAnotherPc(const QString& path, const QStringList& row) {
  ExecuteFromAnotherPc(path, "insert into tbllog values (?,?,?,?,?,?,?,?,?)", row);
}
