// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "FakeAutostart.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FakeNetworkInfo.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "common/AppContext.h"

namespace lumeno::test {

// Lumeno.ini with the five options.
inline std::string settingsWith(const std::string& alert, const std::string& popup, const std::string& log,
                                const std::string& trayAtStart = "0") {
  return "[Options]\r\nalertifoffline=" + alert + "\r\nhostnameintext1.text=" + popup + "\r\nuselog=" + log +
         "\r\n\r\n[Automation]\r\ntrayatstartup=" + trayAtStart + "\r\nautostartup=0\r\n";
}

// The program as the windows meet it in tests: its folder (a temporary one) with a settings file,
// fake platform services, and the context every window takes, built on them in one place.
struct FakeProgram {
  explicit FakeProgram(const std::string& ini) {
    folder.write("Lumeno.ini", ini);
    context.programFolder = folder.path();
    context.boxes = &boxes;
    context.clock = &clock;
    context.network = &network;
    context.launcher = &launcher;
    context.autostart = &autostart;
  }

  [[nodiscard]] std::string log() const { return folder.read("log.txt"); }

  TempFolder folder;
  platform::FakeClock clock;
  platform::FakeNetworkInfo network;
  platform::FakeLauncher launcher;
  platform::FakeAutostart autostart;
  ScriptedMessageBoxes boxes;
  AppContext context;
};

}  // namespace lumeno::test
