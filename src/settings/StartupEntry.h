// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "common/AppContext.h"
#include "platform/Autostart.h"

// Starting the program when the user logs in: a value under the "Run" key, written when the
// options dialog's "Start when computer loads" box is ticked and removed when it is unticked.
// Failures are silent; the settings key "autostartup" records the user's choice in any case.
namespace lumeno::settings {

inline constexpr std::string_view kStartupValueName = "Lumeno.exe";
inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
inline constexpr platform::Hive kRunHive = platform::Hive::LocalMachine;

// The data of the Windows value: the folder, a backslash unless the folder already ends with one,
// and the value name ("C:\Tools" -> "C:\Tools\Lumeno.exe", "C:\" -> "C:\Lumeno.exe").
std::string runValueData(std::string_view folder, std::string_view valueName);

// The program the value starts on this platform: on Windows the installed name in the program's
// folder (runValueData); elsewhere the running executable itself, wherever it now lives.
std::string startupProgram(const AppContext& context, std::string_view valueName);

// Writes the value `valueName` with the program to start.
void AddStartupEntry(const AppContext& context, const std::string& valueName);
// Deletes the value `valueName`; a missing value stays missing, silently.
void RemoveStartupEntry(const AppContext& context, const std::string& valueName);

// The general routines the two above are built on; a missing registration does nothing.
void WriteRegValue(platform::Autostart* autostart, platform::Hive hive, const std::string& keyPath,
                   const std::string& valueName, const std::string& data);
void DeleteRegValue(platform::Autostart* autostart, platform::Hive hive, const std::string& keyPath,
                    const std::string& valueName);

}  // namespace lumeno::settings
