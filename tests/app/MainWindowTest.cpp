#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "settings/OptionsDialog.h"
#include "tray/SysTray.h"
#include "tray/TrayImages.h"

namespace lumeno::test {
namespace {

using app::InfoLabel;
const std::string kStamp = " , Date : 05/12/2026 , Time : 11:26:06\r\n";
const std::string kApiError = "An error has occurred while calling the API function";

QLineEdit* text1(app::MainWindow& w) {
  return w.findChild<QLineEdit*>("Text1");
}
QColor colorOf(QWidget* widget, QPalette::ColorRole role) {
  return widget->palette().color(role);
}
bool trayShows(app::MainWindow& w, const char* key) {
  return w.sysTray().picture().pixmap(16).toImage() == tray::trayImage(key).pixmap(16).toImage();
}

TEST(MainWindow, StartsWithTheAddressTheVersionThePlaceholdersAndItsTimers) {
  MainWindowFixture f;
  auto& w = f.window();
  EXPECT_EQ(w.windowTitle(), "Lumeno");
  EXPECT_EQ(text1(w)->text(), "192.168.0.5");
  EXPECT_EQ(text1(w)->toolTip(), "Local IP");
  EXPECT_EQ(w.infoLabel(InfoLabel::Version)->text(), " V1.0.27");
  EXPECT_EQ(w.infoLabel(InfoLabel::Status)->text(), " Zz..");
  EXPECT_TRUE(trayShows(w, "mainicon"));
  EXPECT_FALSE(f.tray->shown);  // nothing in the tray while the window is up
  EXPECT_EQ(f.log(), "<missing>");
  for (const auto& [name, interval] :
       {std::pair{"Timer1", 1000}, {"Timer2", 1500}, {"alertifoffline", 30000}}) {
    auto* timer = w.findChild<QTimer*>(name);
    ASSERT_NE(timer, nullptr) << name;
    EXPECT_EQ(timer->interval(), interval) << name;
    EXPECT_TRUE(timer->isActive()) << name;
  }
}

TEST(MainWindow, TrayAtStartGoesStraightToTheTrayOrStaysOnTheTaskbarWithoutOne) {
  for (bool trayExists : {true, false}) {
    MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "0", "1"));
    f.tray->available = trayExists;
    f.window().showAtStartUp();
    EXPECT_EQ(f.tray->shown, trayExists);
    EXPECT_EQ(f.window().isVisible(), !trayExists);  // without a tray the window must stay reachable
  }
}

TEST(MainWindow, AnEmptySettingIsReportedByBothReadersAndLoggedOnceEvenWithLoggingOff) {
  MainWindowFixture f("[Options]\r\nuselog=0\r\n[Automation]\r\ntrayatstartup=\r\n");
  f.window();
  ASSERT_EQ(f.boxes.shown.size(), 2U);  // the main window's read, then the options dialog's
  for (const BoxRequest& box : f.boxes.shown)
    EXPECT_EQ(box, (BoxRequest{kApiError, "Lumeno", BoxIcon::Exclamation}));
  EXPECT_EQ(f.log(), "[Error API ini]" + kStamp);
}

TEST(MainWindow, OnlyTheMenuExitAsksAndLogsTheTrayExitAndTheCloseBoxJustEnd) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  w.sysTray().MinToSysTray();
  f.boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
  w.exitLumeno();
  EXPECT_EQ(f.programEnds, 0);
  EXPECT_TRUE(f.tray->shown);  // No leaves everything, tray icon included
  w.exitLumeno();
  EXPECT_EQ(f.boxes.shown[1],
            (BoxRequest{"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(f.log(), "[Lumeno Loaded]" + kStamp + "[Program Exit]" + kStamp);
  EXPECT_FALSE(f.tray->shown);
  w.sysTray().MinToSysTray();
  w.exitFromTray();
  EXPECT_FALSE(f.tray->shown);
  w.show();
  w.close();
  EXPECT_EQ(f.programEnds, 3);
  EXPECT_EQ(f.boxes.shown.size(), 2U);
  EXPECT_EQ(f.log(), "[Lumeno Loaded]" + kStamp + "[Program Exit]" + kStamp);
}

TEST(MainWindow, InfoLabelClicksRingAndMinimisingGoesToTheTrayAndBack) {
  MainWindowFixture f;
  auto& w = f.window();
  w.show();
  f.clock.value = {"06/12/2026", "09:00:01"};
  const InfoLabel ring[] = {InfoLabel::Status, InfoLabel::Version, InfoLabel::Time, InfoLabel::Date};
  for (int click = 0; click < 4; ++click) {
    w.clickInfoLabel(ring[click]);
    EXPECT_FALSE(w.infoLabel(ring[click])->isVisible()) << click;
    EXPECT_TRUE(w.infoLabel(ring[(click + 1) % 4])->isVisible()) << click;
  }
  for (InfoLabel label : ring) EXPECT_EQ(w.infoLabel(label)->isVisible(), label == InfoLabel::Status);
  EXPECT_EQ(w.infoLabel(InfoLabel::Time)->text(), " 09:00:01");  // refreshed on the way to the time

  w.setWindowState(Qt::WindowMinimized);
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(f.tray->shown);
  EXPECT_FALSE(w.isVisible());
  w.showLumeno();
  EXPECT_FALSE(f.tray->shown);
  EXPECT_TRUE(w.isVisible() && !w.isMinimized());
}

TEST(MainWindow, WithoutATrayTheCaptionCarriesTheTipOnlyWhileMinimised) {
  MainWindowFixture f;
  f.tray->available = false;
  auto& w = f.window();
  w.show();
  w.setWindowState(Qt::WindowMinimized);
  QCoreApplication::sendPostedEvents();
  w.onStatusTick();
  EXPECT_TRUE(w.windowTitle().startsWith("IP : "));
  // Restored by the window manager, not by a command of ours.
  w.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(w.windowTitle(), "Lumeno");
}

TEST(MainWindow, EachStatusTickSetsTextColourLampTrayIconAndTip) {
  MainWindowFixture f;
  auto& w = f.window();
  QLabel* status = w.infoLabel(InfoLabel::Status);
  auto* lamp = w.findChild<QLabel*>("lblled");
  f.network.connected = false;
  w.onStatusTick();
  EXPECT_EQ(status->text(), " Offline!");
  EXPECT_EQ(colorOf(status, QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(colorOf(lamp, QPalette::Window), QColor(255, 0, 0));
  EXPECT_TRUE(trayShows(w, "offlineicon"));
  EXPECT_EQ(w.sysTray().ToolTip(), "IP : 192.168.0.5\r\nStatus :  Offline!\r\nVersion : 1.0.27");
  f.network.connected = true;
  w.onStatusTick();
  EXPECT_EQ(status->text(), " Online");
  EXPECT_EQ(colorOf(status, QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(colorOf(lamp, QPalette::Window), QColor(0, 255, 0));
  EXPECT_TRUE(trayShows(w, "mainicon"));
  EXPECT_EQ(f.network.connectionChecks, 2);  // asked afresh every tick

  f.clock.value = {"2026-12-06", "23:59:59"};
  w.onClockTick();
  EXPECT_EQ(w.infoLabel(InfoLabel::Date)->text(), " 2026-12-06");
  EXPECT_EQ(w.infoLabel(InfoLabel::Time)->text(), " 23:59:59");

  // "Refresh Local IP" reads the address again and gives the tip its "LIP : " form until the
  // next tick; with logging on it logs the address.
  f.network.address = "10.20.30.40";
  w.options().findChild<QCheckBox*>("chklog")->click();
  w.refreshLocalIp();
  EXPECT_EQ(text1(w)->text(), "10.20.30.40");
  EXPECT_EQ(text1(w)->toolTip(), "Local IP Address");
  EXPECT_EQ(w.sysTray().ToolTip(), "LIP : 10.20.30.40\r\nStatus :  Online\r\nVersion : 1.0.27");
  EXPECT_NE(f.log().find("[Refreshed Local IP] : 10.20.30.40 , Date : 2026-12-06 , Time : 23:59:59\r\n"),
            std::string::npos);
  w.onStatusTick();
  EXPECT_TRUE(w.sysTray().ToolTip().startsWith("IP : "));
}

TEST(MainWindowAlert, AlertsWhileOfflineWithTheOptionOnAndLogsAfterTheBoxCloses) {
  MainWindowFixture f(MainWindowFixture::withKeys("1", "0", "1"));
  auto& w = f.window();
  w.onAlertTick();  // " Zz.." is not " Offline!"
  EXPECT_TRUE(f.boxes.shown.empty());
  f.network.connected = false;
  w.onStatusTick();
  std::string logWhileOpen;
  f.boxes.onShow = [&](const BoxRequest&) {
    logWhileOpen = f.log();
    w.onAlertTick();  // timers tick under a modal box: no second alert on top of it
  };
  w.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0],
            (BoxRequest{"Internet connection has been lost!. Please goto options and un-tic this "
                        "alert option if you don't want it.",
                        "Connection Problems"}));
  EXPECT_EQ(logWhileOpen.find("[Connection Lost]"), std::string::npos);
  EXPECT_NE(f.log().find("[Connection Lost]" + kStamp), std::string::npos);

  // Read afresh at every tick: switched off, no alert; a failed read goes on with the last value.
  f.boxes.onShow = nullptr;
  f.folder.write("Lumeno.ini", MainWindowFixture::withKeys("0", "0", "1"));
  w.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 1U);
  f.folder.write("Lumeno.ini", "[Options]\r\nalertifoffline=\r\n");
  w.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 2U);
  EXPECT_EQ(f.boxes.shown[1].text, kApiError);
}

}  // namespace
}  // namespace lumeno::test
