#include "logtools/rategraph.h"

#include "logging/logstore.h"
#include "logging/storeddatetime.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <optional>

namespace logtools {

namespace {

using platform::Color;

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 RateWindowSeconds = 600;
constexpr float RatePerContact = 6;  // ten minutes times 6 is one hour
constexpr int LongestBridgedGap = 15;
constexpr int SmoothingSlots = 7;
constexpr double FirstSlotOffsetTwips = 10;
constexpr double ValueScaleShare = 0.995;
constexpr double ValueMarginShare = 0.0025;

// A contact's moment in whole seconds, its day counted as a Julian day; empty when
// its date or time cannot be read.
std::optional<qint64> MomentOf(const GraphContact& contact) {
  return logging::ReadContactMoment(contact.Date, contact.Time);
}

QString TwoDigits(qint64 number) { return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')); }

// Fifteen moments evenly from first to last, each to the nearest second, as "hh:mm" and "MM/DD".
void SetAxisLabels(RateGraph& graph, qint64 first, qint64 last) {
  for (int i = 0; i < GraphTimeLabelCount; ++i) {
    const qint64 moment =
        first + std::llround(static_cast<double>(last - first) * i / (GraphTimeLabelCount - 1));
    const qint64 secondOfDay = moment % SecondsPerDay;
    const QDate day = QDate::fromJulianDay(moment / SecondsPerDay);
    graph.TimeLabels[i] = TwoDigits(secondOfDay / 3600) + QLatin1Char(':') + TwoDigits(secondOfDay / 60 % 60);
    graph.DateLabels[i] = TwoDigits(day.month()) + QLatin1Char('/') + TwoDigits(day.day());
  }
}

// Contacts from this one back while they are less than ten minutes older, itself included.
std::int32_t ContactsInTenMinutes(const std::vector<qint64>& moments, std::size_t contact) {
  std::int32_t count = 0;
  for (std::size_t j = contact + 1; j > 0; --j) {
    if (moments[contact] - moments[j - 1] >= RateWindowSeconds) break;
    ++count;
  }
  return count;
}

// The slot of a moment, a half going to the even slot; empty outside slots 0 to GraphHighestSlot.
std::optional<std::int32_t> SlotOf(qint64 secondsFromFirst, double secondsPerSlot) {
  const double slot = std::nearbyint(static_cast<double>(secondsFromFirst) / secondsPerSlot);
  if (!(slot >= 0 && slot <= GraphHighestSlot)) return std::nullopt;
  return static_cast<std::int32_t>(slot);
}

// The legend label that colours a band: its own for "50 M" to "1.3 G" (exact names), else "Other".
int LegendIndexOf(const QString& band) {
  const auto named = std::find(logging::BandNames.begin(), logging::BandNames.begin() + GraphLegendCount - 1, band);
  return static_cast<int>(named - logging::BandNames.begin());
}

// An empty slot followed within 15 slots by a rate gets a straight ramp from the slot before
// towards that rate; farther from the next rate it stays 0, so a long gap ramps over its last
// 15 slots only, from 0.
void BridgeGaps(RateGraph& graph) {
  std::vector<float>& rate = graph.Rate;
  for (std::int32_t k = 2; k <= GraphSlotCount; ++k) {
    if (rate[k] != 0) {
      graph.Smoothed[k] = rate[k];
      continue;
    }
    std::int32_t next = k + 1;
    while (next <= k + LongestBridgedGap && rate[next] <= 0) ++next;
    if (next > k + LongestBridgedGap) continue;
    const float before = rate[k - 1];
    for (std::int32_t p = k; p < next; ++p)
      rate[p] = graph.Smoothed[p] = before + (rate[next] - before) * static_cast<float>(p - k) / (next - k);
  }
}

// From slot 7 on, the mean of the positive rates among the last seven slots; a slot with none
// keeps its value.
void Smooth(RateGraph& graph) {
  for (std::int32_t k = SmoothingSlots; k <= GraphSlotCount; ++k) {
    double sum = 0;
    int positive = 0;
    for (std::int32_t j = k - SmoothingSlots + 1; j <= k; ++j) {
      if (graph.Rate[j] > 0) {
        sum += graph.Rate[j];
        ++positive;
      }
    }
    if (positive > 0) graph.Smoothed[k] = static_cast<float>(sum / positive);
  }
}

// "###0.0": one decimal, a half rounded up, no thousands separator.
QString ValueText(double value) { return QString::number(value, 'f', 1); }

void SetValueLabels(RateGraph& graph) {
  const auto slotZero = graph.Smoothed.begin();
  const auto [lowest, highest] = std::minmax_element(slotZero + 1, slotZero + GraphSlotCount + 1);
  graph.Lowest = *lowest;
  graph.Highest = *highest;
  const double step = (static_cast<double>(graph.Highest) - graph.Lowest) / (GraphValueLabelCount - 1);
  for (int k = 0; k < GraphValueLabelCount - 1; ++k) graph.ValueLabels[k] = ValueText(graph.Lowest + k * step);
  graph.ValueLabels.back() = ValueText(graph.Highest);
}

// A slot of the curve without a colour of its own (no contact, or the background's colour)
// takes the nearest earlier colour of its run of positive values; black when its run starts at
// slot 1 with no such colour, the background in any other run.
void CarryColors(RateGraph& graph, Color background) {
  Color last = platform::RGB(0, 0, 0);
  for (std::int32_t k = 1; k <= GraphSlotCount; ++k) {
    if (graph.Smoothed[k] <= 0) {
      last = background;
    } else if (graph.SlotColor[k] != background) {
      last = graph.SlotColor[k];
    } else {
      graph.SlotColor[k] = last;
    }
  }
}

// Puts each contact's rate and band colour into its slot; false when a contact falls outside
// the slots. Contact 1 takes slot 1; a later contact of a slot replaces an earlier one.
bool FillSlots(RateGraph& graph, const std::vector<qint64>& moments, const std::vector<GraphContact>& contacts,
               const GraphColors& colors) {
  const double secondsPerSlot = static_cast<double>(moments.back() - moments.front()) / GraphSlotCount;
  for (std::size_t i = 0; i < moments.size(); ++i) {
    const std::optional<std::int32_t> slot = i == 0 ? 1 : SlotOf(moments[i] - moments.front(), secondsPerSlot);
    if (!slot) return false;
    graph.Rate[*slot] = RatePerContact * static_cast<float>(ContactsInTenMinutes(moments, i));
    graph.SlotColor[*slot] = colors.Legend[LegendIndexOf(contacts[i].Band)];
  }
  return true;
}

}  // namespace

RateGraph ComputeRateGraph(const std::vector<GraphContact>& contacts, const GraphColors& colors) {
  RateGraph graph;
  if (contacts.size() < static_cast<std::size_t>(GraphMinimumContacts)) return graph;
  graph.Reach = GraphReach::NoLabels;
  const std::optional<qint64> first = MomentOf(contacts.front());
  const std::optional<qint64> last = MomentOf(contacts.back());
  if (!first || !last) return graph;
  SetAxisLabels(graph, *first, *last);
  graph.Reach = GraphReach::AxisLabels;
  if (*first == *last) return graph;

  std::vector<qint64> moments;
  moments.reserve(contacts.size());
  for (const GraphContact& contact : contacts) {
    const std::optional<qint64> moment = MomentOf(contact);
    if (!moment) return graph;
    moments.push_back(*moment);
  }
  graph.Rate.assign(GraphHighestSlot + 1, 0);
  graph.Smoothed.assign(GraphHighestSlot + 1, 0);
  graph.SlotColor.assign(GraphHighestSlot + 1, colors.Background);
  graph.Rate[1] = graph.Smoothed[1] = RatePerContact;
  if (!FillSlots(graph, moments, contacts, colors)) return graph;

  BridgeGaps(graph);
  Smooth(graph);
  SetValueLabels(graph);
  CarryColors(graph, colors.Background);
  graph.Reach = graph.Highest == graph.Lowest ? GraphReach::ValueLabels : GraphReach::Curve;
  return graph;
}

RateGraph ComputeRateGraph(const GraphColors& colors) {
  std::vector<GraphContact> contacts;
  contacts.reserve(static_cast<std::size_t>(std::max(logging::LogCount, 0)));
  for (std::int32_t slot = 1; slot <= logging::LogCount; ++slot)
    contacts.push_back({logging::LogDate[slot], logging::LogTime[slot], logging::LogBand[slot]});
  return ComputeRateGraph(contacts, colors);
}

GraphShapes GraphShapesOf(const RateGraph& graph, const GraphFrame& frame) {
  GraphShapes shapes;
  if (graph.Reach != GraphReach::Curve) return shapes;
  const double slotWidth = (frame.Right - frame.Left) / GraphSlotCount;
  const double height = frame.Bottom - frame.Top;
  const double valueScale = height / (static_cast<double>(graph.Highest) - graph.Lowest) * ValueScaleShare;
  const auto x = [&](std::int32_t slot) { return frame.Left + FirstSlotOffsetTwips + (slot - 2) * slotWidth; };
  const auto y = [&](std::int32_t slot) {
    return frame.Bottom - (static_cast<double>(graph.Smoothed[slot]) - graph.Lowest) * valueScale -
           ValueMarginShare * height;
  };
  shapes.Curve.reserve(GraphSlotCount - 1);
  shapes.Strip.reserve(GraphSlotCount);
  for (std::int32_t k = 1; k <= GraphSlotCount; ++k) {
    if (k > 1) shapes.Curve.push_back({x(k), y(k), x(k - 1), y(k - 1)});
    if (graph.Smoothed[k] > 0 || graph.Smoothed[k - 1] > 0)
      shapes.Strip.push_back({x(k), frame.StripTop, x(k - 1), frame.StripBottom, graph.SlotColor[k]});
  }
  return shapes;
}

}  // namespace logtools
