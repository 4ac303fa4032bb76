// SPDX-License-Identifier: GPL-3.0-or-later
// The stamp layout from the user's regional settings: the short date and long time pictures
// ("dd/MM/yyyy", "h:mm:ss tt") that GetDateFormatEx and GetTimeFormatEx write stamps with.
#include <array>
#include <string>
#include <string_view>

#include <windows.h>

#include "platform/StampLayout.h"
#include "platform/win32/Text.h"

namespace lumeno::platform {
namespace {

std::string localeText(LCTYPE what) {
  std::array<wchar_t, 128> text{};
  const int length =
      ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, text.data(), static_cast<int>(text.size()));
  return toUtf8(std::wstring_view(text.data(), length > 0 ? static_cast<std::size_t>(length - 1) : 0));
}

void addText(std::vector<StampField>& fields, std::string_view text) {
  if (text.empty()) return;
  if (!fields.empty() && fields.back().part == StampPart::Text) {
    fields.back().text += text;
  } else {
    fields.push_back({StampPart::Text, std::string(text)});
  }
}

StampPart partOf(char letter, std::size_t count) {
  switch (letter) {
    case 'd': return count >= 3 ? StampPart::WeekdayName : StampPart::Day;
    case 'M': return count >= 3 ? StampPart::MonthName : StampPart::Month;
    case 'y': return count <= 2 ? StampPart::ShortYear : StampPart::Year;
    case 'h': return StampPart::Hour12;
    case 'H': return StampPart::Hour24;
    case 'm': return StampPart::Minute;
    case 's': return StampPart::Second;
    case 't': return StampPart::DayHalf;
    default: return StampPart::Text;
  }
}

// A picture: runs of d, M, y, g, h, H, m, s, t are fields; 'quoted' text and everything else is
// literal text ('' is a quote).
std::vector<StampField> fieldsOf(std::string_view picture) {
  std::vector<StampField> fields;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      const std::size_t close = picture.find('\'', i + 1);
      if (close == i + 1) {
        addText(fields, "'");
      } else {
        addText(fields,
                picture.substr(i + 1, (close == std::string_view::npos ? picture.size() : close) - i - 1));
      }
      i = close == std::string_view::npos ? picture.size() : close + 1;
      continue;
    }
    std::size_t run = i;
    while (run < picture.size() && picture[run] == c) ++run;
    const StampPart part = partOf(c, run - i);
    if (part != StampPart::Text) {
      fields.push_back({part, {}});
    } else if (c != 'g') {  // the era of a calendar with eras is left out
      addText(fields, picture.substr(i, run - i));
    }
    i = run;
  }
  return fields;
}

}  // namespace

StampLayout regionalStampLayout() {
  StampLayout layout;
  layout.date = fieldsOf(localeText(LOCALE_SSHORTDATE));
  layout.time = fieldsOf(localeText(LOCALE_STIMEFORMAT));
  layout.dayHalves = {localeText(LOCALE_S1159), localeText(LOCALE_S2359)};
  for (LCTYPE month = LOCALE_SABBREVMONTHNAME1; month <= LOCALE_SABBREVMONTHNAME12; ++month)
    layout.monthNames.push_back(localeText(month));
  for (LCTYPE month = LOCALE_SMONTHNAME1; month <= LOCALE_SMONTHNAME12; ++month)
    layout.monthNames.push_back(localeText(month));
  for (LCTYPE day = LOCALE_SDAYNAME1; day <= LOCALE_SABBREVDAYNAME7; ++day)
    layout.weekdayNames.push_back(localeText(day));
  return layout;
}

}  // namespace lumeno::platform
