// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/SysTray.h"
#include "ui/qt/TrayImages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTextDocument>

#include <memory>
#include <vector>

#include "MainWindowFixture.h"

namespace lumeno::tray {
namespace {

using test::FakeTrayBackend;

// A notification server that takes notices while it answers.
struct FakeNotifier final : DesktopNotifier {
  void notify(const QString& title, const QString& text, Fallback noServer) override {
    if (answers)
      notices << title + ": " + text;
    else
      noServer();
  }
  bool answers = true;
  QStringList notices;
};

struct SysTrayTest : ::testing::Test {
  SysTrayTest() { tray.setSourceWindow(&owner); }
  void minimiseOwner() {
    owner.show();
    owner.setWindowState(Qt::WindowMinimized);
    tray.minToSysTray();
  }

  QWidget owner;
  FakeTrayBackend* backend = new FakeTrayBackend;  // owned by the tray
  FakeNotifier* notifier = new FakeNotifier;       // owned by the tray
  SysTray tray{std::unique_ptr<TrayBackend>(backend), std::unique_ptr<DesktopNotifier>(notifier)};
};

TEST_F(SysTrayTest, ClicksBecomeTheOwnersEventsOnceDeliveredAndClicksDuringAHandlerAreDropped) {
  minimiseOwner();
  // The owner's pop-up menu on RightUp runs its own loop, which delivers the user's next click.
  std::vector<TrayEvent> events;
  QObject::connect(&tray, &SysTray::trayEvent, [&](TrayEvent event) {
    events.push_back(event);
    if (event != TrayEvent::RightUp) return;
    backend->click(QSystemTrayIcon::DoubleClick);
    QCoreApplication::processEvents();
  });
  using enum QSystemTrayIcon::ActivationReason;
  for (const auto reason : {Trigger, MiddleClick, Unknown, Context}) backend->click(reason);
  // Nothing runs inside the icon's own delivery, only once it has returned: a menu's loop, or a
  // restore that takes the icon away, would pull the icon out from under its own event.
  EXPECT_TRUE(events.empty());
  QCoreApplication::processEvents();
  using enum TrayEvent;
  EXPECT_EQ(events, (std::vector{LeftDown, LeftUp, RightDown, RightUp}));
  EXPECT_FALSE(owner.isVisible());  // in an X tray no click here restores the window
}

// Where a tip is cut is cutTip's test; here, that the cut tip reaches the icon as written.
TEST_F(SysTrayTest, TheTipShowsItsCutAndMarkupAsWritten) {
  const QString cyrillic(40, QChar(0x0436));  // 2 bytes each: the 32nd would end at byte 64
  tray.changeToolTip(cyrillic);
  EXPECT_EQ(backend->tip, cyrillic.left(31));

  tray.changeToolTip("IP : <b>x</b><img src=y.png>\r\nStatus : Online");
  QTextDocument drawn;  // as the desktop draws a tip
  drawn.setHtml(backend->tip);
  EXPECT_TRUE(Qt::mightBeRichText(backend->tip));
  EXPECT_EQ(drawn.toPlainText(), "IP : <b>x</b><img src=y.png>\nStatus : Online");
}

TEST_F(SysTrayTest, ChangesBeforeTheIconIsShownAppearWithTheNextMinimise) {
  const QIcon first = trayImage("mainicon");
  const QIcon latest = trayImage("offlineicon");
  tray.changeIcon(first);
  tray.changeToolTip("first");
  tray.changeIcon(latest);
  tray.changeToolTip("latest");
  EXPECT_FALSE(backend->visible);
  minimiseOwner();
  EXPECT_TRUE(backend->visible);
  EXPECT_EQ(backend->icon.cacheKey(), latest.cacheKey());
  EXPECT_EQ(backend->tip, "latest");
  tray.changeIcon(first);  // while shown, at once
  EXPECT_EQ(backend->icon.cacheKey(), first.cacheKey());
}

TEST_F(SysTrayTest, ANoticeIsADesktopNotificationAndWithoutAServerABalloonInTheTray) {
  minimiseOwner();  // a notice with the window up: the e2e connection options case
  tray.showNotice("Connection lost");
  EXPECT_EQ(notifier->notices, QStringList{"Lumeno: Connection lost"});
  EXPECT_TRUE(backend->balloons.isEmpty());

  notifier->answers = false;
  tray.showNotice("Connection lost");
  backend->click(QSystemTrayIcon::DoubleClick);  // restored: the icon leaves the tray
  QCoreApplication::processEvents();
  EXPECT_FALSE(tray.isInSysTray());
  tray.showNotice("Connection restored after 00:00:05");
  EXPECT_EQ(backend->balloons, QStringList{"Lumeno: Connection lost"});
  EXPECT_EQ(notifier->notices.size(), 1);
}

TEST(SysTrayOnTheDesktopTest, WithoutANotificationAreaTheOwnerStaysMinimisedOnTheTaskbar) {
  // The test platform has no tray; an owner meant to start in it, never shown yet, appears minimised.
  QWidget owner;
  owner.setWindowState(Qt::WindowMinimized);
  SysTray desktopTray;
  desktopTray.setSourceWindow(&owner);
  desktopTray.minToSysTray();
  EXPECT_TRUE(owner.isVisible() && owner.isMinimized());
}

TEST(TrayImagesTest, TrayIconsComeAt16And32Pixels) {
  for (const char* key : {"mainicon", "offlineicon"}) {
    const QList<QSize> sizes = trayImage(key).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32))) << key;
  }
}

}  // namespace
}  // namespace lumeno::tray
