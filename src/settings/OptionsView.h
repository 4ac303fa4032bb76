#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumeno::settings {

// The on/off options, in the order loading reads them.
enum class Option {
  AlertIfOffline,
  TrayAtStartup,
  HostNamePopup,
  UseLog,
  AutoStartup,
  FollowAddress,
  LogConnectionChanges
};

// What the options dialog can show and do. The presenter decides; the dialog carries it out.
class OptionsView {
 public:
  virtual ~OptionsView() = default;
  // Ticks or unticks a box without running its click behaviour.
  virtual void setTicked(Option option, bool ticked) = 0;
  // Fills the interface list and selects one entry, without running its choice behaviour.
  virtual void showInterfaces(const std::vector<std::string>& entries, std::size_t selected) = 0;
  virtual void openLogMonitor() = 0;
  // Unloads the dialog.
  virtual void closeDialog() = 0;
};

}  // namespace lumeno::settings
