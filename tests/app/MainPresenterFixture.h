// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "FakeAutostart.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FakeMainView.h"
#include "FakeNetworkInfo.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "app/MainPresenter.h"
#include "common/AppContext.h"

namespace lumeno::test {

// Lumeno.ini with the five options.
inline std::string settingsWith(const std::string& alert, const std::string& popup, const std::string& log,
                                const std::string& trayAtStart = "0") {
  return "[Options]\r\nalertifoffline=" + alert + "\r\nhostnameintext1.text=" + popup + "\r\nuselog=" + log +
         "\r\n\r\n[Automation]\r\ntrayatstartup=" + trayAtStart + "\r\nautostartup=0\r\n";
}

// A program folder with a settings file, fake platform services and a fake window.
struct MainPresenterFixture {
  explicit MainPresenterFixture(const std::string& ini = settingsWith("0", "0", "0")) {
    folder.write("Lumeno.ini", ini);
    context.programFolder = folder.path();
    context.executable = folder / "lumeno";
    context.boxes = &boxes;
    context.clock = &clock;
    context.network = &network;
    context.launcher = &launcher;
    context.autostart = &autostart;
  }
  // Runs the window's part of start-up.
  app::MainPresenter& start() {
    presenter.emplace(context, view);
    presenter->start();
    return *presenter;
  }
  [[nodiscard]] std::string log() const { return folder.read("log.txt"); }

  TempFolder folder;
  platform::FakeClock clock;
  platform::FakeNetworkInfo network;
  platform::FakeLauncher launcher;
  platform::FakeAutostart autostart;
  ScriptedMessageBoxes boxes;
  FakeMainView view;
  AppContext context;
  std::optional<app::MainPresenter> presenter;
};

inline const std::string kStamp = " , Date : 05/12/2026 , Time : 11:26:06\r\n";
inline const std::string kApiError = "An error has occurred while calling the API function";

}  // namespace lumeno::test
