#include "spotting/spotlines.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace spotting;

namespace {

const QString kSpot = QStringLiteral("DX de Q2ABC:    144200.0  Q1XYZ        FN42 up 5        1234Z\r\n");
const QString kOtherSpot = QStringLiteral("DX de Q2ABC:     50125.0  Q3DEF        FN20 cq          1235Z\r\n");

QStringList Lines(SpotLineBuffer& buffer) {
  QStringList lines;
  while (std::optional<QString> line = buffer.NextLine()) lines << *line;
  return lines;
}

QStringList LinesOf(const std::vector<DXLine>& spots) {
  QStringList lines;
  for (const DXLine& spot : spots) lines << spot.Line;
  return lines;
}

// The TNC path of one tick: what arrived, the receive box's text before and after, the DX lines.
struct Tick {
  QString ReceivedText;
  bool DxOnly = false;
  SpotLineBuffer Buffer;

  QStringList Take(const QString& input) {
    Buffer.Append(input);
    return LinesOf(TakeReceivedLines(Buffer, ReceivedText, DxOnly));
  }
};

}  // namespace

TEST(SpotLineBuffer, TakesWholeLinesOnlyAndKeepsTheFirst) {
  SpotLineBuffer buffer;
  buffer.Append(kSpot.left(20));
  EXPECT_TRUE(Lines(buffer).isEmpty());
  buffer.Append(kSpot.mid(20, 30));
  EXPECT_TRUE(Lines(buffer).isEmpty());
  buffer.Append(kSpot.mid(50) + kOtherSpot.left(10));
  EXPECT_EQ(Lines(buffer), QStringList{kSpot});
  buffer.Append(kOtherSpot.mid(10) + QStringLiteral("cmd:"));
  EXPECT_EQ(Lines(buffer), QStringList{kOtherSpot});
  buffer.Append(QStringLiteral("\n\nthird\n"));
  EXPECT_EQ(Lines(buffer), (QStringList{QStringLiteral("cmd:\n"), QStringLiteral("\n"), QStringLiteral("third\n")}));
}

TEST(SpotLineBuffer, NulAndHighCharactersStayInTheLine) {
  SpotLineBuffer buffer;
  const QString line = QStringLiteral("DX de Q2ABC:    144200.0  Q1XYZ        ") + QChar(0) + QChar(0xE9) +
                       QChar(0xFF) + QStringLiteral(" up\r\n");
  buffer.Append(line);
  const std::vector<DXLine> spots = TakeDXLines(buffer);
  ASSERT_EQ(spots.size(), 1u);
  EXPECT_EQ(spots[0].Line, line);
  EXPECT_EQ(spots[0].Frequency, QStringLiteral("144200.0"));
  EXPECT_EQ(spots[0].Call, QStringLiteral("Q1XYZ"));
  EXPECT_EQ(SpotRecord(line), line.mid(3));
}

TEST(SpotLineBuffer, TextWithoutALineFeedIsBoundedAndACutLineIsNeverTaken) {
  SpotLineBuffer buffer;
  const QString noise = QString(320, u'\r');
  for (int tick = 0; tick < 3200; ++tick) {  // a megabyte of CR-only text
    buffer.Append(noise);
    ASSERT_TRUE(Lines(buffer).isEmpty());
    ASSERT_LE(buffer.Size(), SpotLineBuffer::MaxUnfinished + 1);
  }
  buffer.Append(QStringLiteral("DX noise end\n") + kSpot);
  EXPECT_EQ(Lines(buffer), QStringList{kSpot});
}

TEST(SpotLineBuffer, ALongLineWithinTheBoundIsTakenWhole) {
  SpotLineBuffer buffer;
  const QString longLine = kSpot.left(60) + QString(SpotLineBuffer::MaxUnfinished - 62, u'x') + QStringLiteral("\r\n");
  ASSERT_EQ(longLine.size(), SpotLineBuffer::MaxUnfinished);
  for (qsizetype at = 0; at < longLine.size(); at += 320) {
    buffer.Append(QStringView(longLine).mid(at, 320));
    if (at + 320 < longLine.size()) {
      ASSERT_TRUE(Lines(buffer).isEmpty());
    }
  }
  EXPECT_EQ(Lines(buffer), QStringList{longLine});
}

TEST(DXLines, FieldsByColumnInAnyLetterCase) {
  const struct {
    const char* line;
    bool dx;
    const char* frequency;
    const char* call;
  } cases[] = {
      {"DX de Q2ABC:    144200.0  Q1XYZ        FN42\r\n", true, "144200.0", "Q1XYZ"},
      {"dx de q2abc:    144200.0  q1xyz\n", true, "144200.0", "q1xyz"},
      {"Dx de Q2ABC:   1296100.0  Q1XYZ/R", true, "1296100.0", "Q1XYZ/R"},
      {"DX de Q2ABC:", true, "", ""},                  // under 16 characters
      {"DX de Q2ABC:    144200.0", true, "144200.0", ""},  // under 27
      {"DX de Q2ABC:    1442\r\n", true, "1442", ""},
      {"DXde", true, "", ""},
      {" DX de Q2ABC:   144200.0  Q1XYZ", false, "", ""},
      {"Q2ABC de Q1XYZ: hello", false, "", ""},
  };
  for (const auto& c : cases) {
    const QString line = QString::fromLatin1(c.line);
    EXPECT_EQ(IsDXLine(line), c.dx) << c.line;
    if (!c.dx) continue;
    const DXLine dx = ParseDXLine(line);
    EXPECT_EQ(dx.Frequency, QString::fromLatin1(c.frequency)) << c.line;
    EXPECT_EQ(dx.Call, QString::fromLatin1(c.call)) << c.line;
  }
  EXPECT_EQ(SpotRecord(QStringLiteral("DX de Q2ABC:    144200.0  Q1XYZ   \r\n")),
            QStringLiteral("de Q2ABC:    144200.0  Q1XYZ   \r\n"));
  EXPECT_EQ(SpotRecord(QStringLiteral("DXXde Q2ABC:  ")), QStringLiteral("de Q2ABC:"));
  EXPECT_EQ(SpotRecord(QStringLiteral("DX")), QString());
}

TEST(ReceivedText, BeyondTenThousandCharactersTheLast9000Stay) {
  QString text = QString(1001, u'a') + QString(9000, u'b');
  QString atLimit = text.mid(1);
  CutReceivedText(text);
  EXPECT_EQ(text, QString(9000, u'b'));
  CutReceivedText(atLimit);
  EXPECT_EQ(atLimit.size(), 10000);
}

TEST(ReceivedText, ARepeatStandsInTheLast801CharactersInAnyCase) {
  const QString line = QStringLiteral("DX de Q2ABC:    144200.0  Q1XYZ\r\n");
  EXPECT_TRUE(IsRepeatLine(line.toLower(), line));
  EXPECT_TRUE(IsRepeatLine(line + QString(801 - line.size(), u'x'), line));
  EXPECT_FALSE(IsRepeatLine(line + QString(802 - line.size(), u'x'), line));
  EXPECT_FALSE(IsRepeatLine(QString(), line));
}

TEST(TncLines, RepeatsInAnotherCaseAreDroppedUntilTheyLeaveTheRecentText) {
  Tick tick;
  EXPECT_EQ(tick.Take(kSpot + kSpot.toLower() + kOtherSpot), (QStringList{kSpot, kOtherSpot}));
  EXPECT_EQ(tick.ReceivedText, kSpot + kOtherSpot);
  EXPECT_TRUE(tick.Take(kOtherSpot.toUpper()).isEmpty());
  const QString chatter = QStringLiteral("Q2ABC de Q1XYZ: nothing heard on 144.200 tonight, qrt soon\r\n");
  for (int i = 0; i < 20; ++i) tick.Take(QString::number(i) + chatter);
  EXPECT_EQ(tick.Take(kSpot), QStringList{kSpot});
}

TEST(TncLines, ChatterIsShownUnlessDxOnlyAndNeverHandedOn) {
  Tick tick;
  const QString chatter = QStringLiteral("cmd:\r\n");
  EXPECT_EQ(tick.Take(chatter + kSpot), QStringList{kSpot});
  EXPECT_EQ(tick.ReceivedText, chatter + kSpot);
  tick.DxOnly = true;
  const QString other = QStringLiteral("Q2ABC de Q1XYZ: 73\r\n");
  EXPECT_EQ(tick.Take(other + kOtherSpot), QStringList{kOtherSpot});
  EXPECT_EQ(tick.ReceivedText, chatter + kSpot + kOtherSpot);
}

TEST(TncLines, ShortDxLinesAreHandedOnWithEmptyFields) {
  Tick tick;
  tick.Buffer.Append(QStringLiteral("dx de Q2ABC:\r\nDX de Q2ABC:    144200.0\r\n"));
  const std::vector<DXLine> spots = TakeReceivedLines(tick.Buffer, tick.ReceivedText, false);
  ASSERT_EQ(spots.size(), 2u);
  EXPECT_EQ(spots[0].Frequency, QString());
  EXPECT_EQ(spots[1].Frequency, QStringLiteral("144200.0"));
  EXPECT_EQ(spots[1].Call, QString());
}

TEST(TncLines, TheReceiveBoxStaysShortWhileLinesPour) {
  Tick tick;
  for (int i = 0; i < 500; ++i) {
    tick.Take(QStringLiteral("Q2ABC de Q1XYZ: line %1 of the evening's chatter\r\n").arg(i));
    ASSERT_LE(tick.ReceivedText.size(), 10000);
  }
  EXPECT_TRUE(tick.ReceivedText.endsWith(QStringLiteral("line 499 of the evening's chatter\r\n")));
}

TEST(TncLines, ABurstGivesWhatATrickleGives) {
  QString text;
  for (int i = 0; i < 2000; ++i) {
    text += QStringLiteral("DX de Q2ABC:    %1.0  Q%2XYZ        FN42\r\n").arg(144000 + i).arg(i);
    if (i % 10 == 9) text += QStringLiteral("dx de q2abc:    %1.0  q%2xyz        fn42\r\n").arg(144000 + i).arg(i);
  }
  Tick burst;
  const QStringList burstLines = burst.Take(text);
  Tick trickle;
  QStringList trickleLines;
  for (qsizetype at = 0; at < text.size(); at += 37) trickleLines += trickle.Take(text.mid(at, 37));
  EXPECT_EQ(burstLines.size(), 2000);
  EXPECT_EQ(burstLines, trickleLines);
  EXPECT_EQ(burst.ReceivedText, trickle.ReceivedText);
}

TEST(TelnetLines, EveryWholeDxLineOnceItEndsWithNoRepeatFilter) {
  SpotLineBuffer buffer;
  buffer.Append(QStringLiteral("login: "));
  EXPECT_TRUE(TakeDXLines(buffer).empty());
  buffer.Append(QStringLiteral("Q1XYZ\r\nHello Q1XYZ, welcome\r\n") + kSpot + kOtherSpot);
  EXPECT_EQ(LinesOf(TakeDXLines(buffer)), (QStringList{kSpot, kOtherSpot}));
  buffer.Append(kSpot.left(30));
  EXPECT_TRUE(TakeDXLines(buffer).empty());
  buffer.Append(kSpot.mid(30));
  const std::vector<DXLine> spots = TakeDXLines(buffer);
  ASSERT_EQ(spots.size(), 1u);
  EXPECT_EQ(spots[0].Line, kSpot);
  EXPECT_EQ(spots[0].Frequency, QStringLiteral("144200.0"));
  EXPECT_EQ(spots[0].Call, QStringLiteral("Q1XYZ"));
}
