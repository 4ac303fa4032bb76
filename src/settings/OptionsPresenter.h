// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "common/AppContext.h"
#include "settings/ConnectionOptions.h"
#include "settings/OptionsView.h"
#include "settings/SettingsAccess.h"

namespace lumeno::settings {

struct SettingKey {
  std::string section;
  std::string key;
};
// Every key of Lumeno.ini the program reads, in the order loading reads them.
std::vector<SettingKey> settingKeysRead();

// The connection options as the file holds them, read as loading the dialog reads them but
// without telling of a key that cannot be read.
ConnectionOptions readConnectionOptions(const AppContext& context);

// Everything the options dialog decides. Each box is the store of one key of Lumeno.ini,
// written as soon as it is clicked. While the program runs, "Use log file" and "Show hostname
// in popup on request" are the live state of those two options: the rest of the program asks
// this presenter.
//
// Loading reads the on/off keys in order and ticks every box whose key reads as on, which runs
// that box's click behaviour (its key is written back as "1", and "Start when computer loads"
// writes the start-up entry again). Then it lists the interfaces and selects the stored one;
// nothing is written for it.
//
// The connection options (follow address changes, log connection changes, the interface) are
// also kept in a record the main window reads, which outlives the dialog.
class OptionsPresenter {
 public:
  // `live` receives the connection options; the presenter keeps its own when none is given.
  OptionsPresenter(const AppContext& context, OptionsView& view, ConnectionOptions* live = nullptr);
  OptionsPresenter(const OptionsPresenter&) = delete;
  OptionsPresenter& operator=(const OptionsPresenter&) = delete;

  void load();
  void onBoxClicked(Option option, bool ticked);
  // An entry of the interface list: 0 is "Automatic (default route)", then the interfaces.
  void onInterfaceChosen(std::size_t entry);
  void onClearLogClicked();
  void onViewLogClicked();
  void onDoneClicked();

  [[nodiscard]] bool isTicked(Option option) const { return ticked_.at(static_cast<std::size_t>(option)); }
  // The logging switch.
  [[nodiscard]] bool isLogOn() const { return isTicked(Option::UseLog); }
  [[nodiscard]] bool isHostNamePopupOn() const { return isTicked(Option::HostNamePopup); }
  [[nodiscard]] const ConnectionOptions& connectionOptions() const { return *live_; }

 private:
  const AppContext& context_;
  OptionsView& view_;
  void loadInterface();

  std::array<bool, 7> ticked_{};
  std::vector<std::string> interfaces_;  // as listed, after "Automatic (default route)"
  ConnectionOptions ownLive_;
  ConnectionOptions* live_;
};

// Empties the log file (creating it empty when missing). False when that did not happen: a
// read-only file, a folder in its place, a folder where it cannot be created.
bool clearLogFile(const std::filesystem::path& file);

// The first entry of the interface list and what the file stores for it.
inline constexpr const char* kAutomaticInterface = "Automatic (default route)";
inline constexpr const char* kAutomaticInterfaceValue = "auto";

}  // namespace lumeno::settings
