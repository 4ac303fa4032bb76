// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/InfoLabelRing.h"

namespace lumeno::app {

// A colour as red, green and blue.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// The two pictures the tray icon shows.
enum class TrayPicture { Online, Offline };

// The windows the main window opens, each one shared instance.
enum class OtherWindow { Options, LogMonitor, IpTools, About, History };

// What the main window can show and do. The presenter decides; the window only carries it out.
class MainView {
 public:
  virtual ~MainView() = default;

  // The address box. The user may type into it, so its text is read back when it is needed.
  [[nodiscard]] virtual std::string addressText() const = 0;
  virtual void setAddressText(const std::string& text) = 0;
  virtual void setAddressToolTip(const std::string& tip) = 0;
  virtual void setAddressBackground(Rgb color) = 0;
  virtual void setAddressForeground(Rgb color) = 0;
  // The window's background takes the desktop's own colour and follows the desktop's scheme.
  virtual void useDesktopBackground() = 0;

  // The info labels and the lamp.
  virtual void setStatus(const std::string& text, Rgb color) = 0;
  virtual void setLamp(Rgb color) = 0;
  virtual void setVersionText(const std::string& text) = 0;
  virtual void setDateText(const std::string& text) = 0;
  virtual void setTimeText(const std::string& text) = 0;
  virtual void showInfoLabel(InfoLabel shown, const std::vector<InfoLabel>& hidden) = 0;

  // The tray icon: its picture and tip are kept whether or not it is in the tray.
  virtual void setTrayPicture(TrayPicture picture) = 0;
  virtual void setTrayTip(const std::string& tip) = 0;
  // Puts the icon into the tray and hides the window (without a tray: minimised on the taskbar).
  virtual void moveToTray() = 0;
  virtual void removeFromTray() = 0;
  // A notice of a change the user did not ask for, whether the window is shown or in the tray:
  // the desktop's notification, or the face's nearest match (a balloon beside the tray icon).
  virtual void showNotice(const std::string& text) = 0;
  // Shows the window in its normal state.
  virtual void restoreWindow() = 0;
  virtual void setCaption(const std::string& caption) = 0;
  // Leaves the program at once, without any other window's closing handling.
  virtual void endProgram() = 0;

  virtual void copyToClipboard(const std::string& text) = 0;
  // The colour chooser, opened modally on the given colour; nothing when the user cancelled.
  virtual std::optional<Rgb> chooseColor(Rgb current) = 0;
  virtual void openWindow(OtherWindow window) = 0;
  virtual void startNetIpLookup() = 0;
  virtual void startSystemInfo() = 0;

  // The options dialog's two live switches ("Use log file", host name in a message box); asking
  // loads the dialog hidden when it is not loaded.
  virtual bool loggingSwitchOn() = 0;
  virtual bool hostNamePopupOn() = 0;
};

}  // namespace lumeno::app
