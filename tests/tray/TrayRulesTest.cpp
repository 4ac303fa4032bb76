// SPDX-License-Identifier: GPL-3.0-or-later
// The tray component's rules, without a display: the notification record, the mouse messages and
// the dispatcher that drops clicks while one is being handled.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tray/MouseNotification.h"
#include "tray/NotifyRecord.h"

namespace lumeno::tray {
namespace {

TEST(MouseNotificationTest, OnlyTheSixButtonMessagesMeanSomething) {
  using enum TrayEvent;
  const std::array expected = {None,      LButtonDown,   LButtonUp, LButtonDblClk, RButtonDown,
                               RButtonUp, RButtonDblClk, None,      None,          None};  // 512..521
  for (std::uint32_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(decodeMouseMessage(512 + i), expected[i]) << 512 + i;
}

TEST(NotifyRecordTest, TipsAreCutTo63BytesNeverInsideACharacterOrALineBreak) {
  const std::string x59(59, 'x');
  const std::string firstLine = "IP : " + std::string(56, 'h');  // 61 bytes, then CR LF
  const std::vector<std::pair<std::string, std::string>> rows = {
      {std::string(63, 'a'), std::string(63, 'a')},
      {std::string(64, 'b'), std::string(63, 'b')},
      {x59 + "xxx\u00E9", x59 + "xxx"},                    // a 2-byte character across the limit
      {x59 + "x\U0001F310", x59 + "x"},                    // a 4-byte one
      {x59 + "xx\u00E9!", x59 + "xx\u00E9"},               // one that ends exactly at the limit stays
      {firstLine + "\r\nStatus", firstLine + "\r\n"},      // the pair ends at byte 63: kept
      {"I" + firstLine + "\r\nStatus", "I" + firstLine}};  // a lone CR would be left: cut before it
  NotifyRecord record;
  for (const auto& [tip, kept] : rows) {
    record.setTip(tip);
    EXPECT_EQ(record.tip(), kept) << tip;
  }
  record.setTip("IP : 10.0.0.7");  // nothing of the longer one stays in the field
  EXPECT_EQ(std::string(record.szTip.begin(), record.szTip.end()), "IP : 10.0.0.7" + std::string(51, '\0'));
}

TEST(NotificationDispatcherTest, AClickWhileAnotherIsHandledIsDroppedNotQueued) {
  std::vector<TrayEvent> seen;
  NotificationDispatcher* self = nullptr;
  NotificationDispatcher dispatcher([&](TrayEvent event) {
    seen.push_back(event);
    // The owner's menu runs its own loop here; the user clicks the icon again meanwhile.
    if (event == TrayEvent::RButtonUp) {
      EXPECT_FALSE(self->dispatch(kLButtonDblClk));
    }
  });
  self = &dispatcher;
  EXPECT_TRUE(dispatcher.dispatch(kRButtonDown));
  EXPECT_TRUE(dispatcher.dispatch(kRButtonUp));
  EXPECT_FALSE(dispatcher.busy());
  EXPECT_TRUE(dispatcher.dispatch(kMouseMove));  // handled: it simply means nothing
  EXPECT_EQ(seen, (std::vector<TrayEvent>{TrayEvent::RButtonDown, TrayEvent::RButtonUp}));
  // A handler that throws leaves the component able to take the next click.
  NotificationDispatcher throwing([](TrayEvent) { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(throwing.dispatch(kLButtonDown), std::runtime_error);
  EXPECT_FALSE(throwing.busy());
}

}  // namespace
}  // namespace lumeno::tray
