#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "tray/SysTray.h"
#include "tray/TrayImages.h"

namespace lumeno::test {
namespace {

bool showsImage(app::MainWindow& w, const char* key) {
  return w.sysTray().picture().pixmap(16).toImage() ==
         tray::trayImage(QString::fromLatin1(key)).pixmap(16).toImage();
}

QColor textColor(QLabel* label) {
  return label->palette().color(QPalette::WindowText);
}
QColor lampColor(app::MainWindow& w) {
  return w.findChild<QLabel*>(QStringLiteral("lblled"))->palette().color(QPalette::Window);
}

const std::string kAlertText =
    "Internet connection has been lost!. Please goto options and un-tic this alert option if you don't want "
    "it.";

TEST(MainWindowStatus, EachCheckSetsTextColourLampAndTrayIcon) {
  MainWindowFixture f;
  auto& w = f.window();
  QLabel* status = w.infoLabel(app::InfoLabel::Status);

  f.network.connected = false;
  w.onStatusTick();
  EXPECT_EQ(status->text(), QStringLiteral(" Offline!"));
  EXPECT_EQ(textColor(status), QColor(255, 0, 0));
  EXPECT_EQ(lampColor(w), QColor(255, 0, 0));
  EXPECT_TRUE(showsImage(w, "offlineicon"));
  EXPECT_EQ(w.sysTray().ToolTip(),
            QStringLiteral("IP : 192.168.0.5\r\nStatus :  Offline!\r\nVersion : 1.0.27"));

  f.network.connected = true;
  w.onStatusTick();
  EXPECT_EQ(status->text(), QStringLiteral(" Online"));
  EXPECT_EQ(textColor(status), QColor(0, 0, 255));
  EXPECT_EQ(lampColor(w), QColor(0, 255, 0));
  EXPECT_TRUE(showsImage(w, "mainicon"));
  EXPECT_EQ(w.sysTray().ToolTip(),
            QStringLiteral("IP : 192.168.0.5\r\nStatus :  Online\r\nVersion : 1.0.27"));
  // The system is asked afresh at every tick.
  EXPECT_EQ(f.network.connectionChecks, 2);
}

TEST(MainWindowStatus, TheClockTickWritesDateAndTimeWithALeadingSpace) {
  MainWindowFixture f;
  auto& w = f.window();
  f.clock.value = {"2026-12-06", "23:59:59"};
  w.onClockTick();
  EXPECT_EQ(w.infoLabel(app::InfoLabel::Date)->text(), QStringLiteral(" 2026-12-06"));
  EXPECT_EQ(w.infoLabel(app::InfoLabel::Time)->text(), QStringLiteral(" 23:59:59"));
}

TEST(MainWindowStatus, RefreshLocalIpRereadsTheAddressAndLogsIt) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  w.onStatusTick();
  f.network.address = "10.20.30.40";
  w.refreshLocalIp();
  auto* text1 = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
  EXPECT_EQ(text1->text(), QStringLiteral("10.20.30.40"));
  EXPECT_EQ(text1->toolTip(), QStringLiteral("Local IP Address"));
  EXPECT_EQ(w.sysTray().ToolTip(),
            QStringLiteral("LIP : 10.20.30.40\r\nStatus :  Online\r\nVersion : 1.0.27"));
  EXPECT_NE(f.log().find("[Refreshed Local IP] : 10.20.30.40 , Date : 05/12/2026 , Time : 11:26:06\r\n"),
            std::string::npos);
  // The next status tick brings the tip back to its "IP : " form.
  w.onStatusTick();
  EXPECT_EQ(w.sysTray().ToolTip().left(5), QStringLiteral("IP : "));
}

TEST(MainWindowAlert, OfflineWithTheOptionOnAlertsAndLogsAfterTheBoxCloses) {
  MainWindowFixture f(MainWindowFixture::withKeys("1", "0", "1"));
  auto& w = f.window();
  f.network.connected = false;
  w.onStatusTick();
  std::string logWhileOpen;
  f.boxes.onShow = [&](const BoxRequest&) { logWhileOpen = f.log(); };
  w.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0], (BoxRequest{kAlertText, "Connection Problems"}));
  EXPECT_EQ(logWhileOpen.find("[Connection Lost]"), std::string::npos);
  EXPECT_NE(f.log().find("[Connection Lost] , Date : 05/12/2026 , Time : 11:26:06\r\n"), std::string::npos);
  // Not remembered: the next tick alerts again while the status stays offline.
  w.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 2U);
}

TEST(MainWindowAlert, NoAlertWhileOnlineOrWithTheOptionOff) {
  MainWindowFixture f(MainWindowFixture::withKeys("1", "0", "1"));
  auto& w = f.window();
  w.onAlertTick();  // still " Zz..": not exactly " Offline!"
  w.onStatusTick();
  w.onAlertTick();
  EXPECT_TRUE(f.boxes.shown.empty());

  MainWindowFixture off(MainWindowFixture::withKeys("0", "0", "1"));
  off.network.connected = false;
  off.window().onStatusTick();
  off.window().onAlertTick();
  EXPECT_TRUE(off.boxes.shown.empty());
  EXPECT_EQ(off.log().find("[Connection Lost]"), std::string::npos);
}

TEST(MainWindowAlert, TheSettingIsReadAfreshAtEveryTick) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "0"));
  auto& w = f.window();
  f.network.connected = false;
  w.onStatusTick();
  w.onAlertTick();
  EXPECT_TRUE(f.boxes.shown.empty());
  f.folder.write("Lumeno.ini", MainWindowFixture::withKeys("1", "0", "0"));
  w.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 1U);
}

TEST(MainWindowAlert, AtMostOneAlertIsOpenAtATime) {
  MainWindowFixture f(MainWindowFixture::withKeys("1", "0", "0"));
  auto& w = f.window();
  f.network.connected = false;
  w.onStatusTick();
  int nested = 0;
  f.boxes.onShow = [&](const BoxRequest&) {
    // The timers keep running under a modal box; a further alert tick must not open another.
    if (nested++ == 0) w.onAlertTick();
  };
  w.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 1U);
}

TEST(MainWindowAlert, AFailedReadGoesOnWithTheValueReadBefore) {
  MainWindowFixture f(MainWindowFixture::withKeys("1", "0", "0"));
  auto& w = f.window();
  f.network.connected = false;
  w.onStatusTick();
  w.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  // The key is now present but empty: the read fails, is reported, and "on" from before holds.
  f.folder.write("Lumeno.ini", "[Options]\r\nalertifoffline=\r\n");
  w.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 3U);
  EXPECT_EQ(f.boxes.shown[1].text, "An error has occurred while calling the API function");
  EXPECT_EQ(f.boxes.shown[2].title, "Connection Problems");
  EXPECT_NE(f.log().find("[Error API ini] ,"), std::string::npos);
}

}  // namespace
}  // namespace lumeno::test
