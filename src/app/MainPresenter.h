// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "app/ConnectionWatch.h"
#include "app/InfoLabelRing.h"
#include "app/MainMenus.h"
#include "app/MainView.h"
#include "common/AppContext.h"
#include "log/ActivityLog.h"
#include "settings/ConnectionOptions.h"
#include "settings/SettingsAccess.h"

namespace lumeno::app {

// Everything the main window decides: start-up, the three timers' work, the tray icon's picture
// and tip, the offline alert, the info-label ring, the three ways out and every menu command.
// It talks to the window only through MainView and to the system through the context.
class MainPresenter {
 public:
  MainPresenter(const AppContext& context, MainView& view);
  MainPresenter(const MainPresenter&) = delete;
  MainPresenter& operator=(const MainPresenter&) = delete;

  // The window's part of start-up: the tray-at-start setting, the address, the version, the
  // tray icon's first picture and the start entry of the activity log.
  void start();
  // Whether "Minimize to sys-tray on load" was on at start-up.
  [[nodiscard]] bool startsInTray() const { return startInTray_; }

  // The timers.
  void onClockTick();   // Timer1, every second
  void onStatusTick();  // Timer2, every 1.5 s
  void onAlertTick();   // alertifoffline, every 30 s
  // Asks whether the computer is connected and shows the answer in the status label, the lamp
  // and the tray icon.
  void checkConnection();

  // The window.
  void onMinimised();       // however it was minimised: into the tray
  void onRestored();        // back from minimised, by any means
  void onCloseRequested();  // the close box, or the desktop closing the window
  void onInfoLabelClicked(InfoLabel clicked);

  // The menus: a command of the main window's or the tray's menu.
  void onMenuChosen(MenuCommand command);
  void onExitChosen();      // File > Exit: asks first
  void onTrayExitChosen();  // tray > Exit: no question
  void onShowChosen();      // tray > Show Lumeno
  void onRefreshLocalIpChosen();
  void onRefreshNetIpChosen();
  void onNetIpAnswer(const std::string& message);
  void onCopyChosen();
  void onCopyIPv6Chosen();
  void onGetHostNameChosen();
  void onIpBackgroundChosen();
  void onIpForegroundChosen();
  void onResetColorChosen();
  void onWindowChosen(OtherWindow window);
  void onSystemInfoChosen();
  void onTextEditorChosen();
  void onHelpChosen();
  void onCheckForUpdatesChosen();
  void onEmailChosen();

  // The connection options the status ticks follow: read at start, then kept current by the
  // options dialog, which is handed this record.
  [[nodiscard]] settings::ConnectionOptions& connectionOptions() { return connectionOptions_; }

  // The status label's text as the last check left it (" Zz.." before the first).
  [[nodiscard]] const std::string& statusText() const { return statusText_; }

 private:
  // Whether a setting reads as on. A failed read is logged, and the value read last (of any key)
  // stands, as it always has.
  bool settingOn(const char* section, const char* key);
  void showTrayTip(bool refreshed);
  void applyChosenColor(bool background);
  // Puts the chosen interface's address into the address box and remembers it as shown.
  void showAddress(const std::string& chosen, const std::string& address);
  void followAddress();
  void reportConnectionChange();

  const AppContext& context_;
  MainView& view_;
  std::string lastSetting_;  // the value the last good read of any setting gave
  log::ActivityLog log_;
  std::string statusText_;
  // What the window shows already, so that a tick passes on only what changed.
  std::optional<bool> shownConnected_;
  std::string shownTip_;
  std::string shownDate_;
  std::string shownTime_;
  bool startInTray_ = false;
  bool alertOpen_ = false;
  // The address the program last put into the address box, and the interface choice it was for.
  std::string shownAddress_;
  std::string lastRealAddress_;  // the last address shown that was not the loopback stand-in
  std::string shownFor_;
  ConnectionWatch connectionWatch_;
  settings::ConnectionOptions connectionOptions_;
  // The address box's colours as the window shows them; they last for the run only.
  Rgb addressBackground_ = kWhite;
  Rgb addressForeground_ = kBlue;
};

}  // namespace lumeno::app
