// SPDX-License-Identifier: GPL-3.0-or-later
// Lumeno for Windows: the local IPv4 address and the Internet connection at a glance.
#include <filesystem>

#include <windows.h>

#include <commctrl.h>

#include "app/FirstStart.h"
#include "common/AppContext.h"
#include "platform/Autostart.h"
#include "platform/SingleInstance.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Launcher.h"
#include "platform/win32/Win32NetworkInfo.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/Controls.h"
#include "ui/win32/MainFrame.h"
#include "ui/win32/Win32MessageBoxes.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
  // A window program has no console to print to: /? and --version answer in a message box.
  if (const auto answer = lumeno::win32ui::commandLineAnswer(commandLine != nullptr ? commandLine : L"")) {
    ::MessageBoxW(nullptr, answer->c_str(), L"Lumeno", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  // A second copy ends at once: no message, no log entry.
  const auto instance = lumeno::platform::claimSingleInstance();
  if (!instance->acquired()) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  lumeno::win32ui::Win32MessageBoxes boxes;
  lumeno::platform::Win32Clock clock;
  lumeno::platform::Win32NetworkInfo network;
  lumeno::platform::Win32Launcher launcher;
  const std::filesystem::path executable = lumeno::platform::modulePath();
  const auto autostart = lumeno::platform::makeAutostart(executable);

  lumeno::AppContext context;
  context.programFolder = executable.parent_path();
  context.boxes = &boxes;
  context.clock = &clock;
  context.network = &network;
  context.launcher = &launcher;
  context.autostart = autostart.get();

  // Portable only: the settings file must lie beside the program.
  if (lumeno::app::prepareUserFiles(context) != lumeno::app::FilesReady::Yes) return 0;

  lumeno::win32ui::MainFrame window(context);
  window.showAtStartUp();
  return lumeno::win32ui::runMessageLoop();
}
