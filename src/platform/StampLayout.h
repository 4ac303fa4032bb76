// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// How the desktop's regional settings lay out the date and the time of a log stamp, in words
// every backend can give and the log's reader can follow: so that a stamp is read back with the
// very formats that wrote it.
namespace lumeno::platform {

enum class StampPart {
  Text,       // the literal text of the field; a blank stands for any run of blanks
  Day,        // 1 to 31, with or without a leading zero or blank
  Month,      // 1 to 12
  MonthName,  // one of monthNames
  ShortYear,  // two digits: 2000 to 2099
  Year,       // four digits
  Hour24,     // 0 to 23
  Hour12,     // 1 to 12, with a day half
  Minute,
  Second,
  DayHalf,      // one of dayHalves: before noon, after noon
  WeekdayName,  // one of weekdayNames; read over, it says nothing the date does not
};

struct StampField {
  StampPart part = StampPart::Text;
  std::string text;  // for Text only
};

struct StampLayout {
  std::vector<StampField> date;
  std::vector<StampField> time;
  std::vector<std::string> dayHalves;     // {before noon, after noon}
  std::vector<std::string> monthNames;    // January first; abbreviated and full forms, 12 each
  std::vector<std::string> weekdayNames;  // any order, any forms
};

// The layout the clock writes its stamps in right now (the user's short date and long time).
StampLayout regionalStampLayout();

}  // namespace lumeno::platform
