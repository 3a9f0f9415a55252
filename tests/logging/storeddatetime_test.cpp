#include "logging/storeddatetime.h"

#include <QDateTime>
#include <QString>
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

namespace {

using logging::ContactDate;

std::optional<std::tuple<int, int, int>> DateOf(const QString& text) {
  const std::optional<ContactDate> date = logging::ReadContactDate(text);
  if (!date) return std::nullopt;
  return std::make_tuple(date->Year, date->Month, date->Day);
}

TEST(StoredDateTime, DatesAreReadByTheirExplicitFormsNeverByTheLocale) {
  const std::pair<QString, std::optional<std::tuple<int, int, int>>> cases[] = {
      {QStringLiteral("2024/06/08"), std::make_tuple(2024, 6, 8)},
      {QStringLiteral("2024-06-08"), std::make_tuple(2024, 6, 8)},
      {QStringLiteral("6/8/2024"), std::make_tuple(2024, 6, 8)},
      {QStringLiteral("2024/6/8"), std::make_tuple(2024, 6, 8)},
      {QStringLiteral("12/31/2023"), std::make_tuple(2023, 12, 31)},
      {QStringLiteral("2024/02/29"), std::make_tuple(2024, 2, 29)},
      {QStringLiteral("2023/02/29"), std::nullopt},
      {QStringLiteral("2024/13/01"), std::nullopt},
      {QStringLiteral("6-8-2024"), std::nullopt},
      {QStringLiteral("08.06.2024"), std::nullopt},
      {QStringLiteral("24/06/08"), std::nullopt},
      {QStringLiteral("2024/06/08/01"), std::nullopt},
      {QStringLiteral("2024/06/8x"), std::nullopt},
      {QStringLiteral(""), std::nullopt},
  };
  for (const auto& [text, date] : cases) EXPECT_EQ(DateOf(text), date) << text.toStdString();
}

TEST(StoredDateTime, TimesAreReadByTheirExplicitForms) {
  const std::pair<QString, std::optional<int>> cases[] = {
      {QStringLiteral("18:05:33"), 65133}, {QStringLiteral("7:5:3"), 25503}, {QStringLiteral("18:05"), 65100},
      {QStringLiteral(" 00:00:00 "), 0},   {QStringLiteral("23:59:59"), 86399}, {QStringLiteral("24:00:00"), {}},
      {QStringLiteral("18:60"), {}},       {QStringLiteral("18:05:60"), {}},    {QStringLiteral("18"), {}},
      {QStringLiteral("18:05:33:00"), {}}, {QStringLiteral("18:5a"), {}},       {QStringLiteral(""), {}},
      {QStringLiteral("118:05"), {}},      {QStringLiteral("18::05"), {}},
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(logging::ReadContactTime(text), seconds) << text.toStdString();
}

TEST(StoredDateTime, MomentsOfEveryFormAndOfTheClockCompareOnOneCount) {
  const std::optional<qint64> stored = logging::ReadContactMoment(u"2024/06/08", u"18:05:33");
  ASSERT_TRUE(stored);
  EXPECT_EQ(logging::ReadContactMoment(u"6/8/2024", u" 18:05:33"), stored);
  EXPECT_EQ(logging::ReadContactMoment(u"2024-06-07", u"18:5:33"), *stored - 86400);
  EXPECT_EQ(logging::ReadContactMoment(u"2024/06/09", u"0:00"), *stored + 21267);
  EXPECT_EQ(logging::MomentOf(QDateTime(QDate(2024, 6, 8), QTime(18, 5, 33, 999), Qt::UTC)), *stored);
  EXPECT_FALSE(logging::ReadContactMoment(u"2024/06/08", u"18:05:xx"));
  EXPECT_FALSE(logging::ReadContactMoment(u"2024/02/30", u"18:05:33"));
}

}  // namespace
