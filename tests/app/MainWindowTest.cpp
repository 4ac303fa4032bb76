#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "tray/SysTray.h"

namespace lumeno::test {
namespace {

const std::string kLoaded = "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n";
const std::string kExit = "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n";

QString labelText(app::MainWindow& window, app::InfoLabel which) {
  return window.infoLabel(which)->text();
}

TEST(MainWindowStartUp, ShowsTheAddressTheVersionAndThePlaceholders) {
  MainWindowFixture f;
  auto& w = f.window();
  EXPECT_EQ(w.objectName(), QStringLiteral("frmIP"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lumeno"));
  auto* text1 = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
  ASSERT_NE(text1, nullptr);
  EXPECT_EQ(text1->text(), QStringLiteral("192.168.0.5"));
  EXPECT_EQ(text1->toolTip(), QStringLiteral("Local IP"));
  EXPECT_EQ(labelText(w, app::InfoLabel::Version), QStringLiteral(" V1.0.27"));
  EXPECT_EQ(labelText(w, app::InfoLabel::Status), QStringLiteral(" Zz.."));
  EXPECT_EQ(labelText(w, app::InfoLabel::Time), QStringLiteral(" lbltime"));
  EXPECT_EQ(labelText(w, app::InfoLabel::Date), QStringLiteral(" Zz..."));
  EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblled"))->toolTip(),
            QStringLiteral("Connection status..."));
  // The tray component holds the program's icon, but nothing is in the tray while the window is up.
  EXPECT_NE(w.sysTray().Icon(), 0U);
  EXPECT_FALSE(f.tray->shown);
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(f.log(), "<missing>");
}

TEST(MainWindowStartUp, TimersRunAtTheirIntervalsFromTheStart) {
  MainWindowFixture f;
  auto& w = f.window();
  const std::pair<const char*, int> timers[] = {
      {"Timer1", 1000}, {"Timer2", 1500}, {"alertifoffline", 30000}};
  for (const auto& [name, interval] : timers) {
    auto* timer = w.findChild<QTimer*>(QString::fromLatin1(name));
    ASSERT_NE(timer, nullptr) << name;
    EXPECT_EQ(timer->interval(), interval) << name;
    EXPECT_TRUE(timer->isActive()) << name;
  }
}

TEST(MainWindowStartUp, TrayAtStartGoesStraightToTheTrayWithTheProgramIcon) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "0", "1"));
  auto& w = f.window();
  ASSERT_TRUE(w.startsInTray());
  w.showAtStartUp();
  EXPECT_TRUE(f.tray->shown);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(f.tray->iconKey, w.sysTray().picture().cacheKey());
}

TEST(MainWindowStartUp, WithoutATrayTheWindowStaysReachableOnTheTaskbar) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "0", "1"));
  f.tray->available = false;
  auto& w = f.window();
  w.showAtStartUp();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.isMinimized());
  EXPECT_FALSE(f.tray->shown);
}

TEST(MainWindowStartUp, AnEmptySettingIsReportedAndLoggedEvenWithLoggingOff) {
  MainWindowFixture f(
      "[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=0\r\n[Automation]\r\ntrayatstartup="
      "\r\n");
  auto& w = f.window();
  // The main window's read and, loading for the logging switch, the options dialog's read.
  ASSERT_EQ(f.boxes.shown.size(), 2U);
  for (const BoxRequest& box : f.boxes.shown) {
    EXPECT_EQ(box, (BoxRequest{"An error has occurred while calling the API function", "Lumeno",
                               BoxIcon::Exclamation}));
  }
  // Only the main window's copy writes the log entry.
  EXPECT_EQ(f.log(), "[Error API ini] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  EXPECT_FALSE(w.startsInTray());
}

TEST(MainWindowExit, StartThenExitYesLogsExactlyTwoLines) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  EXPECT_EQ(f.log(), kLoaded);
  f.boxes.answers.push_back(BoxAnswer::Yes);
  w.exitLumeno();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0],
            (BoxRequest{"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(f.log(), kLoaded + kExit);
  EXPECT_EQ(f.programEnds, 1);
}

TEST(MainWindowExit, NoLeavesEverythingAsItWasTrayIconIncluded) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  w.sysTray().MinToSysTray();
  ASSERT_TRUE(f.tray->shown);
  f.boxes.answers.push_back(BoxAnswer::No);
  w.exitLumeno();
  EXPECT_EQ(f.programEnds, 0);
  EXPECT_TRUE(f.tray->shown);
  EXPECT_EQ(f.log(), kLoaded);
}

TEST(MainWindowExit, TrayExitAndTheCloseBoxEndWithoutQuestionOrLogLine) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  w.sysTray().MinToSysTray();
  w.exitFromTray();
  EXPECT_EQ(f.programEnds, 1);
  EXPECT_FALSE(f.tray->shown);
  w.show();
  w.close();
  EXPECT_EQ(f.programEnds, 2);
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(f.log(), kLoaded);
}

TEST(MainWindowLabels, FourClicksRingThroughVersionTimeDateBackToStatus) {
  MainWindowFixture f;
  auto& w = f.window();
  w.show();
  f.clock.value = {"06/12/2026", "09:00:01"};
  w.clickInfoLabel(app::InfoLabel::Status);
  EXPECT_TRUE(w.infoLabel(app::InfoLabel::Version)->isVisible());
  EXPECT_FALSE(w.infoLabel(app::InfoLabel::Status)->isVisible());
  w.clickInfoLabel(app::InfoLabel::Version);
  // The time shown is current: the clock was read on the way.
  EXPECT_EQ(labelText(w, app::InfoLabel::Time), QStringLiteral(" 09:00:01"));
  EXPECT_EQ(labelText(w, app::InfoLabel::Date), QStringLiteral(" 06/12/2026"));
  EXPECT_TRUE(w.infoLabel(app::InfoLabel::Time)->isVisible());
  w.clickInfoLabel(app::InfoLabel::Time);
  EXPECT_TRUE(w.infoLabel(app::InfoLabel::Date)->isVisible());
  EXPECT_FALSE(w.infoLabel(app::InfoLabel::Time)->isVisible());
  w.clickInfoLabel(app::InfoLabel::Date);
  EXPECT_TRUE(w.infoLabel(app::InfoLabel::Status)->isVisible());
  for (auto hidden : {app::InfoLabel::Version, app::InfoLabel::Time, app::InfoLabel::Date}) {
    EXPECT_FALSE(w.infoLabel(hidden)->isVisible());
  }
}

TEST(MainWindowLabels, MinimisingGoesToTheTrayAndRestoringComesBack) {
  MainWindowFixture f;
  auto& w = f.window();
  w.show();
  w.setWindowState(Qt::WindowMinimized);
  QCoreApplication::sendPostedEvents();  // the move to the tray follows the state change
  EXPECT_TRUE(f.tray->shown);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lumeno"));
  w.showLumeno();
  EXPECT_FALSE(f.tray->shown);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.isMinimized());
}

}  // namespace
}  // namespace lumeno::test
