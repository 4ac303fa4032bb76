// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/StampReading.h"

#include <vector>

namespace lumeno::log {
namespace {

using platform::StampField;
using platform::StampPart;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

struct Reading {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int dayHalf = -1;  // 0 before noon, 1 after; -1 when the layout has none
  bool hour12 = false;
};

class Reader {
 public:
  Reader(const platform::StampLayout& layout, std::string_view text) : layout_(layout), text_(text) {}

  bool read(const std::vector<StampField>& fields, Reading& into) {
    for (const StampField& field : fields) {
      if (!readField(field, into)) return false;
    }
    skipBlanks();
    return at_ == text_.size();
  }

 private:
  void skipBlanks() {
    while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
  }

  // Up to `most` digits, after blanks (a blank pads a one-digit day or hour).
  bool number(std::size_t most, int& value) {
    skipBlanks();
    const std::size_t start = at_;
    value = 0;
    while (at_ < text_.size() && at_ - start < most && isDigit(text_[at_]))
      value = value * 10 + (text_[at_++] - '0');
    return at_ > start;
  }

  // The longest of the names the text goes on with; its index.
  bool name(const std::vector<std::string>& names, std::size_t& index) {
    skipBlanks();
    std::size_t best = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string& candidate = names[i];
      if (!candidate.empty() && candidate.size() > best && text_.substr(at_).starts_with(candidate)) {
        best = candidate.size();
        index = i;
      }
    }
    at_ += best;
    return best > 0;
  }

  bool literal(std::string_view expected) {
    for (const char c : expected) {
      if (isBlank(c)) {
        skipBlanks();
      } else if (at_ < text_.size() && text_[at_] == c) {
        ++at_;
      } else {
        return false;
      }
    }
    return true;
  }

  bool readField(const StampField& field, Reading& into) {
    std::size_t index = 0;
    switch (field.part) {
      case StampPart::Text: return literal(field.text);
      case StampPart::Day: return number(2, into.day);
      case StampPart::Month: return number(2, into.month);
      case StampPart::MonthName:
        if (!name(layout_.monthNames, index)) return false;
        into.month = static_cast<int>(index % 12) + 1;
        return true;
      case StampPart::ShortYear:
        if (!number(2, into.year)) return false;
        into.year += 2000;
        return true;
      case StampPart::Year: return number(4, into.year);
      case StampPart::Hour24: return number(2, into.hour);
      case StampPart::Hour12: into.hour12 = true; return number(2, into.hour);
      case StampPart::Minute: return number(2, into.minute);
      case StampPart::Second: return number(2, into.second);
      case StampPart::DayHalf:
        if (name(layout_.dayHalves, index)) {
          into.dayHalf = static_cast<int>(index);
          return true;
        }
        // A locale without day-half words writes nothing there.
        return layout_.dayHalves.empty() || layout_.dayHalves[0].empty();
      case StampPart::WeekdayName: return name(layout_.weekdayNames, index);
    }
    return false;
  }

  const platform::StampLayout& layout_;
  std::string_view text_;
  std::size_t at_ = 0;
};

bool isLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

WallSeconds wallSeconds(int year, int month, int day, int hour, int minute, int second) {
  // Days since 1970-01-01 of the proleptic Gregorian calendar (the civil-from-days method).
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<WallSeconds> readStamp(const platform::StampLayout& layout, std::string_view date,
                                     std::string_view time) {
  Reading reading;
  if (!Reader(layout, date).read(layout.date, reading) || !Reader(layout, time).read(layout.time, reading)) {
    return std::nullopt;
  }
  if (reading.hour12) {
    if (reading.hour < 1 || reading.hour > 12) return std::nullopt;
    reading.hour %= 12;
    if (reading.dayHalf == 1) reading.hour += 12;
  }
  if (reading.month < 1 || reading.month > 12 || reading.day < 1 ||
      reading.day > daysIn(reading.year, reading.month) || reading.hour > 23 || reading.minute > 59 ||
      reading.second > 60) {
    return std::nullopt;
  }
  return wallSeconds(reading.year, reading.month, reading.day, reading.hour, reading.minute, reading.second);
}

std::string lengthText(std::int64_t seconds) {
  if (seconds <= 0) return "0 s";
  struct Unit {
    std::int64_t size;
    const char* name;
  };
  static constexpr Unit kUnits[] = {{86400, " d"}, {3600, " h"}, {60, " min"}, {1, " s"}};
  // Days keep the hours only: a week-long outage is not read to the second.
  const std::int64_t finest = seconds >= 86400 ? 3600 : 1;
  std::string text;
  for (const Unit& unit : kUnits) {
    const std::int64_t count = seconds / unit.size;
    seconds %= unit.size;
    if (count == 0 || unit.size < finest) continue;
    if (!text.empty()) text += ' ';
    text += std::to_string(count) + unit.name;
  }
  return text;
}

}  // namespace lumeno::log
