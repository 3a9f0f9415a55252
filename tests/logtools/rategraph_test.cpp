#include "logging/logstore.h"
#include "logtools/rategraph.h"

#include <QDateTime>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using logtools::ComputeRateGraph;
using logtools::GraphColors;
using logtools::GraphContact;
using logtools::GraphReach;
using logtools::RateGraph;
using platform::Color;

namespace {

constexpr Color Black = platform::RGB(0, 0, 0);
constexpr Color White = platform::RGB(255, 255, 255);
constexpr Color Blue = platform::RGB(0, 0, 255);
constexpr Color Red = platform::RGB(255, 0, 0);
constexpr Color Green = platform::RGB(0, 255, 0);
constexpr Color Yellow = platform::RGB(255, 255, 0);

// A contact so many seconds after 2024/06/08 18:00:00 UTC, stored as the log stores it.
struct Entry {
  int Offset;
  const char* Band = "144 M";
};

GraphContact At(int offset, const QString& band) {
  const QDateTime moment = QDateTime(QDate(2024, 6, 8), QTime(18, 0), Qt::UTC).addSecs(offset);
  return {moment.toString(QStringLiteral("yyyy/MM/dd")), moment.toString(QStringLiteral("HH:mm:ss")), band};
}

std::vector<GraphContact> Log(const std::vector<Entry>& entries) {
  std::vector<GraphContact> log;
  for (const Entry& entry : entries) log.push_back(At(entry.Offset, QString::fromLatin1(entry.Band)));
  return log;
}

// Contacts `apart` seconds apart from offset 0 to `last`.
std::vector<GraphContact> Every(int apart, int last) {
  std::vector<GraphContact> log;
  for (int offset = 0; offset <= last; offset += apart) log.push_back(At(offset, QStringLiteral("144 M")));
  return log;
}

// The last contact 1500 s after the first makes every slot one second wide.
std::vector<GraphContact> OneSecondSlots(std::vector<Entry> entries) {
  entries.push_back({1500});
  return Log(entries);
}

struct SlotValue {
  std::int32_t Slot;
  float Value;
};
struct SlotColor {
  std::int32_t Slot;
  Color Value;
};

struct GraphCase {
  std::string Name;
  std::vector<GraphContact> Contacts;
  Color Background;
  GraphReach Reach;
  std::vector<SlotValue> Rates = {};
  std::vector<SlotValue> Smoothed = {};
  std::vector<SlotColor> Colors = {};
  std::vector<std::pair<int, const char*>> ValueLabels = {};
};

// Two long gaps, slots 2-99 and 117-199, and a gap of 15 empty slots, 101-115.
const std::vector<GraphContact> GapLog = OneSecondSlots({{0}, {100}, {116}, {200}, {300}, {400}});
// The same with 16 empty slots, 101-116.
const std::vector<GraphContact> LongerGapLog = OneSecondSlots({{0}, {100}, {117}, {200}, {300}, {400}});
// 50 M (white) at the start of the first run, inside it, and alone after a long gap.
const std::vector<GraphContact> FiftyLog =
    OneSecondSlots({{0, "50 M"}, {10, "144 M"}, {12, "50 M"}, {400, "50 M"}, {500, "432 M"}, {600, "50 M"}});

std::vector<GraphCase> GraphCases() {
  std::vector<Entry> tenInAMinute;
  for (int offset = 0; offset < 60; offset += 6) tenInAMinute.push_back({offset});
  std::vector<Entry> busy;
  for (int offset = 0; offset < 170; ++offset) busy.push_back({offset});

  return {
      {"six contacts are too few", Log({{0}, {10}, {20}, {30}, {40}, {1500}}), Black, GraphReach::TooFewContacts},
      {"seven contacts draw", OneSecondSlots({{0}, {10}, {20}, {30}, {40}, {50}}), Black, GraphReach::Curve,
       {{1, 6}, {10, 12}, {50, 36}}},
      {"a contact 599 s older counts", OneSecondSlots({{0}, {10}, {20}, {30}, {700}, {1299}}), Black,
       GraphReach::Curve, {{700, 6}, {1299, 12}, {1500, 12}}},
      {"a contact 600 s older does not", OneSecondSlots({{0}, {10}, {20}, {30}, {700}, {1300}}), Black,
       GraphReach::Curve, {{1300, 6}, {1500, 12}}},
      {"ten contacts in one minute give 60", OneSecondSlots(tenInAMinute), Black, GraphReach::Curve,
       {{54, 60}, {1500, 6}}},
      // Slots of two seconds: 101 s is slot 50.5 and goes to 50, 103 s is 51.5 and goes to 52.
      {"the later contact of a slot wins, halves go to the even slot",
       Log({{0}, {100, "144 M"}, {101, "432 M"}, {103, "222 M"}, {200}, {300}, {3000}}), Black, GraphReach::Curve,
       {{50, 18}, {51, 18}, {52, 24}}, {}, {{50, Green}, {51, Green}, {52, Red}}},
      {"a gap of 15 empty slots ramps from the slot before", GapLog, Black, GraphReach::Curve,
       {{100, 12}, {101, 12}, {108, 14.8F}, {115, 17.6F}, {116, 18}}},
      {"a longer gap ramps over its last 15 slots only, from 0", LongerGapLog, Black, GraphReach::Curve,
       {{101, 0}, {102, 0}, {103, 1.2F}, {116, 16.8F}, {117, 18}}},
      {"a long gap from the first contact ramps over its last 15 slots", GapLog, Black, GraphReach::Curve,
       {{2, 0}, {84, 0}, {85, 0}, {86, 0.8F}, {99, 11.2F}}},
      {"the curve is the mean of the positive rates of seven slots", GapLog, Black, GraphReach::Curve, {},
       {{1, 6}, {50, 0}, {86, 0.8F}, {100, 9.6F}}},
      {"2.3 G and every band without a label of its own are yellow",
       OneSecondSlots({{0}, {100, "2.3 G"}, {200, "10 G"}, {300, "144 m"}, {400, "1.3 G"}, {500, "902 M"}}), Black,
       GraphReach::Curve, {}, {},
       {{1, Blue}, {100, Yellow}, {200, Yellow}, {300, Yellow}, {400, platform::RGB(255, 0, 255)},
        {500, platform::RGB(128, 255, 255)}}},
      {"on white, 50 M takes the colour carried in its run, else white, black from slot 1", FiftyLog, White,
       GraphReach::Curve, {}, {},
       {{1, Black}, {5, Black}, {10, Blue}, {11, Blue}, {12, Blue}, {390, White}, {400, White}, {500, Green}}},
      {"on black, 50 M keeps its white", FiftyLog, Black, GraphReach::Curve, {}, {},
       {{1, White}, {5, White}, {10, Blue}, {11, Blue}, {12, White}, {400, White}}},
      // Rates 12 (two contacts in slot 1), 18, 24, 30, 36; the curve keeps 6 in slot 1 and
      // reaches 36 in slot 5, and is 0 over the long gap after it.
      {"value labels", OneSecondSlots({{0}, {1}, {2}, {3}, {4}, {5}}), Black, GraphReach::Curve, {{1, 12}},
       {{1, 6}, {5, 36}, {7, 24}},
       {},
       {{0, "0.0"}, {1, "2.3"}, {2, "4.5"}, {3, "6.8"}, {8, "18.0"}, {16, "36.0"}}},
      {"value labels need no thousands separator", OneSecondSlots(busy), Black, GraphReach::Curve, {{169, 1020}},
       {{175, 1020}}, {}, {{0, "0.0"}, {8, "510.0"}, {16, "1020.0"}}},
      // One contact every 615 s, in slots 41 s wide: every slot holds 6.
      {"every slot the same value sets the value labels and plots nothing", Every(615, 61500), Black,
       GraphReach::ValueLabels, {}, {}, {}, {{0, "6.0"}, {8, "6.0"}, {16, "6.0"}}},
      {"contacts all in one second set the axis labels only", Log({{0}, {0}, {0}, {0}, {0}, {0}, {0}}), Black,
       GraphReach::AxisLabels},
      {"a contact older than the first sets the axis labels only",
       OneSecondSlots({{0}, {10}, {-100}, {30}, {40}, {50}}), Black, GraphReach::AxisLabels},
  };
}

TEST(RateGraph, ComputesSlotsAndLabels) {
  for (const GraphCase& c : GraphCases()) {
    SCOPED_TRACE(c.Name);
    const RateGraph graph = ComputeRateGraph(c.Contacts, GraphColors{.Background = c.Background});
    ASSERT_EQ(graph.Reach, c.Reach);
    for (const SlotValue& rate : c.Rates) EXPECT_FLOAT_EQ(graph.Rate.at(rate.Slot), rate.Value) << rate.Slot;
    for (const SlotValue& value : c.Smoothed)
      EXPECT_FLOAT_EQ(graph.Smoothed.at(value.Slot), value.Value) << value.Slot;
    for (const SlotColor& color : c.Colors) EXPECT_EQ(graph.SlotColor.at(color.Slot), color.Value) << color.Slot;
    for (const auto& [index, text] : c.ValueLabels) EXPECT_EQ(graph.ValueLabels.at(index), text) << index;
  }
}

TEST(RateGraph, TooFewContactsSetNoLabels) {
  const RateGraph graph = ComputeRateGraph(Log({{0}, {10}, {20}, {30}, {40}, {1500}}), GraphColors{});
  EXPECT_EQ(graph.Reach, GraphReach::TooFewContacts);
  EXPECT_TRUE(graph.TimeLabels[0].isEmpty());
  EXPECT_TRUE(graph.Rate.empty());
}

// The axis runs from the first to the last contact in 14 equal steps, across midnight here.
TEST(RateGraph, AxisLabelsSpanTheLog) {
  std::vector<GraphContact> log = Log({{0}, {10}, {20}, {30}, {40}, {50}});
  log.push_back({QStringLiteral("2024/06/09"), QStringLiteral("00:25:00"), QStringLiteral("144 M")});
  const RateGraph graph = ComputeRateGraph(log, GraphColors{});
  ASSERT_EQ(graph.Reach, GraphReach::Curve);
  const std::vector<std::pair<int, const char*>> times = {{0, "18:00"}, {7, "21:12"}, {13, "23:57"}, {14, "00:25"}};
  for (const auto& [index, text] : times) EXPECT_EQ(graph.TimeLabels[index], text) << index;
  EXPECT_EQ(graph.DateLabels[13], "06/08");
  EXPECT_EQ(graph.DateLabels[14], "06/09");
}

TEST(RateGraph, ContactsAllInOneSecondGiveLabelsAndNoCurve) {
  const RateGraph graph = ComputeRateGraph(Log({{0}, {0}, {0}, {0}, {0}, {0}, {0}}), GraphColors{});
  ASSERT_EQ(graph.Reach, GraphReach::AxisLabels);
  for (const QString& time : graph.TimeLabels) EXPECT_EQ(time, "18:00");
  for (const QString& date : graph.DateLabels) EXPECT_EQ(date, "06/08");
  EXPECT_TRUE(graph.ValueLabels[0].isEmpty());
  const logtools::GraphShapes shapes = GraphShapesOf(graph, {480, 9240, 120, 5880, 5900, 6000});
  EXPECT_TRUE(shapes.Curve.empty());
  EXPECT_TRUE(shapes.Strip.empty());
}

// A date or time that cannot be read stops the graph: before any label when it is the first or
// last contact's, after the axis labels otherwise. The locale's forms are never read.
TEST(RateGraph, UnreadableDateOrTimeStopsTheGraph) {
  const struct {
    std::size_t Contact;
    QString Date;
    QString Time;
    GraphReach Reach;
  } cases[] = {
      {0, QStringLiteral("2024/06/08"), QStringLiteral("18:00:xx"), GraphReach::NoLabels},
      {6, QStringLiteral("June 8 2024"), QStringLiteral("18:25:00"), GraphReach::NoLabels},
      {3, QStringLiteral("2024/02/30"), QStringLiteral("18:00:30"), GraphReach::AxisLabels},
      {3, QStringLiteral("2024/06/08"), QStringLiteral("6:00:30 PM"), GraphReach::AxisLabels},
      {3, QStringLiteral("08.06.2024"), QStringLiteral("18:00:30"), GraphReach::AxisLabels},
  };
  for (const auto& c : cases) {
    std::vector<GraphContact> log = OneSecondSlots({{0}, {10}, {20}, {30}, {40}, {50}});
    log[c.Contact].Date = c.Date;
    log[c.Contact].Time = c.Time;
    const RateGraph graph = ComputeRateGraph(log, GraphColors{});
    EXPECT_EQ(graph.Reach, c.Reach) << c.Date.toStdString() << " " << c.Time.toStdString();
    EXPECT_EQ(graph.TimeLabels[0].isEmpty(), c.Reach == GraphReach::NoLabels);
  }
}

// The shapes stay inside the frame: the curve from slot 1 to slot 1500 between its edges, the
// highest value just under the top, the strip boxes between the strip lines in the slot colours.
TEST(RateGraph, ShapesStayInsideTheFrame) {
  const RateGraph graph = ComputeRateGraph(GapLog, GraphColors{});
  ASSERT_EQ(graph.Reach, GraphReach::Curve);
  const logtools::GraphFrame frame{480, 9240, 120, 5880, 5900, 6000};
  const logtools::GraphShapes shapes = GraphShapesOf(graph, frame);

  ASSERT_EQ(shapes.Curve.size(), 1499U);
  double highest = frame.Bottom;
  for (const logtools::GraphLine& line : shapes.Curve) {
    for (const auto& [x, y] : {std::pair{line.X1, line.Y1}, std::pair{line.X2, line.Y2}}) {
      EXPECT_GT(x, frame.Left);
      EXPECT_LT(x, frame.Right);
      EXPECT_GT(y, frame.Top);
      EXPECT_LT(y, frame.Bottom);
      highest = std::min(highest, y);
    }
  }
  EXPECT_NEAR(highest, frame.Top + 0.0025 * (frame.Bottom - frame.Top), 1e-6);

  ASSERT_FALSE(shapes.Strip.empty());
  for (const logtools::GraphBox& box : shapes.Strip) {
    EXPECT_EQ(box.Y1, frame.StripTop);
    EXPECT_EQ(box.Y2, frame.StripBottom);
  }
  EXPECT_EQ(shapes.Strip.front().Color, Blue);
}

TEST(RateGraph, SameValueEverywherePlotsNothing) {
  const RateGraph graph = ComputeRateGraph(Every(615, 61500), GraphColors{});
  ASSERT_EQ(graph.Reach, GraphReach::ValueLabels);
  EXPECT_TRUE(GraphShapesOf(graph, {480, 9240, 120, 5880, 5900, 6000}).Curve.empty());
}

TEST(RateGraph, ReadsTheInMemoryLog) {
  std::vector<logging::LogContact> contacts;
  for (const GraphContact& contact : GapLog) {
    logging::LogContact logged;
    logged.Date = contact.Date;
    logged.Time = contact.Time;
    logged.Band = contact.Band;
    contacts.push_back(logged);
  }
  logging::ReplaceContacts(contacts);

  const RateGraph fromLog = ComputeRateGraph(GraphColors{});
  ASSERT_EQ(fromLog.Reach, GraphReach::Curve);
  EXPECT_EQ(fromLog.Smoothed, ComputeRateGraph(GapLog, GraphColors{}).Smoothed);

  contacts.resize(6);
  logging::ReplaceContacts(contacts);
  EXPECT_EQ(ComputeRateGraph(GraphColors{}).Reach, GraphReach::TooFewContacts);
}

}  // namespace
