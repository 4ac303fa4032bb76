// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>

#include "common/AppContext.h"
#include "settings/OptionsView.h"
#include "settings/SettingsAccess.h"

namespace lumeno::settings {

// Everything the options dialog decides. Each box is the store of one key of Lumeno.ini,
// written as soon as it is clicked. While the program runs, "Use log file" and "Show hostname
// in popup on request" are the live state of those two options: the rest of the program asks
// this presenter.
//
// Loading reads the five keys in order and ticks every box whose key reads as on, which runs
// that box's click behaviour (its key is written back as "1", and "Start when computer loads"
// writes the start-up entry again).
class OptionsPresenter {
 public:
  OptionsPresenter(const AppContext& context, OptionsView& view);
  OptionsPresenter(const OptionsPresenter&) = delete;
  OptionsPresenter& operator=(const OptionsPresenter&) = delete;

  void load();
  void onBoxClicked(Option option, bool ticked);
  void onClearLogClicked();
  void onViewLogClicked();
  void onDoneClicked();

  [[nodiscard]] bool isTicked(Option option) const { return ticked_.at(static_cast<std::size_t>(option)); }
  // The logging switch.
  [[nodiscard]] bool isLogOn() const { return isTicked(Option::UseLog); }
  [[nodiscard]] bool isHostNamePopupOn() const { return isTicked(Option::HostNamePopup); }

 private:
  const AppContext& context_;
  OptionsView& view_;
  SettingFields fields_;
  std::array<bool, 5> ticked_{};
};

// Empties the log file (creating it empty when missing). False when that did not happen: a
// read-only file, a folder in its place, a folder where it cannot be created.
bool clearLogFile(const std::filesystem::path& file);

}  // namespace lumeno::settings
