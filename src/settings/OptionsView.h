// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumeno::settings {

// The five on/off options, in the order loading reads them.
enum class Option { AlertIfOffline, TrayAtStartup, HostNamePopup, UseLog, AutoStartup };

// What the options dialog can show and do. The presenter decides; the dialog carries it out.
class OptionsView {
 public:
  virtual ~OptionsView() = default;
  // Ticks or unticks a box without running its click behaviour.
  virtual void setTicked(Option option, bool ticked) = 0;
  virtual void openLogMonitor() = 0;
  // Unloads the dialog.
  virtual void closeDialog() = 0;
};

}  // namespace lumeno::settings
