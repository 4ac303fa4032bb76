// SPDX-License-Identifier: GPL-3.0-or-later
// The tray component's rules, without a display: the tip and the dispatcher that drops clicks
// while one is being handled.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tray/TrayEvent.h"
#include "tray/TrayTip.h"

namespace lumeno::tray {
namespace {

TEST(TrayTipTest, TipsAreCutTo63BytesNeverInsideACharacterOrALineBreak) {
  const std::string x59(59, 'x');
  const std::string firstLine = "IP : " + std::string(56, 'h');  // 61 bytes, then CR LF
  const std::vector<std::pair<std::string, std::string>> rows = {
      {std::string(63, 'a'), std::string(63, 'a')},
      {std::string(64, 'b'), std::string(63, 'b')},
      {x59 + "xxx\u00E9", x59 + "xxx"},                   // a 2-byte character across the limit
      {x59 + "x\U0001F310", x59 + "x"},                   // a 4-byte one
      {x59 + "xx\u00E9!", x59 + "xx\u00E9"},              // one that ends exactly at the limit stays
      {firstLine + "\r\nStatus", firstLine + "\r\n"},     // the pair ends at byte 63: kept
      {"I" + firstLine + "\r\nStatus", "I" + firstLine},  // a lone CR would be left: cut before it
      {std::string(70, '\x80'), ""}};                     // bytes that are no text at all
  for (const auto& [tip, kept] : rows) EXPECT_EQ(cutTip(tip), kept) << tip;
}

TEST(NotificationDispatcherTest, AClickWhileAnotherIsHandledIsDroppedNotQueued) {
  std::vector<TrayEvent> seen;
  NotificationDispatcher* self = nullptr;
  NotificationDispatcher dispatcher([&](TrayEvent event) {
    seen.push_back(event);
    // The owner's menu runs its own loop here; the user clicks the icon again meanwhile.
    if (event == TrayEvent::RightUp) {
      EXPECT_FALSE(self->dispatch(TrayEvent::LeftDoubleClick));
    }
  });
  self = &dispatcher;
  EXPECT_TRUE(dispatcher.dispatch(TrayEvent::RightDown));
  EXPECT_TRUE(dispatcher.dispatch(TrayEvent::RightUp));
  EXPECT_FALSE(dispatcher.busy());
  EXPECT_EQ(seen, (std::vector<TrayEvent>{TrayEvent::RightDown, TrayEvent::RightUp}));
  // A handler that throws leaves the component able to take the next click.
  NotificationDispatcher throwing([](TrayEvent) { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(throwing.dispatch(TrayEvent::LeftDown), std::runtime_error);
  EXPECT_FALSE(throwing.busy());
}

}  // namespace
}  // namespace lumeno::tray
