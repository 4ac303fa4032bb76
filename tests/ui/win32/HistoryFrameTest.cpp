// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/HistoryFrame.h"

#include "Win32WindowsFixture.h"

namespace lumeno::test {
namespace {

using platform::StampPart;

// The window draws the presenter's strips: red where the outage is, green where the program
// watched the connection up.
TEST(Win32HistoryFrame, DrawsRedWhereTheOutageIs) {
  Win32WindowsFixture f;
  f.clock.value = {"05/12/2026", "12:00:00"};
  f.folder.write("log.txt",
                 "[Lumeno Loaded] , Date : 05/12/2026 , Time : 00:00:00\r\n"
                 "[Went Offline] , Date : 05/12/2026 , Time : 06:00:00\r\n"
                 "[Back Online] , Date : 05/12/2026 , Time : 08:00:00 , Offline for : 02:00:00\r\n");
  const platform::StampLayout layout{{{StampPart::Day, {}},
                                      {StampPart::Text, "/"},
                                      {StampPart::Month, {}},
                                      {StampPart::Text, "/"},
                                      {StampPart::Year, {}}},
                                     {{StampPart::Hour24, {}},
                                      {StampPart::Text, ":"},
                                      {StampPart::Minute, {}},
                                      {StampPart::Text, ":"},
                                      {StampPart::Second, {}}},
                                     {},
                                     {},
                                     {}};
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
