#include "app/globalpreferences.h"

#include "platform/errors.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "damagedfiles.h"

using namespace app::modGlobalPreferences;

namespace {

const QByteArray Declaration = R"(<?xml version="1.0" encoding="UTF-8" ?>)";

class SharedPreferences : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  // The path as the program writes it, with "\" before the file name.
  QString ProgramPath() const { return folder.path() + SharedPreferencesFile; }
  QString NativeFile() const { return folder.path() + "/SharedUserPreferences.xml"; }

  QByteArray FileBytes() const {
    QFile file(NativeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteFile(const QByteArray& bytes) const {
    QFile file(NativeFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // What the station dialog's Done sets, in its order.
  void SetStation(const QString& call, const QString& utc, const QString& grid, const QString& longitude,
                  const QString& latitude) {
    SetPreference("OWN_CALL", call, 0);
    SetPreference("OWN_UTC", utc, 0);
    SetPreference("OWN_GRID", grid, 0);
    SetPreference("OWN_LONGITUDE", longitude, 0);
    SetPreference("OWN_LATITUDE", latitude, 1);
  }

  QTemporaryDir folder;
};

TEST_F(SharedPreferences, MissingFileStartsWithDeclarationAndWritesNothing) {
  LoadPreferencesText(ProgramPath());
  EXPECT_EQ(PreferencesText, QString::fromLatin1(Declaration));
  EXPECT_EQ(PreferencesPath, ProgramPath());
  EXPECT_FALSE(QFile::exists(NativeFile()));
}

TEST_F(SharedPreferences, FirstBatchWritesDeclarationAndFiveElementsOnceAtTheEnd) {
  LoadPreferencesText(ProgramPath());
  SetPreference("OWN_CALL", "W1AW", 0);
  EXPECT_FALSE(QFile::exists(NativeFile())) << "only the last setting of a batch saves";
  SetPreference("OWN_UTC", "5", 0);
  SetPreference("OWN_GRID", "FN31", 0);
  SetPreference("OWN_LONGITUDE", "72.5", 0);
  SetPreference("OWN_LATITUDE", "41.5", 1);
  EXPECT_EQ(FileBytes(), Declaration +
                             "\r\n<OWN_CALL>W1AW</OWN_CALL>"
                             "\r\n<OWN_UTC>5</OWN_UTC>"
                             "\r\n<OWN_GRID>FN31</OWN_GRID>"
                             "\r\n<OWN_LONGITUDE>72.5</OWN_LONGITUDE>"
                             "\r\n<OWN_LATITUDE>41.5</OWN_LATITUDE>\r\n");
}

TEST_F(SharedPreferences, SettingAgainReplacesOnlyTheValueInPlace) {
  LoadPreferencesText(ProgramPath());
  SetStation("W1AW", "5", "FN31", "72.5", "41.5");
  SetPreference("OWN_ADDRESS_NAME", "Hiram", 1);

  SetStation("K1ABC/R", "-4", "FN20", "0", "0");
  SetPreference("own_address_name", "A <b> & \"c\"", 1);

  EXPECT_EQ(FileBytes(), Declaration +
                             "\r\n<OWN_CALL>K1ABC/R</OWN_CALL>"
                             "\r\n<OWN_UTC>-4</OWN_UTC>"
                             "\r\n<OWN_GRID>FN20</OWN_GRID>"
                             "\r\n<OWN_LONGITUDE>0</OWN_LONGITUDE>"
                             "\r\n<OWN_LATITUDE>0</OWN_LATITUDE>"
                             "\r\n<OWN_ADDRESS_NAME>A <b> & \"c\"</OWN_ADDRESS_NAME>\r\n");
}

TEST_F(SharedPreferences, LoadingAndSavingUnchangedKeepsEveryByte) {
  const QByteArray utf8 = Declaration +
                          "\r\n<OWN_CALL>W1AW</OWN_CALL>"
                          "\r\n<OWN_ADDRESS_LINE1>Caf\xC3\xA9 \xC5\x81\xC3\xB3"
                          "d\xC5\xBA <1></OWN_ADDRESS_LINE1>\r\n";
  for (const QByteArray& original : {utf8, "\xEF\xBB\xBF" + utf8}) {
    SCOPED_TRACE(original.startsWith('<') ? "UTF-8" : "UTF-8 after a byte-order mark");
    WriteFile(original);
    LoadPreferencesText(ProgramPath());
    SavePreferencesText(ProgramPath());
    EXPECT_EQ(FileBytes(), original);
  }
}

// The file declares UTF-8, and the station's other programs read it so; this program reads it back
// on its next start and keeps every value whole when it saves again.
TEST_F(SharedPreferences, ValuesAreWrittenInUtf8AndReadBackWhole) {
  const QByteArray nameLine = "\r\n<OWN_ADDRESS_NAME>J\xC3\xB6rg \xC5\x81ukasz</OWN_ADDRESS_NAME>";
  LoadPreferencesText(ProgramPath());
  SetPreference("OWN_ADDRESS_NAME", QStringLiteral("J\u00F6rg \u0141ukasz"), 1);
  EXPECT_EQ(FileBytes(), Declaration + nameLine + "\r\n");

  LoadPreferencesText(ProgramPath());
  EXPECT_TRUE(PreferencesText.contains(QStringLiteral(">J\u00F6rg \u0141ukasz<")));
  SetPreference("OWN_CALL", "W1AW", 1);
  EXPECT_EQ(FileBytes(), Declaration + nameLine + "\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n");
}

// The station's other programs, and earlier versions of this one, add lines in the Windows code
// page to the UTF-8 file. Each line is read on its own: one such line leaves the UTF-8 ones whole,
// and the next save writes every value in UTF-8, the same again on the next start.
TEST_F(SharedPreferences, ALineInTheWindowsCodePageLeavesEveryOtherLineWholeAndIsSavedInUtf8) {
  const struct {
    const char* what;
    QByteArray head;
    QByteArray savedHead;
  } files[] = {
      {"after the declaration", Declaration, Declaration},
      {"a byte-order mark before a line in the code page", "\xEF\xBB\xBF<CLUB>Caf\xE9</CLUB>",
       "\xEF\xBB\xBF<CLUB>Caf\xC3\xA9</CLUB>"},
  };
  const QByteArray lines =
      "\r\n<OWN_ADDRESS_NAME>J\xC3\xB6rg \xC5\x81ukasz</OWN_ADDRESS_NAME>"
      "\r\n<OWN_CALL>W1AW</OWN_CALL>"
      "\r\n<OTHER_NAME>J\xF6rg M\xFCller</OTHER_NAME>"
      "\r\n<OTHER_NOTE>\x80 5 \x91QRP\x92 \x93" "field day\x94 \x81\x8D\x8F\x90\x9D</OTHER_NOTE>\n";
  const QByteArray savedLines =
      "\r\n<OWN_ADDRESS_NAME>J\xC3\xB6rg \xC5\x81ukasz</OWN_ADDRESS_NAME>"
      "\r\n<OWN_CALL>K2XY</OWN_CALL>"
      "\r\n<OTHER_NAME>J\xC3\xB6rg M\xC3\xBCller</OTHER_NAME>"
      "\r\n<OTHER_NOTE>\xE2\x82\xAC 5 \xE2\x80\x98QRP\xE2\x80\x99 \xE2\x80\x9C"
      "field day\xE2\x80\x9D \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D</OTHER_NOTE>\r\n";
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    WriteFile(f.head + lines);
    LoadPreferencesText(ProgramPath());
    EXPECT_TRUE(PreferencesText.contains(QStringLiteral(">J\u00F6rg \u0141ukasz<")));
    EXPECT_TRUE(PreferencesText.contains(QStringLiteral(">\u20AC 5 \u2018QRP\u2019 \u201Cfield day\u201D ")));
    SetPreference("OWN_CALL", "K2XY", 1);
    EXPECT_EQ(FileBytes(), f.savedHead + savedLines);

    LoadPreferencesText(ProgramPath());
    SavePreferencesText(ProgramPath());
    EXPECT_EQ(FileBytes(), f.savedHead + savedLines) << "read back as it was saved";
  }
}

// A file saved as "Unicode" by a Windows editor is UTF-16 with its byte-order mark, in either byte
// order: every value is read whole, and the save writes the file in UTF-8 behind a UTF-8 mark.
TEST_F(SharedPreferences, AUtf16FileWithItsByteOrderMarkIsReadWholeAndSavedInUtf8) {
  const QString lines = QString::fromLatin1(Declaration) +
                        QStringLiteral("\r\n<OWN_ADDRESS_NAME>J\u00F6rg \u0141ukasz</OWN_ADDRESS_NAME>"
                                       "\r\n<OTHER_NOTE>\u20AC 5 \u201Cfield day\u201D</OTHER_NOTE>\r\n");
  const QByteArray saved = "\xEF\xBB\xBF" + Declaration +
                           "\r\n<OWN_ADDRESS_NAME>J\xC3\xB6rg \xC5\x81ukasz</OWN_ADDRESS_NAME>"
                           "\r\n<OTHER_NOTE>\xE2\x82\xAC 5 \xE2\x80\x9C" "field day\xE2\x80\x9D</OTHER_NOTE>"
                           "\r\n<OWN_CALL>K2XY</OWN_CALL>\r\n";
  for (const auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
    SCOPED_TRACE(encoding == QStringEncoder::Utf16LE ? "little-endian" : "big-endian");
    QStringEncoder utf16(encoding, QStringEncoder::Flag::WriteBom);
    WriteFile(utf16(lines));
    LoadPreferencesText(ProgramPath());
    EXPECT_TRUE(PreferencesText.contains(QStringLiteral(">J\u00F6rg \u0141ukasz<")));
    SetPreference("OWN_CALL", "K2XY", 1);
    EXPECT_EQ(FileBytes(), saved);
  }
}

// Only strict UTF-8 is UTF-8: a line with any other byte sequence is in the code page, each byte the
// character it stands for there.
TEST_F(SharedPreferences, ALineThatIsNotStrictUtf8IsInTheCodePage) {
  const struct {
    const char* what;
    QByteArray codePage;
    QByteArray utf8;
  } cases[] = {
      {"letters with accents", "J\xF6rg Caf\xE9</OTHER_APP>\r\n", "J\xC3\xB6rg Caf\xC3\xA9</OTHER_APP>\r\n"},
      {"a lead byte cut short at the file's end", "Caf\xE9", "Caf\xC3\xA9\r\n"},
      {"a continuation byte alone", "\xA9 2024\r\n", "\xC2\xA9 2024\r\n"},
      {"an overlong \"/\"", "\xC0\xAF\r\n", "\xC3\x80\xC2\xAF\r\n"},
      {"a surrogate", "\xED\xA0\x80\r\n", "\xC3\xAD\xC2\xA0\xE2\x82\xAC\r\n"},
      {"past U+10FFFF", "\xF4\x90\x80\x80\r\n", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC\r\n"},
  };
  const QByteArray head = "\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n<OTHER_APP>";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(Declaration + head + c.codePage);
    LoadPreferencesText(ProgramPath());
    SetPreference("OWN_CALL", "K2XY", 1);
    EXPECT_EQ(FileBytes(), Declaration + "\r\n<OWN_CALL>K2XY</OWN_CALL>\r\n<OTHER_APP>" + c.utf8);
  }
}

TEST_F(SharedPreferences, ExistingFileIsEditedWhereItStands) {
  WriteFile(Declaration + "\r\n<OWN_CLUB_NAME>Club</OWN_CLUB_NAME>\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n");
  LoadPreferencesText(ProgramPath());
  SetPreference("OWN_CALL", "N1XYZ", 0);
  SetPreference("OWN_GRID", "FN42", 1);
  EXPECT_EQ(FileBytes(), Declaration +
                             "\r\n<OWN_CLUB_NAME>Club</OWN_CLUB_NAME>"
                             "\r\n<OWN_CALL>N1XYZ</OWN_CALL>"
                             "\r\n<OWN_GRID>FN42</OWN_GRID>\r\n");
}

// Another program may write an element across lines, or a line may have lost its closing tag. Only
// an element that opens and closes on one line is edited in place; otherwise the element is added
// as a new line, which later settings then edit, and no other line is touched.
TEST_F(SharedPreferences, ElementsNotClosedOnTheirLineAreLeftAndTheValueAddedOnANewLine) {
  const struct {
    const char* damage;
    QByteArray file;
  } cases[] = {
      {"closing tag on a later line",
       Declaration + "\r\n<OWN_CALL>\r\nW1A\r\n<OTHER_APP>keep</OTHER_APP>\r\n</OWN_CALL>\r\n<OWN_GRID>FN31</OWN_GRID>\r\n"},
      {"closing tag lost", Declaration + "\r\n<OWN_CALL>W1A\r\n<OTHER_APP>keep</OTHER_APP>\r\n<OWN_GRID>FN31</OWN_GRID>\r\n"},
      {"closing tag lost, another element's on the line",
       Declaration + "\r\n<OWN_CALL>W1A <OWN_GRID>FN31</OWN_GRID>\r\n<OTHER_APP>keep</OTHER_APP>\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    WriteFile(c.file);
    LoadPreferencesText(ProgramPath());
    SetPreference("OWN_CALL", "W1AW", 1);
    EXPECT_EQ(FileBytes(), c.file + "<OWN_CALL>W1AW</OWN_CALL>\r\n");
    SetPreference("OWN_CALL", "K2XY", 1);
    EXPECT_EQ(FileBytes(), c.file + "<OWN_CALL>K2XY</OWN_CALL>\r\n");
  }
}

TEST_F(SharedPreferences, EmptyOrUnterminatedFilesLoadWhole) {
  WriteFile("");
  LoadPreferencesText(ProgramPath());
  EXPECT_EQ(PreferencesText, QString::fromLatin1(Declaration));

  WriteFile(Declaration + "\n<OWN_CALL>W1AW</OWN_CALL>");
  LoadPreferencesText(ProgramPath());
  EXPECT_TRUE(PreferencesText.endsWith("</OWN_CALL>")) << "a file without a final line end keeps its last tag";
}

// A FIFO would block the program for ever, a link to /dev/zero read until memory runs out.
TEST_F(SharedPreferences, OnlyARegularFileOfAtMost4MiBIsRead) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(NativeFile()).constData(), 0600), 0);
  EXPECT_TRUE(FinishesWithoutAWriter(NativeFile(), [this] {
    EXPECT_THROW(LoadPreferencesText(ProgramPath()), platform::RuntimeError);
  }));
  ASSERT_TRUE(QFile::remove(NativeFile()));

  ASSERT_TRUE(QFile::link("/dev/zero", NativeFile()));
  EXPECT_THROW(LoadPreferencesText(ProgramPath()), platform::RuntimeError);
  ASSERT_TRUE(QFile::remove(NativeFile()));

  WriteFile(Declaration + "\r\n<OWN_CALL>W1AW</OWN_CALL>" + QByteArray(4 * 1024 * 1024, ' '));
  try {
    LoadPreferencesText(ProgramPath());
    ADD_FAILURE() << "read";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.Number(), 75);
    EXPECT_TRUE(error.Description().contains("larger than 4 MiB")) << error.Description().toStdString();
  }

  const QString target = folder.path() + "/elsewhere.xml";
  ASSERT_TRUE(QFile::rename(NativeFile(), target));
  QFile::resize(target, 4 * 1024 * 1024);
  ASSERT_TRUE(QFile::link(target, NativeFile()));
  LoadPreferencesText(ProgramPath());
  EXPECT_TRUE(PreferencesText.startsWith(Declaration + "\r\n<OWN_CALL>W1AW</OWN_CALL>"))
      << "a link to a regular file of 4 MiB is followed and read";
}

TEST_F(SharedPreferences, SaveIntoMissingFolderThrows) {
  LoadPreferencesText(folder.path() + "\\missing" + SharedPreferencesFile);
  EXPECT_THROW(SetPreference("OWN_CALL", "W1AW", 1), platform::RuntimeError);
}

TEST(CallToFileStem, KeepsLeadingCapitalsAndDigits) {
  const struct {
    const char* call;
    const char* stem;
  } cases[] = {
      {"W1AW", "W1AW"},    {"K1ABC/R", "K1ABC"}, {"VE3/W1AW", "VE3"},  {"w1aw", "YourCall"},
      {"W1aw", "W1"},      {"", "YourCall"},      {"/R", "YourCall"}, {"N1X YZ", "N1X"},
      {"\xC4" "B1", "YourCall"},
  };
  for (const auto& c : cases) EXPECT_EQ(CallToFileStem(QString::fromLatin1(c.call)), c.stem) << c.call;
}

}  // namespace
