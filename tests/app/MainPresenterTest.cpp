// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainPresenter.h"

#include <gtest/gtest.h>

#include <tuple>

#include "MainPresenterFixture.h"
#include "common/PathText.h"

namespace lumeno::test {
namespace {

using app::InfoLabel;
using app::TrayPicture;

// Its log line with logging on and off is the start-and-exit end-to-end case's.
TEST(MainPresenter, StartShowsTheAddressAndVersionAndChecksNoConnectionBeforeTheFirstTick) {
  MainPresenterFixture f;
  const auto& presenter = f.start();
  EXPECT_EQ(std::tuple(f.view.address, f.view.addressTip, f.view.version, f.view.trayPicture),
            std::tuple("192.168.0.5", "Local IP", " V1.0.27", TrayPicture::Online));
  EXPECT_EQ(std::tuple(f.view.status, f.network.connectionChecks, presenter.startsInTray()),
            std::tuple(" Zz..", 0, false));
}

TEST(MainPresenter, TrayAtStartIsOnOnlyForANonZeroNumberAndAnEmptyValueIsReportedAndLogged) {
  for (const auto& [value, inTray] : {std::pair{"1", true}, {"-3", true}, {"0", false}, {"yes", false}}) {
    MainPresenterFixture f(settingsWith("0", "0", "0", value));
    EXPECT_EQ(f.start().startsInTray(), inTray) << value;
  }
  MainPresenterFixture f("[Automation]\r\ntrayatstartup=\r\n");
  f.start();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0], (BoxRequest{kApiError, "Lumeno", BoxIcon::Exclamation}));
  EXPECT_EQ(f.log(), "[Error API ini]" + kStamp);  // logged even with logging off
}

TEST(MainPresenter, EachStatusTickShowsTheStateAskedAfreshAndOnlyAChangeReachesTheWindow) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  const auto shown = [&] {
    return std::tuple(f.view.status, f.view.statusColor, f.view.lamp, f.view.trayPicture, f.view.trayTip);
  };
  presenter.onStatusTick();
  presenter.onClockTick();
  EXPECT_EQ(shown(), std::tuple(" Online", app::kBlue, app::kGreen, TrayPicture::Online,
                                "IP : 192.168.0.5\r\nStatus :  Online\r\nVersion : 1.0.27"));
  const int atRest = f.view.shownChanges;
  presenter.onStatusTick();
  presenter.onClockTick();
  EXPECT_EQ(f.view.shownChanges, atRest);    // no redraw, no tray update
  EXPECT_EQ(f.network.connectionChecks, 2);  // still asked at every tick

  f.clock.value.longTime = "11:26:07";
  presenter.onClockTick();
  EXPECT_EQ(f.view.shownChanges, atRest + 1);                                               // the time alone
  EXPECT_EQ(std::tuple(f.view.date, f.view.time), std::tuple(" 05/12/2026", " 11:26:07"));  // leading spaces
  f.network.connected = false;
  f.network.address = "10.9.0.1";    // with the connection options off, neither is news
  f.view.address = "typed by hand";  // the tip shows the box as it stands
  presenter.onStatusTick();
  EXPECT_EQ(f.view.shownChanges, atRest + 5);  // status, lamp, picture, tip
  EXPECT_EQ(std::tuple(f.view.notices.size(), f.network.addressReads), std::tuple(0U, 1));
  EXPECT_EQ(shown(), std::tuple(" Offline!", app::kRed, app::kRed, TrayPicture::Offline,
                                "IP : typed by hand\r\nStatus :  Offline!\r\nVersion : 1.0.27"));

  presenter.onMinimised();  // the minimised window takes the tip as its caption at the next tick
  presenter.onStatusTick();
  EXPECT_EQ(f.view.shownChanges, atRest + 6);
}

TEST(MainPresenter, RefreshLocalIpReadsAgainGivesTheLipTipUntilTheNextTickAndLogsTheAddress) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  presenter.onGetHostNameChosen();  // a host name in the box gives way to the address
  presenter.onStatusTick();
  f.network.address = "10.20.30.40";
  f.view.loggingOn = true;
  const int checks = f.network.connectionChecks;
  presenter.onRefreshLocalIpChosen();
  EXPECT_EQ(std::tuple(f.view.address, f.view.addressTip), std::tuple("10.20.30.40", "Local IP Address"));
  EXPECT_EQ(f.view.trayTip, "LIP : 10.20.30.40\r\nStatus :  Online\r\nVersion : 1.0.27");
  EXPECT_EQ(f.network.connectionChecks, checks);  // no connection check
  EXPECT_EQ(f.log(), "[Refreshed Local IP] : 10.20.30.40" + kStamp);
  presenter.onStatusTick();
  EXPECT_EQ(f.view.trayTip.rfind("IP : ", 0), 0U);
}

TEST(MainPresenter, AlertsWhileOfflineWithTheOptionOnOneBoxAtATimeAndLogsAfterItCloses) {
  MainPresenterFixture f(settingsWith("1", "0", "1"));
  auto& presenter = f.start(true);
  presenter.onAlertTick();  // " Zz.." is not " Offline!"
  EXPECT_TRUE(f.boxes.shown.empty());
  f.network.connected = false;
  presenter.onStatusTick();
  const int checks = f.network.connectionChecks;
  std::string logWhileOpen;
  f.boxes.onShow = [&](const BoxRequest&) {
    logWhileOpen = f.log();
    presenter.onAlertTick();  // timers tick under a modal box: no second alert on top of it
  };
  presenter.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0],
            (BoxRequest{"Internet connection has been lost!. Please goto options and un-tic "
                        "this alert option if you don't want it.",
                        "Connection Problems"}));
  EXPECT_EQ(logWhileOpen, "[Lumeno Loaded]" + kStamp);
  EXPECT_EQ(f.log(), "[Lumeno Loaded]" + kStamp + "[Connection Lost]" + kStamp);
  EXPECT_EQ(f.network.connectionChecks, checks);  // the label's text decides, not a fresh check

  // Read afresh at every tick: switched off, no alert; a failed read goes on with the last value.
  f.boxes.onShow = nullptr;
  f.folder.write("Lumeno.ini", settingsWith("0", "0", "1"));
  presenter.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 1U);
  f.folder.write("Lumeno.ini", "[Options]\r\nalertifoffline=\r\n");
  presenter.onAlertTick();
  ASSERT_EQ(f.boxes.shown.size(), 2U);
  EXPECT_EQ(f.boxes.shown[1].text, kApiError);

  // The program ending while the box is open (a quit signal) logs nothing.
  f.folder.write("Lumeno.ini", settingsWith("1", "0", "1"));
  const std::string logBefore = f.log();
  f.boxes.answers = {BoxAnswer::Unanswered};
  presenter.onAlertTick();
  EXPECT_EQ(f.boxes.shown.size(), 3U);
  EXPECT_EQ(f.log(), logBefore);
}

TEST(MainPresenter, TheMenuExitAsksAndOnlyYesEndsAndLogs) {
  MainPresenterFixture f;
  auto& presenter = f.start(true);
  presenter.onMinimised();
  // No, and a question taken away by the program's end, leave everything and log nothing.
  f.boxes.answers = {BoxAnswer::No, BoxAnswer::Unanswered, BoxAnswer::Yes};
  const auto ended = [&] { return std::pair(f.view.inTray, f.view.programEnds); };
  presenter.onExitChosen();
  presenter.onExitChosen();
  EXPECT_EQ(ended(), std::pair(true, 0));  // No leaves everything, tray icon included
  presenter.onExitChosen();
  EXPECT_EQ(f.boxes.shown[2],
            (BoxRequest{"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(ended(), std::pair(false, 1));
  EXPECT_EQ(f.log(), "[Lumeno Loaded]" + kStamp + "[Program Exit]" + kStamp);
  // The close box and the tray's Exit end at once: no question, no log line.
  for (const auto end : {&app::MainPresenter::onCloseRequested, &app::MainPresenter::onTrayExitChosen}) {
    MainPresenterFixture g;
    auto& other = g.start(true);
    other.onMinimised();
    (other.*end)();
    EXPECT_EQ(std::tuple(g.view.inTray, g.view.programEnds, g.boxes.shown.size()), std::tuple(false, 1, 0U));
  }
}

TEST(MainPresenter, InfoLabelClicksRingStatusVersionTimeDateRefreshingTheTimeOnTheWay) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  const InfoLabel ring[] = {InfoLabel::Status, InfoLabel::Version, InfoLabel::Time, InfoLabel::Date};
  for (const InfoLabel label : ring) f.view.labelShown[label] = true;  // all four at start
  f.clock.value = {"06/12/2026", "09:00:01"};
  for (int click = 0; click < 4; ++click) {
    presenter.onInfoLabelClicked(ring[click]);
    EXPECT_FALSE(f.view.labelShown[ring[click]]) << click;
    EXPECT_TRUE(f.view.labelShown[ring[(click + 1) % 4]]) << click;
    if (click == 1) {
      EXPECT_EQ(f.view.time, " 09:00:01");
    }
  }
  for (const InfoLabel label : ring) EXPECT_EQ(f.view.labelShown[label], label == InfoLabel::Status);
}

TEST(MainPresenter, MinimisingGoesToTheTrayAndShowLumenoBringsTheWindowBackTitledLumeno) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  presenter.onStatusTick();
  f.view.caption = "IP : 192.168.0.5\r\nStatus :  Online";
  const auto shown = [&] { return std::tuple(f.view.inTray, f.view.windowShown, f.view.caption); };
  presenter.onMinimised();
  EXPECT_EQ(shown(), std::tuple(true, false, "Lumeno"));
  f.view.caption = "the tip";
  presenter.onShowChosen();
  EXPECT_EQ(shown(), std::tuple(false, true, "Lumeno"));
  f.view.caption = "the tip";
  presenter.onRestored();  // back from minimised by the task bar
  EXPECT_EQ(f.view.caption, "Lumeno");
}

TEST(MainPresenter, GetHostnameShowsTheNameEitherWayAndLogsEachRequest) {
  for (const bool popup : {false, true}) {
    MainPresenterFixture f;
    f.view.hostNamePopup = popup;
    auto& presenter = f.start(true);
    f.network.host = "mybox";
    presenter.onGetHostNameChosen();
    presenter.onGetHostNameChosen();
    if (!popup) {
      EXPECT_EQ(std::tuple(f.view.address, f.view.addressTip, f.boxes.shown.size()),
                std::tuple("mybox", "Host name", 0U));
    } else {
      EXPECT_EQ(f.view.address, "192.168.0.5");
      ASSERT_EQ(f.boxes.shown.size(), 2U);
      EXPECT_EQ(f.boxes.shown[0],
                (BoxRequest{"The Hostname for this computer is  ' mybox  ' ", "Your Hostname"}));
    }
    const std::string line = "[Requested Hostname] : mybox" + kStamp;
    std::string expected = "[Lumeno Loaded]" + kStamp;
    expected.append(line).append(line);
    EXPECT_EQ(f.log(), expected) << popup;
  }
}

TEST(MainPresenter, TheColourChooserOpensOnTheColourItChangesAndCancelChangesNothing) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  f.view.colorPicks = {std::nullopt, app::Rgb{10, 200, 30}, std::nullopt, std::nullopt};
  presenter.onIpBackgroundChosen();  // cancelled at its first use
  EXPECT_EQ(f.view.addressBackground, std::nullopt);
  presenter.onIpBackgroundChosen();
  presenter.onIpForegroundChosen();
  presenter.onIpBackgroundChosen();
  EXPECT_EQ(f.view.chooserOpenedOn,
            (std::vector<app::Rgb>{app::kWhite, app::kWhite, app::kBlue, app::Rgb{10, 200, 30}}));
  EXPECT_EQ(f.view.addressBackground, (app::Rgb{10, 200, 30}));
  EXPECT_EQ(f.view.addressForeground, std::nullopt);
  presenter.onResetColorChosen();
  EXPECT_EQ(std::tuple(f.view.addressBackground, f.view.addressForeground, f.view.desktopBackground),
            std::tuple(app::kWhite, app::kBlue, true));
}

TEST(MainPresenter, TheEditorAndTheEmailGoWhereTheyShould) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  presenter.onTextEditorChosen();  // no editor installed: nothing happens
  EXPECT_TRUE(f.launcher.started.empty());
#ifdef _WIN32
  // Windows has its own plain-text editor, in a folder named in any script.
  const std::string notepad = reinterpret_cast<const char*>(u8"C:\\Wind\u00F6ws\\notepad.exe");
  f.launcher.installed = {{"notepad.exe", pathFromText(notepad)}};
  presenter.onTextEditorChosen();
  ASSERT_EQ(f.launcher.started.size(), 1U);
  EXPECT_EQ(f.launcher.started[0].program, notepad);
#else
  f.launcher.installed = {{"mousepad", "/usr/bin/mousepad"}, {"kate", "/usr/bin/kate"}};
  presenter.onTextEditorChosen();
  ASSERT_EQ(f.launcher.started.size(), 1U);
  EXPECT_EQ(f.launcher.started[0].program, "/usr/bin/kate");  // the commoner editor first
#endif

  f.network.host = "my box";
  presenter.onEmailChosen();
  EXPECT_EQ(f.launcher.openedUrls.back(),
            "mailto:?subject=Network%20report%20from%20my%20box&body=Local%20IP%20%3A%20192.168.0.5%0D%0A"
            "Host%20name%20%3A%20my%20box%0D%0AStatus%20%3A%20Online%0D%0AVersion%20%3A%201.0.27%0D%0A");
  f.network.connected = false;  // the report asks the check afresh
  presenter.onEmailChosen();
  EXPECT_NE(f.launcher.openedUrls.back().find("Status%20%3A%20Offline%0D%0A"), std::string::npos);
}

}  // namespace
}  // namespace lumeno::test
