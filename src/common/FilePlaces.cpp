// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FilePlaces.h"

namespace lumeno {
namespace {

std::filesystem::path baseFolder(const std::string& xdgValue, const std::filesystem::path& home,
                                 const std::filesystem::path& fallback) {
  if (!xdgValue.empty() && xdgValue.front() == '/') return std::filesystem::path(xdgValue);
  // Without any home the root stands in, where a user cannot write: the first start says so.
  return (home.empty() ? std::filesystem::path("/") : home) / fallback;
}

std::filesystem::path userFolder(const std::filesystem::path& base) {
  return (base / kUserFolderName).lexically_normal();
}

}  // namespace

FilePlaces decideFilePlaces(const PlaceFacts& facts) {
  FilePlaces places;
  places.programFolder = facts.programFolder;
  if (facts.settingsBesideProgram) {
    places.mode = FileMode::Portable;
    places.settingsFolder = places.stateFolder = places.dataFolder = facts.programFolder;
    return places;
  }
  places.mode = FileMode::Installed;
  places.settingsFolder = userFolder(baseFolder(facts.xdgConfigHome, facts.home, ".config"));
  places.stateFolder =
      userFolder(baseFolder(facts.xdgStateHome, facts.home, std::filesystem::path(".local") / "state"));
  places.dataFolder = (facts.programFolder / facts.dataFromProgram).lexically_normal();
  // A trailing separator from normalising "x/.." would make every file name look different.
  if (places.dataFolder.has_relative_path() && places.dataFolder.filename().empty()) {
    places.dataFolder = places.dataFolder.parent_path();
  }
  return places;
}

std::string settingsFolderFailedMessage(const std::filesystem::path& folder, std::string_view reason) {
  std::string text = "Lumeno cannot make the folder for its settings, '";
  text += folder.string();
  text += "' (";
  text += reason;
  text +=
      "). Nothing has been changed. Please make that folder yourself, or free its path, and start Lumeno "
      "again.";
  return text;
}

std::string settingsCopyFailedMessage(const std::filesystem::path& from, const std::filesystem::path& to,
                                      std::string_view reason) {
  std::string text = "Lumeno cannot copy its default settings from '";
  text += from.string();
  text += "' to '";
  text += to.string();
  text += "' (";
  text += reason;
  text += "). Nothing has been changed. Please check that folder and start Lumeno again.";
  return text;
}

std::string stateFolderFailedMessage(const std::filesystem::path& folder, std::string_view reason) {
  std::string text = "Lumeno cannot make the folder for its log and the IP tools' results, '";
  text += folder.string();
  text += "' (";
  text += reason;
  text += "). Lumeno runs on, but keeps no log and cannot run the IP tools until that folder can be made.";
  return text;
}

}  // namespace lumeno
