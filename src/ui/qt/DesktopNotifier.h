// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace lumeno::tray {

// The desktop's notification service: a short notice with a title, shown by the desktop
// whether or not the program has an icon in the tray.
class DesktopNotifier {
 public:
  using Fallback = std::function<void()>;

  DesktopNotifier() = default;
  DesktopNotifier(const DesktopNotifier&) = delete;
  DesktopNotifier& operator=(const DesktopNotifier&) = delete;
  virtual ~DesktopNotifier() = default;

  // Hands the notice to the desktop; where nothing takes it, runs noServer instead (perhaps
  // later, once the desktop has answered, never after the notifier is gone).
  virtual void notify(const QString& title, const QString& text, Fallback noServer) = 0;
};

// The freedesktop notification server on the session bus. Where the session has no bus, the
// notices go to the fallback; a bus is never started for them.
[[nodiscard]] std::unique_ptr<DesktopNotifier> makeSessionBusNotifier();

}  // namespace lumeno::tray
