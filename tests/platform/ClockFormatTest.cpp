#include "platform/posix/PosixClock.h"

#include <gtest/gtest.h>

namespace lumeno::platform {
namespace {

// 5 December 2026, 11:26:06 (a Saturday), with a zone that must never show.
std::tm fixedTime() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 5;
  t.tm_hour = 11;
  t.tm_min = 26;
  t.tm_sec = 6;
  t.tm_wday = 6;
  t.tm_yday = 338;
  t.tm_isdst = 0;
  return t;
}

TEST(TimeZoneRemoval, TakesOutZonesAndTheBlanksTheyLeave) {
  EXPECT_EQ(withoutTimeZone("%H:%M:%S %Z"), "%H:%M:%S");
  EXPECT_EQ(withoutTimeZone("%Z %H:%M:%S"), "%H:%M:%S");
  EXPECT_EQ(withoutTimeZone("%H:%M:%S %z"), "%H:%M:%S");
  EXPECT_EQ(withoutTimeZone("%I:%M:%S %Z %p"), "%I:%M:%S %p");
  EXPECT_EQ(withoutTimeZone("%H:%M:%S (%Z)"), "%H:%M:%S");
  EXPECT_EQ(withoutTimeZone("%H:%M:%S [ %z ] %p"), "%H:%M:%S %p");
  EXPECT_EQ(withoutTimeZone("%H:%M:%S %Z %z"), "%H:%M:%S");
  // Flagged, padded and modified forms are zones too.
  EXPECT_EQ(withoutTimeZone("%T %^Z"), "%T");
  EXPECT_EQ(withoutTimeZone("%T %-10z"), "%T");
  EXPECT_EQ(withoutTimeZone("%T %Ez"), "%T");
  EXPECT_EQ(withoutTimeZone("%Z"), "");
}

TEST(TimeZoneRemoval, LeavesEverythingElseAlone) {
  EXPECT_EQ(withoutTimeZone("%d/%m/%Y"), "%d/%m/%Y");
  EXPECT_EQ(withoutTimeZone("%H시 %M분 %S초"), "%H시 %M분 %S초");
  EXPECT_EQ(withoutTimeZone("%r"), "%r");
  // A literal percent sign followed by Z is text, not a zone.
  EXPECT_EQ(withoutTimeZone("%H%%Z"), "%H%%Z");
  EXPECT_EQ(withoutTimeZone("100%"), "100%");
  EXPECT_EQ(withoutTimeZone(""), "");
}

TEST(DateTimeText, FormatsWithTheGivenFormatsAndNoZone) {
  const auto text = formatDateTime("%d/%m/%Y", "%H:%M:%S %Z", fixedTime());
  EXPECT_EQ(text.shortDate, "05/12/2026");
  EXPECT_EQ(text.longTime, "11:26:06");
  const auto us = formatDateTime("%m/%d/%y", "%I:%M:%S", fixedTime());
  EXPECT_EQ(us.shortDate, "12/05/26");
  EXPECT_EQ(us.longTime, "11:26:06");
  const auto iso = formatDateTime("%Y-%m-%d", "%H.%M.%S (%z)", fixedTime());
  EXPECT_EQ(iso.shortDate, "2026-12-05");
  EXPECT_EQ(iso.longTime, "11.26.06");
}

TEST(DateTimeText, FallsBackWhenAFormatHasNothingLeft) {
  const auto text = formatDateTime("", "%Z", fixedTime());
  EXPECT_EQ(text.shortDate, "12/05/26");
  EXPECT_EQ(text.longTime, "11:26:06");
}

TEST(DateTimeText, LongFormatsAreNotCut) {
  const std::string longFormat = std::string(300, '-') + "%Y";
  EXPECT_EQ(formatDateTime(longFormat, "%H", fixedTime()).shortDate, std::string(300, '-') + "2026");
}

}  // namespace
}  // namespace lumeno::platform
