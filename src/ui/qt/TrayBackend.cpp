// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/TrayBackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace lumeno::tray {
namespace {

// Asked as Qt asks it when it makes the icon: a StatusNotifierItem host on the session bus
// makes QSystemTrayIcon one of its items; otherwise it docks into an XEmbed tray.
bool statusNotifierHostRegistered() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  QDBusMessage get = QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                                    QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
  constexpr int kAnswerWithinMs = 2000;
  const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, kAnswerWithinMs);
  return reply.isValid() && reply.value().variant().toBool();
}

class SystemTrayBackend final : public TrayBackend {
 public:
  SystemTrayBackend() : clickActivates_(statusNotifierHostRegistered()) {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { activate(reason); });
  }

  [[nodiscard]] bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
  void show() override { icon_.show(); }
  void hide() override { icon_.hide(); }
  // The owner refreshes icon and tip every few seconds whether or not they changed; only a
  // real change goes to the desktop, which would otherwise redraw the icon every time.
  void setIcon(const QIcon& icon) override {
    if (icon.cacheKey() == iconKey_) return;
    iconKey_ = icon.cacheKey();
    icon_.setIcon(icon);
  }
  void setToolTip(const QString& tip) override {
    if (tip == icon_.toolTip()) return;
    icon_.setToolTip(tip);
  }
  void showMessage(const QString& title, const QString& text) override {
    icon_.showMessage(title, text, QSystemTrayIcon::Information);
  }
  [[nodiscard]] bool clickActivates() const override { return clickActivates_; }

 private:
  QSystemTrayIcon icon_;  // made first: it settles which kind of tray it lives in
  bool clickActivates_;
  qint64 iconKey_ = 0;
};

}  // namespace

std::unique_ptr<TrayBackend> makeSystemTrayBackend() {
  return std::make_unique<SystemTrayBackend>();
}

}  // namespace lumeno::tray
