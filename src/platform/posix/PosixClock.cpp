// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixClock.h"

#include <algorithm>
#include <chrono>

#include <langinfo.h>
#include <time.h>  // NOLINT(modernize-deprecated-headers): tzset and localtime_r are POSIX

namespace lumeno::platform {
namespace {

constexpr std::string_view kBlanks = " \t";

struct Conversion {
  std::size_t end = 0;  // one past the conversion's last character
  bool zone = false;
};

// Reads the conversion that starts with the '%' at format[start]: flags, width, an E or O modifier
// and the conversion character.
Conversion scanConversion(std::string_view format, std::size_t start) {
  std::size_t i = start + 1;
  if (i < format.size() && format[i] == '%') return {i + 1, false};
  while (i < format.size() && std::string_view("_-0^#").find(format[i]) != std::string_view::npos) ++i;
  while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
  if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
  if (i >= format.size()) return {format.size(), false};
  return {i + 1, format[i] == 'Z' || format[i] == 'z'};
}

bool isBracketPair(char open, char close) {
  return (open == '(' && close == ')') || (open == '[' && close == ']') || (open == '<' && close == '>');
}

std::string formatWith(const std::string& pattern, const std::tm& when) {
  // strftime answers 0 both for "too small" and for an empty result; grow a few times, then give up.
  for (std::size_t size = 128; size <= 8192; size *= 4) {
    std::string out(size, '\0');
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const std::size_t n = std::strftime(out.data(), out.size(), pattern.c_str(), &when);
#pragma GCC diagnostic pop
    if (n > 0) {
      out.resize(n);
      return out;
    }
  }
  return {};
}

}  // namespace

std::string withoutTimeZone(std::string_view pattern) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    if (pattern[i] != '%') {
      out += pattern[i++];
      continue;
    }
    const Conversion conversion = scanConversion(pattern, i);
    if (!conversion.zone) {
      out.append(pattern.substr(i, conversion.end - i));
      i = conversion.end;
      continue;
    }
    i = conversion.end;
    // Brackets that held nothing but the zone go with it: "%T (%Z)".
    for (;;) {
      const std::size_t open = out.find_last_not_of(kBlanks);
      const std::size_t close = pattern.find_first_not_of(kBlanks, i);
      if (open == std::string::npos || close == std::string_view::npos ||
          !isBracketPair(out[open], pattern[close])) {
        break;
      }
      out.erase(open);
      i = close + 1;
    }
    // Blanks at either end go; between two remaining parts one blank stays.
    const std::size_t lastKept = out.find_last_not_of(kBlanks);
    const std::size_t nextKept = pattern.find_first_not_of(kBlanks, i);
    const std::size_t leftBlanks = out.size() - (lastKept == std::string::npos ? 0 : lastKept + 1);
    const std::size_t rightBlanks = (nextKept == std::string_view::npos ? pattern.size() : nextKept) - i;
    if (lastKept == std::string::npos || nextKept == std::string_view::npos) {
      out.resize(out.size() - leftBlanks);
      i += rightBlanks;
    } else if (leftBlanks > 0 && rightBlanks > 0) {
      i += rightBlanks;
    }
  }
  return out;
}

DateTimeText formatDateTime(std::string_view dateFormat, std::string_view timeFormat, const std::tm& when) {
  std::string date = withoutTimeZone(dateFormat);
  std::string time = withoutTimeZone(timeFormat);
  if (date.empty()) date = "%m/%d/%y";
  if (time.empty()) time = "%H:%M:%S";
  return {formatWith(date, when), formatWith(time, when)};
}

namespace {

void addText(std::vector<StampField>& fields, std::string_view text) {
  if (text.empty()) return;
  if (!fields.empty() && fields.back().part == StampPart::Text) {
    fields.back().text += text;
  } else {
    fields.push_back({StampPart::Text, std::string(text)});
  }
}

// The fields of one strftime format; %r, %T, %D and their kind are spelled out first.
void addFields(std::vector<StampField>& fields, std::string_view format, std::string_view ampmFormat,
               int depth = 0) {
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      const std::size_t next = std::min(format.find('%', i), format.size());
      addText(fields, format.substr(i, next - i));
      i = next;
      continue;
    }
    const Conversion conversion = scanConversion(format, i);
    const char letter = format[conversion.end - 1];
    i = conversion.end;
    const auto expand = [&](std::string_view inner) {
      if (depth < 3) addFields(fields, inner, ampmFormat, depth + 1);
    };
    switch (letter) {
      case 'd':
      case 'e': fields.push_back({StampPart::Day, {}}); break;
      case 'm': fields.push_back({StampPart::Month, {}}); break;
      case 'b':
      case 'B':
      case 'h': fields.push_back({StampPart::MonthName, {}}); break;
      case 'y': fields.push_back({StampPart::ShortYear, {}}); break;
      case 'Y': fields.push_back({StampPart::Year, {}}); break;
      case 'H':
      case 'k': fields.push_back({StampPart::Hour24, {}}); break;
      case 'I':
      case 'l': fields.push_back({StampPart::Hour12, {}}); break;
      case 'M': fields.push_back({StampPart::Minute, {}}); break;
      case 'S': fields.push_back({StampPart::Second, {}}); break;
      case 'p':
      case 'P': fields.push_back({StampPart::DayHalf, {}}); break;
      case 'a':
      case 'A': fields.push_back({StampPart::WeekdayName, {}}); break;
      case 'r': expand(ampmFormat); break;
      case 'T': expand("%H:%M:%S"); break;
      case 'R': expand("%H:%M"); break;
      case 'D': expand("%m/%d/%y"); break;
      case 'F': expand("%Y-%m-%d"); break;
      case 'n':
      case 't': addText(fields, " "); break;
      case '%': addText(fields, "%"); break;
      default: break;  // nothing a stamp of ours is written with
    }
  }
}

}  // namespace

StampLayout stampLayoutOf(std::string_view dateFormat, std::string_view timeFormat,
                          std::string_view ampmFormat) {
  std::string date = withoutTimeZone(dateFormat);
  std::string time = withoutTimeZone(timeFormat);
  if (date.empty()) date = "%m/%d/%y";
  if (time.empty()) time = "%H:%M:%S";
  StampLayout layout;
  addFields(layout.date, date, ampmFormat);
  addFields(layout.time, time, ampmFormat);
  layout.dayHalves = {::nl_langinfo(AM_STR), ::nl_langinfo(PM_STR)};
  for (const nl_item month : {ABMON_1, ABMON_2,  ABMON_3,  ABMON_4,  ABMON_5, ABMON_6, ABMON_7, ABMON_8,
                              ABMON_9, ABMON_10, ABMON_11, ABMON_12, MON_1,   MON_2,   MON_3,   MON_4,
                              MON_5,   MON_6,    MON_7,    MON_8,    MON_9,   MON_10,  MON_11,  MON_12})
    layout.monthNames.emplace_back(::nl_langinfo(month));
  for (const nl_item day : {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7, DAY_1, DAY_2,
                            DAY_3, DAY_4, DAY_5, DAY_6, DAY_7})
    layout.weekdayNames.emplace_back(::nl_langinfo(day));
  return layout;
}

StampLayout regionalStampLayout() {
  return stampLayoutOf(::nl_langinfo(D_FMT), ::nl_langinfo(T_FMT), ::nl_langinfo(T_FMT_AMPM));
}

DateTimeText PosixClock::now() const {
  ::tzset();  // follows a change of the system's time zone while the program runs
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) return {};
  return formatDateTime(::nl_langinfo(D_FMT), ::nl_langinfo(T_FMT), local);
}

std::chrono::milliseconds PosixClock::steadyNow() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace lumeno::platform
