// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/HistoryFrame.h"

#include "HistoryLog.h"
#include "Win32WindowsFixture.h"

namespace lumeno::test {
namespace {

// The window draws the presenter's strips: red where the outage is, green where the program
// watched the connection up.
TEST(Win32HistoryFrame, DrawsRedWhereTheOutageIs) {
  Win32WindowsFixture f;
  f.clock.value = kHistoryNoon;
  f.folder.write("log.txt", kHistoryLog);
  const platform::StampLayout layout = dayMonthYearLayout();
  win32ui::HistoryFrame frame(
      f.context, [] { return true; }, [] {}, layout);
  EXPECT_EQ(frame.presenter().strips().at(0).figures.outages, 1);

  RECT client{};
  ::GetClientRect(frame.handle(), &client);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::SendMessageW(frame.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const RECT strip = frame.stripPlace(0);
  const int middle = (strip.top + strip.bottom) / 2;
  const auto at = [&](int hours) {
    return static_cast<int>(strip.left + (strip.right - strip.left) * hours / 24);
  };
  EXPECT_EQ(::GetPixel(memory, at(19), middle), RGB(220, 0, 0));  // 5 hours ago
  EXPECT_EQ(::GetPixel(memory, at(15), middle), RGB(0, 160, 0));  // 9 hours ago
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumeno::test
