// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FakeProgram.h"
#include "app/MainPresenter.h"
#include "app/MainView.h"

namespace lumeno::test {

// A main window that only remembers what it was told.
struct FakeMainView : app::MainView {
  [[nodiscard]] std::string addressText() const override { return address; }
  void setAddressText(const std::string& text) override { address = text; }
  void setAddressToolTip(const std::string& tip) override { addressTip = tip; }
  void setAddressBackground(app::Rgb color) override { addressBackground = color; }
  void setAddressForeground(app::Rgb color) override { addressForeground = color; }
  void useDesktopBackground() override { desktopBackground = true; }
  void setStatus(const std::string& text, app::Rgb color) override {
    statusColor = color;
    show(status, text);
  }
  void setLamp(app::Rgb color) override { show(lamp, color); }
  void setVersionText(const std::string& text) override { version = text; }
  void setDateText(const std::string& text) override { show(date, text); }
  void setTimeText(const std::string& text) override { show(time, text); }
  void showInfoLabel(app::InfoLabel shown, const std::vector<app::InfoLabel>& hidden) override {
    for (app::InfoLabel label : hidden) labelShown[label] = false;
    labelShown[shown] = true;
  }
  void setTrayPicture(app::TrayPicture picture) override { show(trayPicture, picture); }
  void setTrayTip(const std::string& tip) override { show(trayTip, tip); }
  void moveToTray() override {
    inTray = true;
    windowShown = false;
  }
  void removeFromTray() override { inTray = false; }
  void showNotice(const std::string& text) override { notices.push_back(text); }
  void restoreWindow() override { windowShown = true; }
  void setCaption(const std::string& text) override { caption = text; }
  void endProgram() override { ++programEnds; }
  void copyToClipboard(const std::string& text) override { clipboard = text; }
  std::optional<app::Rgb> chooseColor(app::Rgb current) override {
    chooserOpenedOn.push_back(current);
    if (colorPicks.empty()) return std::nullopt;
    const auto pick = colorPicks.front();
    colorPicks.erase(colorPicks.begin());
    return pick;
  }
  void openWindow(app::OtherWindow window) override { opened.push_back(window); }
  void startNetIpLookup() override { ++netIpLookups; }
  void startSystemInfo() override { ++systemInfoStarts; }
  bool loggingSwitchOn() override { return loggingOn; }
  bool hostNamePopupOn() override { return hostNamePopup; }

  // What the labels, lamp and tray show changes: counted, so that a test sees a needless redraw.
  template <typename Shown, typename Value>
  void show(Shown& shown, const Value& value) {
    shown = value;
    ++shownChanges;
  }

  int shownChanges = 0;  // calls that change what the labels, lamp and tray show
  std::string address = "Your IP is...";
  std::string addressTip;
  std::optional<app::Rgb> addressBackground;
  std::optional<app::Rgb> addressForeground;
  std::vector<app::Rgb> chooserOpenedOn;
  bool desktopBackground = false;
  std::string status = " Zz..";
  std::optional<app::Rgb> statusColor;
  std::optional<app::Rgb> lamp;
  std::string version;
  std::string date;
  std::string time;
  std::map<app::InfoLabel, bool> labelShown;
  std::optional<app::TrayPicture> trayPicture;
  std::string trayTip;
  bool inTray = false;
  bool windowShown = true;
  std::string caption = "Lumeno";
  int programEnds = 0;
  std::string clipboard;
  std::vector<std::optional<app::Rgb>> colorPicks;  // an empty entry is a Cancel
  std::vector<app::OtherWindow> opened;
  int netIpLookups = 0;
  int systemInfoStarts = 0;
  bool loggingOn = false;
  bool hostNamePopup = false;
  std::vector<std::string> notices;
};

// A program folder with a settings file, fake platform services and a fake window.
struct MainPresenterFixture : FakeProgram {
  explicit MainPresenterFixture(const std::string& ini = settingsWith("0", "0", "0")) : FakeProgram(ini) {}
  // Runs the window's part of start-up, with the logging switch on if `logging`.
  app::MainPresenter& start(bool logging = false) {
    view.loggingOn = view.loggingOn || logging;
    presenter.emplace(context, view);
    presenter->start();
    return *presenter;
  }

  FakeMainView view;
  std::optional<app::MainPresenter> presenter;
};

inline const std::string kStamp = " , Date : 05/12/2026 , Time : 11:26:06\r\n";
inline const std::string kApiError = "An error has occurred while calling the API function";

}  // namespace lumeno::test
