#pragma once

#include "logging/logstore.h"

#include <QFile>
#include <QTemporaryDir>

#include <vector>

#include <gtest/gtest.h>

// The main window's caption as the program shows it: the title padded with blanks past 60.
inline const QString kMainWindowCaption = QStringLiteral("Varnek's Corvane Log 2.5").leftJustified(64, u' ');

// An export into a folder of the test's own, from an in-memory log the test sets.
class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  static void SetLog(const std::vector<logging::LogContact>& contacts) { logging::ReplaceContacts(contacts); }

  QString PathOf(const QString& name) const { return folder.filePath(name); }

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }

  // An existing file the export must leave whole when it fails: its name is as long as names
  // go, so no file can be made beside it under a longer name.
  QString LongNamedOldFile(const QByteArray& content) const {
    const QString path = PathOf(QString(250, u'x'));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }

  QTemporaryDir folder;
};

// A contact as the log stores it.
inline logging::LogContact Contact(const QString& call, const QString& band, const QString& mode, const QString& date,
                                   const QString& time, const QString& gridRcvd = QStringLiteral("FN42"),
                                   const QString& gridSent = QStringLiteral("FN31")) {
  return {.Call = call,
          .RstRcvd = QStringLiteral("57"),
          .GridRcvd = gridRcvd,
          .RstSent = QStringLiteral("59"),
          .GridSent = gridSent,
          .Date = date,
          .Time = time,
          .Band = band,
          .Mode = mode};
}
