#include "platform/win32/Win32Clock.h"

#include <array>

#include <windows.h>

#include "platform/win32/Text.h"

namespace lumeno::platform {

DateTimeText Win32Clock::now() const {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  std::array<wchar_t, 128> date{};
  std::array<wchar_t, 128> time{};
  const int dateLength = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                           date.data(), static_cast<int>(date.size()), nullptr);
  const int timeLength = ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time.data(),
                                           static_cast<int>(time.size()));
  // The lengths count the closing NUL; a failed call gives 0 and an empty text.
  return {
      toUtf8(std::wstring_view(date.data(), dateLength > 0 ? static_cast<std::size_t>(dateLength - 1) : 0)),
      toUtf8(std::wstring_view(time.data(), timeLength > 0 ? static_cast<std::size_t>(timeLength - 1) : 0))};
}

std::chrono::milliseconds Win32Clock::steadyNow() const {
  return std::chrono::milliseconds(::GetTickCount64());  // since start-up, never set back
}

}  // namespace lumeno::platform
