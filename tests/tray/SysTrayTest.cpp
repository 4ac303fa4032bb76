#include "tray/SysTray.h"
#include "tray/TrayImages.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "FakeTrayBackend.h"

namespace lumeno::tray {
namespace {

using test::FakeTrayBackend;

QIcon solidIcon(Qt::GlobalColor colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

class SysTrayTest : public ::testing::Test {
 protected:
  SysTrayTest() {
    auto fake = std::make_unique<FakeTrayBackend>();
    backend = fake.get();
    tray = std::make_unique<SysTray>(std::move(fake));
    owner.setWindowTitle(QStringLiteral("Lumeno"));
    tray->setSourceWindow(&owner);
    // Every event the owner can receive, in the order it arrives.
    QObject::connect(tray.get(), &SysTray::LButtonDown, [this] { events << QStringLiteral("LButtonDown"); });
    QObject::connect(tray.get(), &SysTray::LButtonUp, [this] { events << QStringLiteral("LButtonUp"); });
    QObject::connect(tray.get(), &SysTray::LButtonDblClk,
                     [this] { events << QStringLiteral("LButtonDblClk"); });
    QObject::connect(tray.get(), &SysTray::RButtonDown, [this] { events << QStringLiteral("RButtonDown"); });
    QObject::connect(tray.get(), &SysTray::RButtonUp, [this] { events << QStringLiteral("RButtonUp"); });
    QObject::connect(tray.get(), &SysTray::RButtonDblClk,
                     [this] { events << QStringLiteral("RButtonDblClk"); });
  }

  // What the owner does when the user minimises it.
  void minimiseOwner() {
    owner.show();
    owner.setWindowState(Qt::WindowMinimized);
    tray->MinToSysTray();
    owner.setWindowTitle(QStringLiteral("Lumeno"));
  }

  QWidget owner;
  FakeTrayBackend* backend = nullptr;
  std::unique_ptr<SysTray> tray;
  QStringList events;
};

TEST_F(SysTrayTest, StartsBoundToItsOwnerWithNothingInTheTray) {
  EXPECT_EQ(tray->objectName(), QStringLiteral("clsSysTray"));
  EXPECT_EQ(tray->SourceWindow(), &owner);
  EXPECT_TRUE(tray->DefaultDblClk());
  EXPECT_TRUE(tray->ToolTip().isEmpty());
  EXPECT_EQ(tray->Icon(), 0U);
  EXPECT_FALSE(backend->visible);
}

TEST_F(SysTrayTest, ClicksOnTheIconBecomeTheOwnersEvents) {
  backend->click(QSystemTrayIcon::Trigger);
  EXPECT_EQ(events, (QStringList{QStringLiteral("LButtonDown"), QStringLiteral("LButtonUp")}));
  events.clear();
  backend->click(QSystemTrayIcon::Context);
  EXPECT_EQ(events, (QStringList{QStringLiteral("RButtonDown"), QStringLiteral("RButtonUp")}));
  events.clear();
  tray->setDefaultDblClk(false);  // keeps this case to the event alone
  backend->click(QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(events, QStringList{QStringLiteral("LButtonDblClk")});
  events.clear();
  // The middle button and anything the desktop cannot name raise nothing.
  backend->click(QSystemTrayIcon::MiddleClick);
  backend->click(QSystemTrayIcon::Unknown);
  EXPECT_TRUE(events.isEmpty());
}

TEST_F(SysTrayTest, ClicksWhileTheOwnersMenuIsOpenAreDropped) {
  // A second component stays deaf only to its own clicks.
  auto otherFake = std::make_unique<FakeTrayBackend>();
  FakeTrayBackend* otherBackend = otherFake.get();
  SysTray other(std::move(otherFake));
  int otherClicks = 0;
  QObject::connect(&other, &SysTray::LButtonUp, [&] { ++otherClicks; });

  minimiseOwner();
  // The owner's pop-up menu on RButtonUp: while it is open the user clicks the icon again.
  QObject::connect(tray.get(), &SysTray::RButtonUp, [&] {
    backend->click(QSystemTrayIcon::Trigger);
    backend->click(QSystemTrayIcon::DoubleClick);
    backend->click(QSystemTrayIcon::Context);
    otherBackend->click(QSystemTrayIcon::Trigger);
  });
  backend->click(QSystemTrayIcon::Context);
  EXPECT_EQ(events, (QStringList{QStringLiteral("RButtonDown"), QStringLiteral("RButtonUp")}));
  EXPECT_FALSE(owner.isVisible());  // the dropped double-click did not restore the window
  EXPECT_EQ(otherClicks, 1);

  // With the menu closed the icon answers again.
  events.clear();
  backend->click(QSystemTrayIcon::Trigger);
  EXPECT_EQ(events, (QStringList{QStringLiteral("LButtonDown"), QStringLiteral("LButtonUp")}));
}

TEST_F(SysTrayTest, TheTipShowsUpTo63CharactersAndKeepsItsLines) {
  const QString fits(63, QLatin1Char('a'));
  tray->ChangeToolTip(fits);
  EXPECT_EQ(backend->tip, fits);

  const QString tooLong = fits + QStringLiteral("bc");
  tray->ChangeToolTip(tooLong);
  EXPECT_EQ(backend->tip, fits);
  EXPECT_EQ(tray->ToolTip(), tooLong);  // the component remembers what it was given

  tray->setToolTip(QStringLiteral("IP : 10.0.0.5\r\nStatus :  Online\r\nVersion : 1.0.27"));
  EXPECT_EQ(backend->tip, QStringLiteral("IP : 10.0.0.5\nStatus :  Online\nVersion : 1.0.27"));
  EXPECT_EQ(tray->record().tip(), "IP : 10.0.0.5\r\nStatus :  Online\r\nVersion : 1.0.27");

  // A host name in another script: the cut keeps whole characters only.
  const QString hostTip = QStringLiteral("IP : ") + QString(40, QChar(0x0436));  // Cyrillic zhe, 2 bytes
  tray->ChangeToolTip(hostTip);
  EXPECT_FALSE(backend->tip.contains(QChar::ReplacementCharacter));
  EXPECT_TRUE(hostTip.startsWith(backend->tip));
  EXPECT_EQ(backend->tip.size(), 5 + 29);  // 5 + 29 * 2 = 63 bytes
}

TEST_F(SysTrayTest, ChangesBeforeTheIconIsShownAppearWithTheNextMinimise) {
  const QIcon first = solidIcon(Qt::green);
  const QIcon latest = solidIcon(Qt::red);
  tray->ChangeIcon(first);
  const std::uint32_t firstHandle = tray->Icon();
  tray->ChangeToolTip(QStringLiteral("first"));
  tray->setIcon(latest);
  tray->ChangeToolTip(QStringLiteral("latest"));

  EXPECT_FALSE(backend->visible);
  EXPECT_TRUE(backend->iconOnScreen().isNull());
  EXPECT_TRUE(backend->tipOnScreen().isEmpty());
  EXPECT_NE(firstHandle, 0U);
  EXPECT_NE(tray->Icon(), 0U);
  EXPECT_NE(tray->Icon(), firstHandle);

  minimiseOwner();
  EXPECT_TRUE(backend->visible);
  EXPECT_FALSE(owner.isVisible());
  EXPECT_EQ(backend->iconOnScreen().cacheKey(), latest.cacheKey());
  EXPECT_EQ(backend->tipOnScreen(), QStringLiteral("latest"));

  // While shown, a change appears at once.
  tray->ChangeIcon(first);
  EXPECT_EQ(backend->iconOnScreen().cacheKey(), first.cacheKey());
  EXPECT_EQ(tray->Icon(), firstHandle);
}

TEST_F(SysTrayTest, TheCaptionFollowsTheTipOnlyWhileTheOwnerIsMinimised) {
  owner.show();
  tray->ChangeToolTip(QStringLiteral("IP : 10.0.0.5"));
  EXPECT_EQ(owner.windowTitle(), QStringLiteral("Lumeno"));

  minimiseOwner();
  tray->ChangeToolTip(QStringLiteral("IP : 10.0.0.6"));
  EXPECT_EQ(owner.windowTitle(), QStringLiteral("IP : 10.0.0.6"));
}

TEST_F(SysTrayTest, ADoubleClickRestoresTheOwnerAndTakesTheIconAway) {
  minimiseOwner();
  tray->ChangeToolTip(QStringLiteral("IP : 10.0.0.5"));
  ASSERT_FALSE(owner.isVisible());

  backend->click(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(owner.isVisible());  // and so back on the taskbar
  EXPECT_FALSE(owner.isMinimized());
  EXPECT_FALSE(backend->visible);
  EXPECT_EQ(events, QStringList{QStringLiteral("LButtonDblClk")});
  EXPECT_EQ(owner.windowTitle(), QStringLiteral("Lumeno"));
}

TEST_F(SysTrayTest, WithoutDefaultDblClickADoubleClickOnlyRaisesTheEvent) {
  tray->setDefaultDblClk(false);
  EXPECT_FALSE(tray->DefaultDblClk());
  minimiseOwner();
  tray->ChangeToolTip(QStringLiteral("IP : 10.0.0.5"));

  backend->click(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());
  EXPECT_TRUE(backend->visible);
  EXPECT_EQ(events, QStringList{QStringLiteral("LButtonDblClk")});
  EXPECT_EQ(owner.windowTitle(), QStringLiteral("Lumeno"));
}

TEST_F(SysTrayTest, SettingTheSameOwnerAgainChangesNothing) {
  const auto hooks = [](const QWidget& window) {
    return window.findChildren<QWidget*>(QStringLiteral("pichook"), Qt::FindDirectChildrenOnly).size();
  };
  const auto windowsBefore = QApplication::topLevelWidgets().size();
  ASSERT_EQ(hooks(owner), 1);
  EXPECT_FALSE(owner.findChild<QWidget*>(QStringLiteral("pichook"))->isVisibleTo(&owner));

  tray->setSourceWindow(&owner);
  EXPECT_EQ(tray->SourceWindow(), &owner);
  EXPECT_EQ(hooks(owner), 1);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);  // no message appeared

  // It still serves the same window.
  backend->click(QSystemTrayIcon::Context);
  EXPECT_EQ(events, (QStringList{QStringLiteral("RButtonDown"), QStringLiteral("RButtonUp")}));
  minimiseOwner();
  EXPECT_FALSE(owner.isVisible());
}

TEST_F(SysTrayTest, WithoutANotificationAreaTheOwnerStaysMinimisedOnTheTaskbar) {
  backend->trayAvailable = false;
  minimiseOwner();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());
  EXPECT_FALSE(backend->visible);

  // An owner asked to start in the tray, never shown yet: it appears minimised.
  QWidget hiddenOwner;
  hiddenOwner.setWindowState(Qt::WindowMinimized);
  tray->setSourceWindow(&hiddenOwner);
  tray->MinToSysTray();
  EXPECT_TRUE(hiddenOwner.isVisible());
  EXPECT_TRUE(hiddenOwner.isMinimized());
  EXPECT_FALSE(backend->visible);

  // When a notification area is there again, minimising goes to it as usual.
  backend->trayAvailable = true;
  tray->MinToSysTray();
  EXPECT_FALSE(hiddenOwner.isVisible());
  EXPECT_TRUE(backend->visible);
}

TEST(SysTrayOnTheDesktopTest, WithoutADesktopTrayMinimisingKeepsTheWindowReachable) {
  // The test platform has no notification area, like a desktop without a tray.
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  QWidget owner;
  SysTray tray;
  tray.setSourceWindow(&owner);
  tray.ChangeIcon(trayImage(QStringLiteral("mainicon")));
  tray.ChangeToolTip(QStringLiteral("IP : 10.0.0.5"));
  owner.show();
  owner.setWindowState(Qt::WindowMinimized);
  tray.MinToSysTray();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());
  tray.RemoveFromSysTray();
}

}  // namespace
}  // namespace lumeno::tray
