#include "platform/quotedtext.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "asordinaryuser.h"
#include "damagedfiles.h"
#include "fulldisk.h"

using namespace platform;

namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(QuotedText, ValuesAreWrittenAsTheFilesHoldThem) {
  const std::uint8_t contestType = 3;
  const std::int32_t color = -2147483647;
  const std::int16_t check = 1;
  EXPECT_EQ(FormatQuotedRecord({"W1AW, portable", "", contestType, color, check, QuotedValue::None(), "599"}),
            "\"W1AW, portable\",\"\",3,-2147483647,1,,\"599\"");

  const struct {
    QuotedValue value;
    const char* written;
  } numbers[] = {
      {7000.0f, "7000"},   {-4.5f, "-4.5"},         {7.5f, "7.5"},
      {0.5f, ".5"},        {-0.5f, "-.5"},          {0.1f, ".1"},
      {0.0f, "0"},         {-0.0f, "0"},            {1234567.0f, "1234567"},
      {-5, "-5"},          {0.1, ".1"},             {-71.1234567890123, "-71.1234567890123"},
      {1.0 / 3, ".333333333333333"},                {42.0, "42"},
      {1e20f, "1E+20"},
  };
  for (const auto& n : numbers) EXPECT_EQ(n.value.Written(), n.written);
}

TEST(QuotedText, QuotesAndLineBreaksInTextCannotShiftTheRecord) {
  const struct {
    const char* text;
    const char* written;
  } cases[] = {
      {"6' 2\" dish", "\"6' 2' dish\""},
      {"line 1\r\nline 2", "\"line 1 line 2\""},
      {"a\rb\nc\n\nd", "\"a b c  d\""},
      {"\"\r\n\"", "\"' '\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedValue(c.text).Written(), c.written) << c.text;

  QTemporaryDir dir;
  const QString path = dir.path() + "/notes.txt";
  QuotedTextWriter writer(path);
  writer.WriteRecord({"W1AW", "said \"QRZ?\"\r\ntwice", 5});
  writer.WriteRecord({"K2XY", "", 7});
  writer.Close();
  QuotedTextReader reader(path);
  EXPECT_EQ(reader.ReadRecord(), QStringList({"W1AW", "said 'QRZ?' twice", "5"}));
  EXPECT_EQ(reader.ReadRecord(), QStringList({"K2XY", "", "7"}));
  EXPECT_TRUE(reader.AtEnd());
}

TEST(QuotedText, RoundTripThroughAFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/corvaneprf.txt";
  QuotedTextWriter writer(path);
  writer.WriteRecord({"W1AW"});
  writer.WriteRecord({-4.5f});
  writer.WriteRecord({"a, b  c ", "", 14, 0.25});
  writer.Close();

  EXPECT_EQ(Contents(path), "\"W1AW\"\r\n-4.5\r\n\"a, b  c \",\"\",14,.25\r\n");

  QuotedTextReader reader(path);
  EXPECT_EQ(reader.Next(), "W1AW");
  EXPECT_FLOAT_EQ(reader.Next().toFloat(), -4.5f);
  EXPECT_EQ(reader.ReadRecord(), QStringList({"a, b  c ", "", "14", ".25"}));
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.ReadPastEnd());
  EXPECT_DOUBLE_EQ(QString(".25").toDouble(), 0.25);
}

TEST(QuotedText, YesNoValuesRoundTripBetweenNumberSigns) {
  EXPECT_EQ(FormatQuotedRecord({true, false, 1}), "#TRUE#,#FALSE#,1");

  QTemporaryDir dir;
  const QString path = dir.path() + "/flags.txt";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#TRUE#\r\n#false#\r\n1\r\nTRUE\r\n");
  file.close();
  const struct {
    bool readable;
    bool value;
  } expected[] = {{true, true}, {true, false}, {false, false}, {false, false}};
  TypedValueReader reader(path, "flags.txt");
  for (const auto& e : expected) {
    if (e.readable) {
      EXPECT_EQ(reader.Boolean(), e.value);
    } else {
      EXPECT_THROW(reader.Boolean(), RuntimeError);
    }
  }
  EXPECT_THROW(reader.Boolean(), RuntimeError) << "past the end";
}

TEST(QuotedText, DamagedAndShortLinesStillRead) {
  const struct {
    const char* content;
    QList<QStringList> records;
  } cases[] = {
      {"\"a, b\",  7 , \"\"\r\n", {{"a, b", "7", ""}}},
      {"1,2\n3\n", {{"1", "2"}, {"3"}}},
      {"1,2\r\n3", {{"1", "2"}, {"3"}}},
      {"\"unterminated, x\r\n\"next\"\r\n", {{"unterminated, x"}, {"next"}}},
      {"\"a\"junk,b\r\n", {{"a", "b"}}},
      {"x,\r\n\r\ny\r\n", {{"x", ""}, {""}, {"y"}}},
      {"\"W1AW\",\"59\"\r\n\r\n\r\n", {{"W1AW", "59"}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    QuotedTextReader reader = QuotedTextReader::FromBytes(c.content);
    QList<QStringList> records;
    while (!reader.AtEnd()) records << reader.ReadRecord();
    EXPECT_EQ(records, c.records) << c.content;
    EXPECT_FALSE(reader.ReadPastEnd()) << c.content;
  }
}

TEST(QuotedText, AQuoteLeftOpenIsToldOfTheRecordItEnds) {
  QuotedTextReader reader = QuotedTextReader::FromBytes("\"a\",\"b\r\n\"c\",\"\"\r\n\"d");
  EXPECT_EQ(reader.ReadRecord(), QStringList({"a", "b"}));
  EXPECT_TRUE(reader.LastQuoteUnclosed());
  EXPECT_EQ(reader.ReadRecord(), QStringList({"c", ""}));
  EXPECT_FALSE(reader.LastQuoteUnclosed());
  EXPECT_EQ(reader.ReadRecord(), QStringList({"d"}));
  EXPECT_TRUE(reader.LastQuoteUnclosed()) << "at the end of the file too";
}

TEST(QuotedText, ValueByValueCrossesLineEndsAndRunsOutGently) {
  // Two backup records of nine values, the second one cut short.
  QuotedTextReader reader = QuotedTextReader::FromBytes(
      "\"W1AW\",\"59\",\"FN31\",\"59\",\"FN42\",\"2024/06/15\",\"18:00:00\",\"144 M\",\"PH\"\r\n"
      "\"K1ABC\",\"599\"\r\n\"FN32\"\r\n");
  QStringList first;
  for (int i = 0; i < 9; ++i) first << reader.Next();
  EXPECT_EQ(first.last(), "PH");
  EXPECT_EQ(reader.Next(), "K1ABC");
  EXPECT_EQ(reader.Next(), "599");
  EXPECT_EQ(reader.Next(), "FN32");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Next(), "");
  EXPECT_EQ(reader.Next().toInt(), 0);
  EXPECT_TRUE(reader.ReadPastEnd());
  EXPECT_TRUE(reader.ReadRecord().isEmpty());

  // A comma before the end promises one more, empty, value.
  QuotedTextReader trailing = QuotedTextReader::FromBytes("\"K1ABC\",");
  EXPECT_EQ(trailing.Next(), "K1ABC");
  EXPECT_FALSE(trailing.AtEnd());
  EXPECT_EQ(trailing.Next(), "");
  EXPECT_FALSE(trailing.ReadPastEnd());
}

// A damaged file of the largest size read, all line ends but its last value: each line asks
// whether only blank lines are left, and that must not rescan the rest of the file every time.
TEST(QuotedText, AFileOfBlankLinesReadsLineByLineToItsLastValue) {
  const int lines = 2'000'000;
  QuotedTextReader reader = QuotedTextReader::FromBytes(QByteArray(lines, '\n') + "\"last\"\r\n \r\n");
  int read = 0;
  QStringList values;
  for (; !reader.AtEnd(); ++read) values = reader.ReadRecord();
  EXPECT_EQ(read, lines + 1);
  EXPECT_EQ(values, QStringList{"last"});
}

TEST(QuotedText, FileErrorsAreRuntimeErrors) {
  QTemporaryDir dir;
  try {
    QuotedTextReader reader(dir.path() + "\\missing.txt");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), "File not found");
  }
  try {
    QuotedTextWriter writer(dir.path() + "\\NoFolder\\x.txt");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 76);
  }
}

TEST(QuotedText, ReaderRefusesWhatIsNoRegularFileOrTooLarge) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("fifo.txt");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_TRUE(FinishesWithoutAWriter(fifo, [&] { EXPECT_THROW(QuotedTextReader reader(fifo), RuntimeError); }));
  ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.txt")));
  EXPECT_THROW(QuotedTextReader reader(dir.filePath("zero.txt")), RuntimeError);

  QFile big(dir.filePath("big.txt"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write("\"W1AW\",1\r\n");
  ASSERT_TRUE(big.resize(MaxTextFileBytes + 1));
  big.close();
  EXPECT_THROW(QuotedTextReader reader(big.fileName()), RuntimeError);
  ASSERT_TRUE(big.resize(MaxTextFileBytes));
  QuotedTextReader reader(big.fileName());
  EXPECT_EQ(reader.ReadRecord(), QStringList({"W1AW", "1"}));
}

TEST(QuotedText, WriterReplacesTheFileOnlyWhenClosed) {
  QTemporaryDir dir;
  const QString root = QDir(dir.path()).canonicalPath();
  {
    QFile existing(root + "/cw.txt");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("\"old\"\r\n");
  }
  {
    QuotedTextWriter abandoned(root + "\\CW.txt");  // an error left before Close
    abandoned.WriteRecord({"half"});
  }
  EXPECT_EQ(Contents(root + "/cw.txt"), "\"old\"\r\n");

  QuotedTextWriter writer(root + "\\CW.txt");
  writer.WriteRecord({"new"});
  writer.Close();
  EXPECT_EQ(Contents(root + "/cw.txt"), "\"new\"\r\n");
  EXPECT_FALSE(QFile::exists(root + "/CW.txt"));  // one file, whatever case it is named in
}

TEST(QuotedText, WriterOnAFullDiskLeavesTheOldFileWholeAndNothingBesideIt) {
  QTemporaryDir dir;
  const QString target = dir.filePath("cw.txt");
  {
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("\"old\"\r\n");
  }
  {
    FullDisk full;
    QuotedTextWriter writer(target);
    for (int i = 0; i < 20; ++i) writer.WriteRecord({"a value longer than the disk takes", i});
    EXPECT_THROW(writer.Close(), RuntimeError);
  }
  EXPECT_EQ(Contents(target), "\"old\"\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"cw.txt"}));
}

TEST(QuotedText, WriterInAFolderThatTakesNoNewFileWritesTheFileInPlace) {
  // A log folder the user may not add files to, holding a file the user may write.
  QTemporaryDir dir;
  const QString folder = dir.path() + "/closed";
  const QString target = folder + "/cw.txt";
  ASSERT_TRUE(QDir().mkdir(folder));
  {
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("\"old\"\r\n");
  }
  const auto everyone = [](QFile::Permissions read) {
    return read | QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
  };
  const auto open = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
  ASSERT_TRUE(QFile::setPermissions(target, everyone(QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
  ASSERT_TRUE(QFile::setPermissions(folder, everyone(open)));
  ASSERT_TRUE(QFile::setPermissions(dir.path(), everyone(open | QFile::WriteOwner)));
  {
    AsOrdinaryUser user;
    if (!user.Active()) GTEST_SKIP() << "cannot check file access as an ordinary user";
    QuotedTextWriter writer(target);
    writer.WriteRecord({"new"});
    writer.Close();
  }
  EXPECT_EQ(Contents(target), "\"new\"\r\n");
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"cw.txt"}));
  QFile::setPermissions(folder, everyone(open | QFile::WriteOwner));
}
