// DX lines as a TNC, a telnet cluster or the AGW engine send them, damaged in every way a line can
// be, through the line buffers, the DX line's fields, the spot store and the band maps.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/globals.h"
#include "platform/clock.h"
#include "platform/instances.h"
#include "spotting/bandmapscale.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmaprows.h"
#include "spotting/spotintake.h"
#include "spotting/spotlines.h"
#include "spotting/spotlist.h"
#include "spotting/spotstore.h"
#include "spotting/spotmapwindow.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "corpus.h"

namespace {

using fuzzing::Corpus;
using fuzzing::Latin1;
using spotting::DXLine;
using spotting::SpotLineBuffer;

const std::vector<QByteArray> kClusterSamples = {
    "DX de Q2ABC:     50125.0  Q1XYZ        FN42 up 5                      1805Z FN31\r\n",
    "DX de K1TTT:    144200.0  W1AW         EME calling CQ                 2359Z\r\n"
    "DX de Q3DEF-2:  432100.1  Q9ZZ/P       tnx qso                        0001Z\r\n",
    "dx de q2abc:   1296050.0  Q1XYZ/7      \n",
    "To ALL de Q2ABC: contest starting\r\nDX de Q2ABC:     50125.0  Q1XYZ\r\n",
    "Q2ABC de CLUSTER >\r\n",
    "DX de Q2ABC:  10368100.0  QQ/Q1XYZ     rover FN42 > FN43              0930Z\r\n"
    "DX de Q2ABC:  10368100.0  QQ/Q1XYZ     rover FN42 > FN43              0930Z\r\n",
    "\r\n\r\nDX\r\nDX de\r\n",
};

// The bands whose maps the spots are drawn on, and one that is no band.
const QStringList kBands = {"50 M", "144 M", "222 M", "432 M", "902 M", "1.2 G", "2.3 G", "3.4 G", "5.7 G", "10 G", "6 Q"};

void ExpectSaneDXLine(const DXLine& spot) {
  EXPECT_TRUE(spotting::IsDXLine(spot.Line));
  EXPECT_LE(spot.Frequency.size(), 9);
  EXPECT_LE(spot.Call.size(), 13);
  for (const QString& field : {spot.Frequency, spot.Call}) {
    EXPECT_FALSE(field.contains(u'\n')) << field.toStdString();
  }
}

bool Finite(double value) { return std::isfinite(value); }

// What the band maps make of the store after a batch of spots: places within the scale, slots of
// the store, rows of the spectrum map.
void ExpectSaneMaps(float utcOffset) {
  for (const QString& band : kBands) {
    const spotting::FrequencyRange range = spotting::NarrowToSpots(spotting::BandEdges(band), 0);
    ASSERT_TRUE(Finite(range.Low) && Finite(range.High)) << band.toStdString();
    const std::array<double, 5> scale = spotting::ScaleValues(range);
    for (const spotting::PlacedSpot& spot : spotting::SpotsOnBandMap(scale[0], scale[4], utcOffset)) {
      EXPECT_TRUE(spot.Slot >= 0 && spot.Slot < spotting::StoredSpots) << spot.Slot;
      EXPECT_TRUE(spot.Along >= 0 && spot.Along <= 1) << spot.Along;
    }
  }
  spotting::SpectrumScaleEnds ends;
  for (int row = 0; row < spotting::SpectrumRows; ++row) {
    const std::array<double, 5> scale = spotting::SpectrumRowScale(row);
    for (double value : scale) ASSERT_TRUE(Finite(value));
    ends[row] = {scale[0], scale[4]};
  }
  for (const spotting::SpectrumSpot& spot : spotting::SpotsOnSpectrumMap(ends, utcOffset)) {
    EXPECT_TRUE(spot.Row >= 0 && spot.Row < spotting::SpectrumRows) << spot.Row;
    EXPECT_TRUE(spot.Label.Slot >= 0 && spot.Label.Slot < spotting::StoredSpots);
    EXPECT_TRUE(spot.Label.Along >= 0 && spot.Label.Along <= 1) << spot.Label.Along;
  }
  for (int slot = 0; slot < spotting::StoredSpots; ++slot) spotting::SpotToolTip(slot, utcOffset);
}

TEST(SpotLinesFuzz, TheLineBufferHandsOnEveryWholeLineOnceAndStaysBounded) {
  Corpus corpus(kClusterSamples, 0x5107'0001);
  corpus.ForEach(fuzzing::Scaled(40000), [&](const QByteArray& input) {
    SpotLineBuffer buffer;
    QString taken;
    for (const QByteArray& piece : fuzzing::RandomPieces(input, corpus)) {
      buffer.Append(Latin1(piece));
      while (std::optional<QString> line = buffer.NextLine()) {
        ASSERT_TRUE(line->endsWith(u'\n'));
        ASSERT_EQ(line->indexOf(u'\n'), line->size() - 1);
        taken += *line;
      }
      ASSERT_LE(buffer.Size(), SpotLineBuffer::MaxUnfinished + 1);
    }
    // Below the cut, the lines are exactly the text from the first line feed to the last.
    if (input.size() < SpotLineBuffer::KeptUnfinished) {
      const QString text = u'\n' + Latin1(input);
      ASSERT_EQ(taken, text.sliced(1, text.lastIndexOf(u'\n'))) << input.toStdString();
    }
  });
}

TEST(SpotLinesFuzz, ReceivedLinesKeepTheReceiveBoxShortAndTheirFieldsInTheirColumns) {
  Corpus corpus(kClusterSamples, 0x5107'0002);
  QString receivedText;
  SpotLineBuffer tnc;
  SpotLineBuffer telnet;
  corpus.ForEach(fuzzing::Scaled(40000), [&](const QByteArray& input) {
    const bool dxOnly = corpus.Between(0, 1) == 1;
    for (const QByteArray& piece : fuzzing::RandomPieces(input, corpus)) {
      tnc.Append(Latin1(piece));
      telnet.Append(Latin1(piece));
      for (const DXLine& spot : spotting::TakeReceivedLines(tnc, receivedText, dxOnly)) ExpectSaneDXLine(spot);
      for (const DXLine& spot : spotting::TakeDXLines(telnet)) ExpectSaneDXLine(spot);
      ASSERT_LE(receivedText.size(), 10000);
    }
  });
}

TEST(SpotIntakeFuzz, FiledSpotsGiveWholeRowsAndMapsWithinTheirScales) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), -5);
  Corpus corpus(kClusterSamples, 0x5107'0003);
  int filed = 0;
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& input) {
    SpotLineBuffer buffer;
    buffer.Append(Latin1(input));
    buffer.Append(u"\r\n");
    for (const DXLine& spot : spotting::TakeDXLines(buffer)) {
      const std::optional<double> number = spotting::SpotNumber(spot.Frequency);
      if (number) {
        ASSERT_TRUE(std::fabs(*number) <= std::numeric_limits<float>::max());
      }
      const std::optional<QStringList> row = spotting::FileSpot(spot.Call, spot.Frequency, spotting::SpotRecord(spot.Line));
      ASSERT_EQ(row.has_value(), number.has_value());
      if (row) {
        ASSERT_EQ(row->size(), 8);
        ASSERT_FALSE(row->mid(4).join(QString()).contains(u'\r'));  // the record's columns end at its first CR
        ++filed;
      }
    }
    platform::Clock::Advance(corpus.Between(0, 600'000));
    if (corpus.Between(0, 7) == 0) ExpectSaneMaps(-5);
  });
  EXPECT_GT(filed, 100);  // the corpus reaches the store, not only the line filter
}

// The whole way in the spotting window: the cluster's and the TNC's text reaching the spot list,
// the band map and the spectrum map, as the sockets and the serial port hand it over.
TEST(SpotIntakeFuzz, TheSpottingWindowTakesDamagedStreamsIntoBoundedListsAndMaps) {
  platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(18, 0)), 0);
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  spotting::CreateSpotListColumns(form);
  logging::CurrentBand = QStringLiteral("144 M");
  form.lblDX.SetVisible(true);
  platform::Instance<spotting::SpectrumMap>().Show();
  spotting::PacketSpotfrm& window = platform::Instance<spotting::PacketSpotfrm>();
  const fuzzing::QuietTraces quiet;
  Corpus corpus(kClusterSamples, 0x5107'0004);
  corpus.ForEach(fuzzing::Scaled(2000), [&](const QByteArray& input) {
    window.chkDX.SetValue(corpus.Between(0, 1));
    for (const QByteArray& piece : fuzzing::RandomPieces(input, corpus)) {
      window.TakeTelnetText(Latin1(piece));
      window.SpotBuffer.Append(Latin1(piece));
      window.ProcessTNCBuffer();
    }
    ASSERT_LE(form.txtDX.ListItems.Count(), spotting::SpotListRows);
    ASSERT_LE(window.ReceivedText.Text().size(), 10000);
    platform::Clock::Advance(corpus.Between(0, 300'000));
  });
  EXPECT_GT(form.txtDX.ListItems.Count(), 0);
  platform::UnloadAll();
}

}  // namespace
