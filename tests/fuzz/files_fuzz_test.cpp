// The files the program reads that other programs, other PCs or a crash may have left in any
// state: quoted-text settings files, backup files, the band plan, the shared preferences, and the
// mount table that names the log's server.
#include "app/globals.h"
#include "app/globalpreferences.h"
#include "app/servername.h"
#include "logtools/appendlog.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/numbertext.h"
#include "platform/quotedtext.h"
#include "rig/bandplan.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

#include "corpus.h"
#include "logdatabasefixture.h"

namespace {

using fuzzing::Corpus;
using fuzzing::Latin1;

const std::vector<QByteArray> kSettingsFiles = {
    "\"Q1XYZ\",\"FN42\",#TRUE#,-4.5,7000\r\n\"144 M\",\"PH\"\r\n",
    "\"CQ TEST Q1XYZ\",\"TU\",,.5,#FALSE#\r\n1,2,3\r\n",
    "\"a, \"\"b\" ,  7 ,\r\n\"unclosed\r\n255,-32768,1e308\n",
    "\"March 5, 2012\"\r\n\"160\",\"E\",\"CW\",1.8,2\r\n\"144\",\"E\",\"PH\",144.1,148\r\n",
};

void WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(content), content.size());
}

// A reader that never moves on would loop for ever: every record takes at least one character.
TEST(QuotedTextFuzz, ReadingAnyBytesEndsAndGivesValuesWithoutLineEnds) {
  Corpus corpus(kSettingsFiles, 0xF11E'0001);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& content) {
    platform::QuotedTextReader records = platform::QuotedTextReader::FromBytes(content);
    qsizetype steps = 0;
    while (!records.AtEnd()) {
      ASSERT_LE(++steps, content.size() + 1) << content.toStdString();
      for (const QString& value : records.ReadRecord()) ASSERT_FALSE(value.contains(u'\n'));
    }
    platform::QuotedTextReader values = platform::QuotedTextReader::FromBytes(content);
    for (steps = 0; !values.AtEnd(); values.Next()) ASSERT_LE(++steps, content.size() + 1);
    EXPECT_EQ(values.Next(), QString());
    EXPECT_TRUE(values.ReadPastEnd());
  });
}

// What the program writes, it reads back: text with its quotes and line breaks made harmless,
// numbers to their precision.
TEST(QuotedTextFuzz, WrittenRecordsReadBackValueForValue) {
  Corpus corpus(kSettingsFiles, 0xF11E'0002);
  for (int k = 0; k < fuzzing::Scaled(20000); ++k) {
    const QString text = Latin1(corpus.Mutated()).remove(u'\0');
    const double number = std::ldexp(static_cast<double>(corpus.Between(-(qsizetype{1} << 52), qsizetype{1} << 52)),
                                      static_cast<int>(corpus.Between(-1000, 1000)));
    const float single = static_cast<float>(std::ldexp(static_cast<double>(corpus.Between(-(1 << 23), 1 << 23)),
                                                       static_cast<int>(corpus.Between(-140, 100))));
    const qint64 whole = corpus.Between(std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    const bool yes = corpus.Between(0, 1) == 1;
    const QByteArray content =
        platform::FormatQuotedRecord({text, number, single, whole, yes, platform::QuotedValue::None()}).toLatin1() +
        "\r\n";
    platform::QuotedTextReader reader = platform::QuotedTextReader::FromBytes(content);
    const QStringList values = reader.ReadRecord();
    ASSERT_EQ(values.size(), 6) << content.toStdString();
    QString expected = text;
    expected.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ').replace(u'"', u'\'');
    ASSERT_EQ(values[0], expected);
    ASSERT_EQ(values[1].toDouble(), QString::number(number, 'g', 15).toDouble()) << values[1].toStdString();
    ASSERT_EQ(values[2].toFloat(), QString::number(single, 'g', 7).toFloat()) << values[2].toStdString();
    ASSERT_EQ(values[3].toLongLong(), whole);
    ASSERT_EQ(values[4], yes ? "#TRUE#" : "#FALSE#");
    ASSERT_EQ(values[5], QString());
    ASSERT_TRUE(reader.AtEnd());
  }
}

// A settings file read value by value as the start-up reads it: any damage is a RuntimeError
// (past the end, type mismatch, overflow), and whatever is read is of its type.
TEST(QuotedTextFuzz, TypedReadsOfADamagedSettingsFileFailOnlyWithRunTimeErrors) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("settings.txt");
  const fuzzing::QuietTraces quiet;
  Corpus corpus(kSettingsFiles, 0xF11E'0003);
  int failed = 0;
  corpus.ForEach(fuzzing::Scaled(4000), [&](const QByteArray& content) {
    WriteFile(path, content);
    try {
      platform::TypedValueReader file(path, "settings.txt");
      for (int k = 0; k < 64 && !file.AtEnd(); ++k) {
        switch (corpus.Between(0, 7)) {
          case 0: file.Text(); break;
          case 1: ASSERT_FALSE(std::isnan(file.Double())); break;
          case 2: ASSERT_FALSE(std::isnan(file.Single())); break;
          case 3: file.Boolean(); break;
          case 4: file.Number<std::uint8_t>(); break;
          case 5: file.Number<std::int16_t>(); break;
          case 6: file.Number<std::int32_t>(); break;
          default: file.Number<std::uint16_t>(); break;
        }
      }
    } catch (const platform::RuntimeError&) {
      ++failed;
    }
  });
  EXPECT_GT(failed, 100);
}

TEST(BandPlanFuzz, ADamagedBandPlanGivesRowsOfItsLinesOrARunTimeError) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("BandPlan.txt");
  QFile shipped(QStringLiteral(CORVANE_SOURCE_DIR "/data/BandPlan.txt"));
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  const QByteArray plan = shipped.readAll();
  const fuzzing::QuietTraces quiet;
  Corpus corpus({plan.left(400), plan.mid(plan.size() / 2, 300), kSettingsFiles[3]}, 0xF11E'0004);
  corpus.ForEach(fuzzing::Scaled(3000), [&](const QByteArray& content) {
    WriteFile(path, content);
    try {
      rig::BandPlanReader reader(path);
      for (qsizetype lines = 0; !reader.AtEnd(); ++lines) {
        ASSERT_LE(lines, content.size());
        const rig::BandPlanRow row = reader.NextRow();
        ASSERT_TRUE(std::isfinite(row.LowerMHz) && std::isfinite(row.UpperMHz));
      }
    } catch (const platform::RuntimeError&) {
    }
    const std::vector<rig::BandPlanRow> rows = rig::LoadBandPlan(path);
    ASSERT_LE(rows.size(), std::size_t{rig::MaxBandPlanRows});
    for (const rig::BandPlanRow& row : rows) ASSERT_EQ(row.ClassLetter, "E");
    const float megahertz = static_cast<float>(corpus.Between(0, 150'000)) / 1000;
    const QString mode = rig::BandPlanModeForFrequency(rows, megahertz, corpus.Between(0, 1) ? "PH" : "CW");
    const bool rowsMode = std::any_of(rows.begin(), rows.end(), [&](const rig::BandPlanRow& row) { return row.Mode == mode; });
    ASSERT_TRUE(rowsMode || QStringList({"", "CW", "PH", "LSB", "USB"}).contains(mode)) << mode.toStdString();
  });
}

// The backup file restored into the live log: contacts come only from whole lines of nine values,
// and a backup as the program writes it comes back contact for contact.
class BackupFileFuzz : public LogDatabaseTest {
 protected:
  std::vector<QStringList> LiveRows() {
    platform::Recordset rows;
    rows.Open(QStringLiteral("select * from tbllog order by rowid"), logging::LogConnection);
    std::vector<QStringList> all;
    for (; !rows.Eof(); rows.MoveNext()) {
      QStringList row;
      for (int k = 0; k < 9; ++k) row << rows.Fields(k);
      all.push_back(row);
    }
    return all;
  }
  void EmptyLiveLog() { logging::LogConnection.Execute(QStringLiteral("delete from tbllog")); }

  QString backup_ = dir_.filePath(QStringLiteral("BckUpLog.dat"));
};

TEST_F(BackupFileFuzz, ADamagedBackupAddsOnlyItsWholeLeadingContacts) {
  const QByteArray sample =
      "\"Q1XYZ\",\"59\",\"FN20\",\"57\",\"FN31\",\"2024/03/02\",\"12:00:00\",\"144 M\",\"PH\"\r\n"
      "\"Q2ABC/R\",\"599\",\"FN42\",\"599\",\"FN31\",\"2024/03/02\",\"12:01:30\",\"10 G\",\"CW\"\r\n";
  const fuzzing::QuietTraces quiet;
  Corpus corpus({sample, sample + sample}, 0xF11E'0005);
  corpus.ForEach(fuzzing::Scaled(400), [&](const QByteArray& content) {
    WriteFile(backup_, content);
    try {
      logtools::AppendLogFile(backup_, corpus.Between(0, 1) == 1);
    } catch (const platform::RuntimeError&) {
    }
    const std::vector<QStringList> rows = LiveRows();
    ASSERT_LE(static_cast<qsizetype>(rows.size()), content.count('\n') + 1);
    for (const QStringList& row : rows) ASSERT_FALSE(row.join(u',').contains(u'\n'));
    EmptyLiveLog();
  });
}

TEST_F(BackupFileFuzz, WhatTheBackupWritesTheRestoreReadsBack) {
  Corpus corpus({"Q1XYZ", "FN42", "144 M", "a \"quoted\", text\r\nover lines", "  ", "#TRUE#", "-4.5"}, 0xF11E'0006);
  for (int k = 0; k < fuzzing::Scaled(100); ++k) {
    std::vector<QStringList> written;
    {
      platform::QuotedTextWriter file(backup_);
      for (qsizetype n = corpus.Between(1, 5); n > 0; --n) {
        QStringList contact;
        for (int v = 0; v < 9; ++v) contact << Latin1(corpus.Mutated()).remove(u'\0');
        file.WriteRecord({contact[0], contact[1], contact[2], contact[3], contact[4], contact[5], contact[6], contact[7],
                          contact[8]});
        for (QString& value : contact) {
          value.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ').replace(u'"', u'\'');
        }
        written.push_back(contact);
      }
      file.Close();
    }
    logtools::AppendLogFile(backup_, false);
    ASSERT_EQ(LiveRows(), written);
    EmptyLiveLog();
  }
}

TEST(SharedPreferencesFuzz, ASettingLandsInAnyPreferencesTextAsOneElement) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("SharedUserPreferences.xml");
  Corpus corpus({"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<CALL>Q1XYZ</CALL>\r\n<GRID>FN42</GRID>\r\n",
                 "<CALL>\r\n</CALL><CALL></CALL>\n<GRID>FN42<GRID></GRID>"},
                0xF11E'0007);
  using namespace app::modGlobalPreferences;
  corpus.ForEach(fuzzing::Scaled(4000), [&](const QByteArray& content) {
    WriteFile(path, content);
    LoadPreferencesText(path);
    SetPreference("Call", "Q9ZZ", 0);
    ASSERT_TRUE(PreferencesText.contains(QLatin1String("<CALL>Q9ZZ</CALL>"))) << content.toStdString();
  });
}

TEST(MountTableFuzz, AServerNameIsTakenFromAnyMountTableOrPath) {
  Corpus corpus({"//nas/contest /mnt/log cifs rw,relatime 0 0\nnas2:/export/log /srv/log nfs4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n",
                 "\\\\SHACK\\Logs\\Corvane.MDB", "/mnt/log/Corvane.MDB"},
                0xF11E'0008);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& input) {
    const QString text = Latin1(input);
    ASSERT_LE(app::ServerNameFromUncPath(text).size(), text.size());
    ASSERT_LE(app::MountHostOfPath("/mnt/log/Corvane.MDB", text).size(), text.size());
    ASSERT_LE(app::MountHostOfPath(text, Latin1(corpus.Mutated())).size(), 70000 * 5);
  });
}

// Numbers as typed and as settings hold them: a value or nothing, a whole number or an error.
TEST(NumberTextFuzz, NumbersAreFiniteOrRefusedWithTheirErrors) {
  Corpus corpus({"&H378", " -4.5e2 ", ".5", "14.250", "&hFFFFFFFF", "2147483647.5"}, 0xF11E'0009);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& input) {
    const QString text = Latin1(input);
    if (const std::optional<double> value = platform::DecimalOfText(text)) {
      ASSERT_TRUE(std::isfinite(*value));
    }
    if (const std::optional<double> value = platform::ValOfNumberText(text)) {
      ASSERT_TRUE(std::isfinite(*value));
    }
    try {
      platform::WholeOfNumberText(text);
    } catch (const platform::RuntimeError& error) {
      ASSERT_TRUE(error.Number() == 6 || error.Number() == 13) << error.Number();
    }
  });
}

}  // namespace
