#include "logging/logstore.h"
#include "logtools/graphqso.h"
#include "logtools/rategraph.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/screen.h"
#include "platform/twips.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using logtools::GraphQSO;
using platform::Color;

constexpr Color Black = platform::RGB(0, 0, 0);
constexpr Color White = platform::RGB(255, 255, 255);
constexpr Color Grey = platform::RGB(128, 128, 128);
const QColor Blue(0, 0, 255);

// A contact so many seconds after 2024/06/08 18:00:00 UTC on a band, as the log holds it.
logging::LogContact At(int offset, const QString& band = QStringLiteral("144 M")) {
  const QDateTime moment = QDateTime(QDate(2024, 6, 8), QTime(18, 0), Qt::UTC).addSecs(offset);
  return {.Call = QStringLiteral("W1AW"),
          .RstRcvd = QStringLiteral("59"),
          .GridRcvd = QStringLiteral("FN31"),
          .RstSent = QStringLiteral("59"),
          .GridSent = QStringLiteral("FN42"),
          .Date = moment.toString(QStringLiteral("yyyy/MM/dd")),
          .Time = moment.toString(QStringLiteral("HH:mm:ss")),
          .Band = band,
          .Mode = QStringLiteral("PH")};
}

// Contacts every `apart` seconds over `seconds`, on 222 M for the first half and 432 M after.
std::vector<logging::LogContact> TwoBandEvening(int apart, int seconds) {
  std::vector<logging::LogContact> log;
  for (int offset = 0; offset <= seconds; offset += apart)
    log.push_back(At(offset, offset < seconds / 2 ? QStringLiteral("222 M") : QStringLiteral("432 M")));
  return log;
}

int Px(double twips) { return platform::TwipsToPixels(twips); }

// The pixels of the kept picture in the curve's colour.
std::vector<QPoint> CurvePixels(GraphQSO& graph) {
  const QImage& picture = graph.KeptPicture();
  std::vector<QPoint> pixels;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) == Blue) pixels.emplace_back(x, y);
  return pixels;
}

class GraphWindow : public ::testing::Test {
 protected:
  void SetUp() override { platform::Screen::SetSizeForTesting(9600, 7200); }
  void TearDown() override { platform::UnloadAll(); }

  GraphQSO& Open(const std::vector<logging::LogContact>& log) {
    logging::ReplaceContacts(log);
    GraphQSO& graph = platform::Instance<GraphQSO>();
    graph.Show();
    return graph;
  }

  platform::ScriptedDialogs dialogs;
};

TEST_F(GraphWindow, DrawsFromSevenContactsAndSetsTheLabelsItReaches) {
  const struct {
    const char* what;
    std::vector<logging::LogContact> log;
    bool tooFew;
    const char* firstTime;
    const char* lowestValue;
    bool curve;
  } cases[] = {
      {"six contacts", {At(0), At(60), At(120), At(180), At(240), At(3000)}, true, "00:00", "0", false},
      {"seven contacts", {At(0), At(60), At(120), At(180), At(240), At(300), At(3000)}, false, "18:00", "0.0", true},
      {"seven in one second", std::vector<logging::LogContact>(7, At(0)), false, "18:00", "0", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t boxesBefore = dialogs.MessageBoxes().size();
    GraphQSO& graph = Open(c.log);

    ASSERT_EQ(dialogs.MessageBoxes().size() - boxesBefore, c.tooFew ? 1U : 0U);
    if (c.tooFew) {
      EXPECT_EQ(dialogs.MessageBoxes().back().title, logtools::NotEnoughContactsTitle);
      EXPECT_EQ(dialogs.MessageBoxes().back().prompt, logtools::NotEnoughContactsPrompt);
      EXPECT_EQ(graph.lblDate[0].Caption(), "MM/DD");
    }
    EXPECT_EQ(graph.lblTime[0].Caption(), c.firstTime);
    EXPECT_EQ(graph.lblY[0].Caption(), c.lowestValue);
    EXPECT_EQ(!CurvePixels(graph).empty(), c.curve);
    platform::UnloadAll();
  }
}

// On a screen with a panel, the window fits the work area; the curve follows the scaled frame
// and the strip under the axis shows each part of the evening in its band's colour.
TEST_F(GraphWindow, TheCurveIsBlueInsideTheFrameAndTheStripHasTheBandColours) {
  platform::Screen::SetSizeForTesting(19200, 14400);
  platform::Screen::SetWorkAreaForTesting(0, 0, 19200, 13200);
  const std::vector<logging::LogContact> log = TwoBandEvening(60, 10800);
  GraphQSO& graph = Open(log);

  EXPECT_DOUBLE_EQ(graph.Width(), 19200);
  EXPECT_DOUBLE_EQ(graph.Height(), 13200);
  EXPECT_DOUBLE_EQ(graph.Line3.X1(), 9240 * 2);
  EXPECT_DOUBLE_EQ(graph.Line2.Y1(), 5880 * 13200.0 / 7200);

  const std::vector<QPoint> curve = CurvePixels(graph);
  ASSERT_FALSE(curve.empty());
  // The first slot starts a fixed 10 twips right of the frame less one slot's width, which on a
  // screen this wide reaches the left edge's own pixel, under the frame line.
  for (const QPoint& pixel : curve) {
    ASSERT_GE(pixel.x(), Px(graph.Line4.X1()));
    ASSERT_LT(pixel.x(), Px(graph.Line3.X1()));
    ASSERT_GT(pixel.y(), Px(graph.Line1.Y1()));
    ASSERT_LT(pixel.y(), Px(graph.Line2.Y1()));
  }

  const QImage& picture = graph.KeptPicture();
  const int stripY = (Px(graph.Line8.Y1()) + Px(graph.Line9.Y1())) / 2;
  const double left = graph.Line4.X1();
  const double width = graph.Line3.X1() - left;
  EXPECT_EQ(picture.pixelColor(Px(left + width / 4), stripY), QColor(255, 0, 0)) << "222 M";
  EXPECT_EQ(picture.pixelColor(Px(left + width * 3 / 4), stripY), QColor(0, 255, 0)) << "432 M";
  EXPECT_EQ(picture.pixelColor(Px(left + width / 2), Px(graph.Line2.Y1()) - 1 - Px(graph.Height() / 4)),
            QColor(0, 0, 0))
      << "the background above the strip";

  std::vector<logtools::GraphContact> contacts;
  for (const logging::LogContact& contact : log) contacts.push_back({contact.Date, contact.Time, contact.Band});
  const logtools::RateGraph expected = logtools::ComputeRateGraph(contacts, logtools::GraphColors{});
  const QRegularExpression valueForm(QStringLiteral("^\\d+\\.\\d$"));
  for (int k = 0; k < logtools::GraphValueLabelCount; ++k) {
    EXPECT_EQ(graph.lblY[k].Caption(), expected.ValueLabels[k]) << k;
    EXPECT_TRUE(valueForm.match(graph.lblY[k].Caption()).hasMatch()) << k;
  }
  EXPECT_EQ(graph.lblTime[14].Caption(), "21:00");
  EXPECT_EQ(graph.lblDate[14].Caption(), "06/08");
}

// The button names the background in use; the labels and every line take the contrasting colour,
// the legend keeps its colours, and the graph is drawn again on the new background.
TEST_F(GraphWindow, TogglingTwiceGivesBlackWithWhiteLabelsAndWhiteGridLines) {
  GraphQSO& graph = Open(TwoBandEvening(60, 10800));
  ASSERT_EQ(graph.Line5.BorderColor(), Grey);
  const struct {
    const char* caption;
    Color background;
    Color text;
  } steps[] = {{"White Background", White, Black}, {"Black Background", Black, White}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.caption);
    QTest::mouseClick(graph.Command1.Widget(), Qt::LeftButton);
    EXPECT_EQ(graph.Command1.Caption(), step.caption);
    EXPECT_EQ(graph.KeptPicture().pixelColor(2, 2), platform::ToQColor(step.background));
    EXPECT_FALSE(CurvePixels(graph).empty());
    for (platform::Label* label : {&graph.lblY[0], &graph.lblY[16], &graph.lblTime[7], &graph.lblDate[14], &graph.Label1})
      EXPECT_EQ(label->ForeColor(), step.text) << label->Name().toStdString();
    for (platform::Line* line : {&graph.Line1, &graph.Line4, &graph.Line5, &graph.Line7, &graph.Line10, &graph.Line21})
      EXPECT_EQ(line->BorderColor(), step.text) << line->Name().toStdString();
    for (int i = 0; i < logtools::GraphLegendCount; ++i)
      EXPECT_EQ(graph.lblBnd[i].ForeColor(), logtools::GraphLegendColors[i]) << i;
    EXPECT_EQ(graph.MousePointer(), platform::MousePointerDefault);
  }
  EXPECT_TRUE(dialogs.MessageBoxes().empty());
}

}  // namespace
