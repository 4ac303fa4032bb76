// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

#include "tray/TrayEvent.h"
#include "ui/qt/DesktopNotifier.h"
#include "ui/qt/TrayBackend.h"

namespace lumeno::tray {

// The tray icon of an owner window: one icon with a tip in the desktop's notification area,
// shown while the owner is minimised into it, and the clicks on it as the owner's tray events.
//
// The owner sets its window first, then gives an icon and a tip whenever they change (shown or
// not; the next minToSysTray shows the latest ones), calls minToSysTray when it is minimised and
// removeFromSysTray before the program ends. A left double-click restores the owner; on a
// StatusNotifierItem host, which has no double-click, a left click (the icon's activation) does
// the same. The component never removes its icon by itself.
class SysTray : public QObject {
  Q_OBJECT

 public:
  // On the desktop's own notification area and notification service.
  explicit SysTray(QObject* parent = nullptr);
  // On the given notification-area service (tests give a fake one) and, when given, the given
  // notification service; without one, notices are balloons only.
  explicit SysTray(std::unique_ptr<TrayBackend> backend, std::unique_ptr<DesktopNotifier> notifier = nullptr,
                   QObject* parent = nullptr);
  ~SysTray() override;
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // The tip text last given; empty at creation.
  [[nodiscard]] QString toolTip() const { return toolTip_; }

  // The owner window: the one minimised into the tray and restored from it.
  void setSourceWindow(QWidget* window) { owner_ = window; }

  // Takes the icon out of the notification area; harmless when it is not there.
  void removeFromSysTray();
  // Puts the icon, with its current picture and tip, into the notification area.
  void iconInSysTray();
  // Puts the icon into the notification area and hides the owner and its taskbar entry. Where
  // the desktop has no notification area the owner stays minimised on the taskbar instead.
  void minToSysTray();
  // A new icon picture; shown at once if the icon is in the notification area.
  void changeIcon(const QIcon& picture);
  // A new tip; shown cut to 63 bytes. While the owner is minimised or hidden in the tray it is
  // also its caption.
  void changeToolTip(const QString& text);
  // Whether the icon is in the notification area now.
  [[nodiscard]] bool isInSysTray() const { return inSysTray_; }
  // To be called every second or so: when the notification area has gone (its host ended or
  // restarts) while the icon is in it, nothing is left to bring the hidden owner back, so
  // trayHostLost() tells the owner to come back by itself. The next minToSysTray finds a new
  // notification area if one has come up meanwhile.
  void checkTrayHost();
  // A notice titled "Lumeno": a desktop notification, in the tray or not; where the desktop
  // takes none, a balloon beside the icon while it is in the tray.
  void showNotice(const QString& text);

  // The picture the icon shows (null until the first changeIcon).
  [[nodiscard]] const QIcon& picture() const { return picture_; }

 Q_SIGNALS:
  // A click on the icon; a left double-click has restored the owner first.
  void trayEvent(lumeno::tray::TrayEvent event);
  void trayHostLost();
  // A click the desktop reported on the icon, handed on to be acted on once its delivery has
  // returned (connected queued, inside the component).
  void clickReported(QSystemTrayIcon::ActivationReason reason);

 private:
  void restoreOwner();
  void dispatchClick(QSystemTrayIcon::ActivationReason reason);
  void onEvent(TrayEvent event);

  std::unique_ptr<TrayBackend> backend_;
  std::unique_ptr<DesktopNotifier> notifier_;
  NotificationDispatcher dispatcher_;
  QString toolTip_;
  QIcon picture_;
  bool inSysTray_ = false;
  QPointer<QWidget> owner_;
};

}  // namespace lumeno::tray
