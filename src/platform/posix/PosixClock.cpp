#include "platform/posix/PosixClock.h"

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
