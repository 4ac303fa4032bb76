// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixClock.h"

#include <gtest/gtest.h>

#include <array>

#include "log/StampReading.h"

namespace lumeno::platform {
namespace {

TEST(TimeZoneRemoval, TakesOutZonesWithTheBlanksAndBracketsTheyLeaveAndNothingElse) {
  const std::pair<const char*, const char*> rows[] = {
      {"%H:%M:%S %Z", "%H:%M:%S"},
      {"%Z %H:%M:%S", "%H:%M:%S"},
      {"%I:%M:%S %Z %p", "%I:%M:%S %p"},
      {"%H:%M:%S (%Z)", "%H:%M:%S"},
      {"%H:%M:%S (%Z]", "%H:%M:%S (]"},  // brackets that do not pair stay
      {"%H:%M:%S [ %z ] %p", "%H:%M:%S %p"},
      {"%H:%M:%S %Z %z", "%H:%M:%S"},
      {"%T %^Z %-10z %Ez", "%T"},  // flagged, padded and modified forms are zones too
      {"%Z", ""},
      {"%d/%m/%Y", "%d/%m/%Y"},
      {"%H시 %M분 %S초", "%H시 %M분 %S초"},
      {"%H%%Z", "%H%%Z"},  // a literal percent sign followed by Z is text
      {"100%", "100%"},
  };
  for (const auto& [format, expected] : rows) EXPECT_EQ(withoutTimeZone(format), expected) << format;
}

TEST(DateTimeText, FormatsAFixedTimeWithTheGivenFormatsAndNoZone) {
  std::tm when{};
  ASSERT_NE(::strptime("2026-12-05 11:26:06", "%Y-%m-%d %H:%M:%S", &when), nullptr);
  const std::string dashes(5000, '-');
  const std::array<std::string, 4> rows[] = {
      {"%d/%m/%Y", "%H:%M:%S %Z", "05/12/2026", "11:26:06"},
      {"%Y-%m-%d", "%H.%M.%S (%z)", "2026-12-05", "11.26.06"},
      {"", "%Z", "12/05/26", "11:26:06"},            // nothing left of a format: the C locale's
      {dashes + "%Y", "%H", dashes + "2026", "11"},  // long formats are not cut
      {"%-d", "%-S", "5", "6"},                      // and one character is a whole result
  };
  for (const auto& [dateFormat, timeFormat, date, time] : rows) {
    const auto text = formatDateTime(dateFormat, timeFormat, when);
    EXPECT_EQ(text.shortDate, date) << dateFormat;
    EXPECT_EQ(text.longTime, time) << timeFormat;
  }
}

TEST(StampLayout, ReadsBackWhatEachFormatWrote) {
  std::tm when{};
  ASSERT_NE(::strptime("2026-12-05 23:26:06", "%Y-%m-%d %H:%M:%S", &when), nullptr);
  const std::pair<const char*, const char*> formats[] = {
      {"%d/%m/%Y", "%H:%M:%S %Z"},
      {"%m/%d/%y", "%r"},
      {"%d.%m.%Y", "%T"},
      {"%Y年%m月%d日", "%H時%M分%S秒"},
      {"%F", "%l:%M:%S %p"},
      {"%a %e %b %Y", "%k:%M:%S"},
      {"", ""},
  };
  for (const auto& [date, time] : formats) {
    const DateTimeText text = formatDateTime(date, time, when);
    EXPECT_EQ(log::readStamp(stampLayoutOf(date, time, "%I:%M:%S %p"), text.shortDate, text.longTime),
              log::wallSeconds(2026, 12, 5, 23, 26, 6))
        << text.shortDate << ' ' << text.longTime;
  }
}

}  // namespace
}  // namespace lumeno::platform
