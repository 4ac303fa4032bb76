// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Where the program's own files live. Portable: a Lumeno.ini beside the executable means that
// folder holds everything, as in the build tree. Installed: the settings are the user's, under
// the XDG config folder, and the log and the tools' result files under the XDG state folder;
// the packaged default settings and the help page lie in the shared data folder of the prefix.
namespace lumeno {

inline constexpr std::string_view kSettingsFileName = "Lumeno.ini";
inline constexpr std::string_view kHelpPageName = "help.html";
inline constexpr std::string_view kUserFolderName = "lumeno";

enum class FileMode { Portable, Installed };

// What the system tells about this run; read by the platform, decided on here.
struct PlaceFacts {
  std::filesystem::path programFolder;    // the folder of the running executable
  bool settingsBesideProgram = false;     // a Lumeno.ini lies in it
  std::filesystem::path home;             // the user's home folder
  std::string xdgConfigHome;              // $XDG_CONFIG_HOME as set (maybe empty)
  std::string xdgStateHome;               // $XDG_STATE_HOME as set (maybe empty)
  std::filesystem::path dataFromProgram;  // the shared data folder, relative to programFolder
};

struct FilePlaces {
  FileMode mode = FileMode::Portable;
  std::filesystem::path programFolder;
  std::filesystem::path settingsFolder;  // Lumeno.ini
  std::filesystem::path stateFolder;     // log.txt and the tools' result files
  std::filesystem::path dataFolder;      // help page and, installed, the packaged default settings

  // The folder of each file by its name: the settings file, the help page, and everything
  // else the program writes (the log, the result files) in the state folder. An unset folder
  // means `fallback`, the program's folder, so places left empty are wholly portable.
  [[nodiscard]] const std::filesystem::path& folderFor(std::string_view name,
                                                       const std::filesystem::path& fallback) const {
    const std::filesystem::path& folder = name == kSettingsFileName ? settingsFolder
                                          : name == kHelpPageName   ? dataFolder
                                                                    : stateFolder;
    return folder.empty() ? fallback : folder;
  }
  // The default settings a first start copies for the user.
  [[nodiscard]] std::filesystem::path packagedSettings() const { return dataFolder / kSettingsFileName; }
};

// The one decision: portable when the settings file lies beside the executable, installed
// otherwise. XDG folders count only when absolute, as the XDG rules say.
FilePlaces decideFilePlaces(const PlaceFacts& facts);

// The texts a failed first start shows.
inline constexpr std::string_view kSettingsMissingMessage =
    "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno";
std::string settingsFolderFailedMessage(const std::filesystem::path& folder, std::string_view reason);
std::string settingsCopyFailedMessage(const std::filesystem::path& from, const std::filesystem::path& to,
                                      std::string_view reason);
std::string stateFolderFailedMessage(const std::filesystem::path& folder, std::string_view reason);

}  // namespace lumeno
