#pragma once

#include "platform/color.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The rate graph's figures, worked out apart from the window that shows them. For each contact
// the rate is the contacts of the ten minutes up to and including it, times 6 (contacts per
// hour). The time from the first to the last contact is cut into 1500 slots; each slot keeps the
// rate and band colour of its latest contact, short gaps are bridged by ramps, and the curve is
// the mean of the last seven slots. The window sets its labels from the result and draws the
// shapes that GraphShapesOf gives, so it computes nothing itself.
namespace logtools {

// One contact as the graph reads it: its stored date, time and band.
struct GraphContact {
  QString Date;
  QString Time;
  QString Band;
};

inline constexpr std::int32_t GraphSlotCount = 1500;      // slots along the time axis
inline constexpr std::int32_t GraphHighestSlot = 1600;    // the last slot a contact may fall in
inline constexpr std::int32_t GraphMinimumContacts = 7;
inline constexpr int GraphTimeLabelCount = 15;            // lblTime and lblDate
inline constexpr int GraphValueLabelCount = 17;           // lblY, lowest value first

// The message for a log too short to graph.
inline const QString NotEnoughContactsPrompt = QStringLiteral(
    "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several hours "
    "of contest logging are accumulated.");
inline const QString NotEnoughContactsTitle = QStringLiteral("Not Enough Contacts to Graph.");

// The band legend lblBnd(0) to lblBnd(6): "50 M" to "1.3 G" have a label each, in band order;
// every other band shares the last, "Other".
inline constexpr int GraphLegendCount = 7;
inline const std::array<QString, GraphLegendCount> GraphLegendCaptions = {
    QStringLiteral("50"),  QStringLiteral("144"), QStringLiteral("222"),  QStringLiteral("432"),
    QStringLiteral("902"), QStringLiteral("1.3"), QStringLiteral("Other")};
inline constexpr std::array<platform::Color, GraphLegendCount> GraphLegendColors = {
    platform::RGB(255, 255, 255), platform::RGB(0, 0, 255),   platform::RGB(255, 0, 0),
    platform::RGB(0, 255, 0),     platform::RGB(128, 255, 255), platform::RGB(255, 0, 255),
    platform::RGB(255, 255, 0)};
inline constexpr platform::Color GraphCurveColor = platform::RGB(0, 0, 255);

// The colours a graph depends on: the window's background and the legend labels' fore colours.
struct GraphColors {
  platform::Color Background = 0;
  std::array<platform::Color, GraphLegendCount> Legend = GraphLegendColors;
};

// How far the graph gets. Each stage includes what the ones before it set; a label a stage does
// not reach keeps what the window showed before.
enum class GraphReach {
  TooFewContacts,  // show the NotEnoughContacts message; set and draw nothing
  NoLabels,        // the first or last contact's date or time cannot be read: set and draw nothing
  AxisLabels,      // time and date labels only: all contacts in one second, a date or time that
                   // cannot be read, or a contact outside the slots (one older than the first)
  ValueLabels,     // the value labels too, but no curve: every slot has the same value
  Curve,           // everything
};

struct RateGraph {
  GraphReach Reach = GraphReach::TooFewContacts;
  std::array<QString, GraphTimeLabelCount> TimeLabels;    // "hh:mm", from AxisLabels on
  std::array<QString, GraphTimeLabelCount> DateLabels;    // "MM/DD", from AxisLabels on
  std::array<QString, GraphValueLabelCount> ValueLabels;  // "###0.0", from ValueLabels on
  // Slots 0 to GraphHighestSlot; the curve and strip use slots 0 to GraphSlotCount. Complete only
  // for the ValueLabels and Curve stages.
  std::vector<float> Rate;
  std::vector<float> Smoothed;
  std::vector<platform::Color> SlotColor;
  float Lowest = 0;   // least smoothed value of slots 1 to GraphSlotCount
  float Highest = 0;  // greatest
};

// The graph of these contacts, in log order (a reload keeps them in date and time order).
RateGraph ComputeRateGraph(const std::vector<GraphContact>& contacts, const GraphColors& colors);

// The graph of contacts 1 to LogCount of the in-memory log.
RateGraph ComputeRateGraph(const GraphColors& colors);

// Where the window's plot frame and band strip lie, in twips, read from its scaled lines: left
// and right edges (Line4, Line3), top and bottom edges (Line1, Line2), the strip's top and bottom
// (Line8, Line9).
struct GraphFrame {
  double Left;
  double Right;
  double Top;
  double Bottom;
  double StripTop;
  double StripBottom;
};

struct GraphLine {
  double X1, Y1, X2, Y2;
};

struct GraphBox {
  double X1, Y1, X2, Y2;
  platform::Color Color;
};

// What the window draws, in twips: the curve's lines (in GraphCurveColor), slot by slot from
// slot 1, and one box per slot of the band strip. Empty unless the graph reached its curve.
struct GraphShapes {
  std::vector<GraphLine> Curve;
  std::vector<GraphBox> Strip;
};
GraphShapes GraphShapesOf(const RateGraph& graph, const GraphFrame& frame);

}  // namespace logtools
