#include "tray/MouseNotification.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace lumeno::tray {
namespace {

TEST(MouseNotificationTest, OnlyTheSixButtonMessagesMeanSomething) {
  EXPECT_EQ(decodeMouseMessage(513), TrayEvent::LButtonDown);
  EXPECT_EQ(decodeMouseMessage(514), TrayEvent::LButtonUp);
  EXPECT_EQ(decodeMouseMessage(515), TrayEvent::LButtonDblClk);
  EXPECT_EQ(decodeMouseMessage(516), TrayEvent::RButtonDown);
  EXPECT_EQ(decodeMouseMessage(517), TrayEvent::RButtonUp);
  EXPECT_EQ(decodeMouseMessage(518), TrayEvent::RButtonDblClk);
  // Mouse move, middle button down/up/double-click, and numbers around the range.
  for (const std::uint32_t other : {0U, 511U, 512U, 519U, 520U, 521U, 522U}) {
    EXPECT_EQ(decodeMouseMessage(other), TrayEvent::None) << other;
  }
}

class DispatcherTest : public ::testing::Test {
 protected:
  std::vector<TrayEvent> seen;
  std::function<void(TrayEvent)> inside;  // what the handler does besides recording
  NotificationDispatcher dispatcher{[this](TrayEvent event) {
    seen.push_back(event);
    if (inside) inside(event);
  }};
};

TEST_F(DispatcherTest, MouseMovesReachNoHandler) {
  EXPECT_TRUE(dispatcher.dispatch(512));
  EXPECT_TRUE(dispatcher.dispatch(519));
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(dispatcher.busy());
}

TEST_F(DispatcherTest, AMessageArrivingWhileOneIsHandledIsDroppedNotQueued) {
  std::vector<bool> nestedAccepted;
  bool busyInside = false;
  inside = [&](TrayEvent event) {
    busyInside = dispatcher.busy();
    // The owner's pop-up menu runs here; clicks on the icon meanwhile must be lost.
    if (event == TrayEvent::RButtonUp) {
      nestedAccepted.push_back(dispatcher.dispatch(513));
      nestedAccepted.push_back(dispatcher.dispatch(515));
    }
  };
  EXPECT_TRUE(dispatcher.dispatch(517));
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(nestedAccepted, (std::vector<bool>{false, false}));
  EXPECT_EQ(seen, (std::vector<TrayEvent>{TrayEvent::RButtonUp}));

  // Once the handler is done the icon answers again, and nothing dropped turns up late.
  EXPECT_FALSE(dispatcher.busy());
  EXPECT_TRUE(dispatcher.dispatch(514));
  EXPECT_EQ(seen, (std::vector<TrayEvent>{TrayEvent::RButtonUp, TrayEvent::LButtonUp}));
}

TEST_F(DispatcherTest, AHandlerThatThrowsDoesNotLeaveTheIconDeaf) {
  inside = [](TrayEvent) { throw std::runtime_error("handler failed"); };
  EXPECT_THROW(dispatcher.dispatch(516), std::runtime_error);
  EXPECT_FALSE(dispatcher.busy());
  inside = nullptr;
  EXPECT_TRUE(dispatcher.dispatch(518));
  EXPECT_EQ(seen.back(), TrayEvent::RButtonDblClk);
}

}  // namespace
}  // namespace lumeno::tray
