// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace lumeno::tray {

// The notification-area service under the tray component: one icon with a tip, shown or not,
// and the clicks on it. The component talks only to this, so it can run without a real tray.
class TrayBackend {
 public:
  using ActivationHandler = std::function<void(QSystemTrayIcon::ActivationReason)>;

  TrayBackend() = default;
  TrayBackend(const TrayBackend&) = delete;
  TrayBackend& operator=(const TrayBackend&) = delete;
  virtual ~TrayBackend() = default;

  // Whether the desktop has a notification area at this moment.
  [[nodiscard]] virtual bool available() const = 0;
  // Puts the icon into the notification area / takes it out; either may be repeated.
  virtual void show() = 0;
  virtual void hide() = 0;
  // Icon and tip; kept while the icon is not shown and used when it is shown next.
  virtual void setIcon(const QIcon& icon) = 0;
  virtual void setToolTip(const QString& tip) = 0;
  // A short message in a balloon beside the icon; only while the icon is shown.
  virtual void showMessage(const QString& title, const QString& text) = 0;
  // Whether the tray is a StatusNotifierItem host (KDE, GNOME's AppIndicator extension, Wayland
  // panels): it reports a left click as the icon's activation and knows no double-click.
  [[nodiscard]] virtual bool clickActivates() const { return false; }

  // Called with every click the desktop reports on the icon.
  void setActivationHandler(ActivationHandler handler) { handler_ = std::move(handler); }

 protected:
  void activate(QSystemTrayIcon::ActivationReason reason) const {
    if (handler_) handler_(reason);
  }

 private:
  ActivationHandler handler_;
};

// The desktop's own notification area through QSystemTrayIcon.
[[nodiscard]] std::unique_ptr<TrayBackend> makeSystemTrayBackend();

}  // namespace lumeno::tray
