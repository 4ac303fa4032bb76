// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace lumeno::tray {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// The desktop entry's name: the server finds the program's name and icon by it, and GNOME files
// the notice under it.
const QString kDesktopEntry = QStringLiteral("io.github.lumeno.Lumeno");
// Normal: low would let some desktops file the notice unseen, critical would keep it up.
constexpr uchar kNormalUrgency = 1;
// The server's default display time.
constexpr int kServerDefaultTimeout = -1;

class SessionBusNotifier final : public DesktopNotifier {
 public:
  void notify(const QString& title, const QString& text, Fallback noServer) override {
    // Asking for the bus never starts one: where the session has none, start-up has made the
    // address name no transport.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
      noServer();
      return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry},
                            {QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency)}};
    call << QStringLiteral("Lumeno") << 0U << kDesktopEntry << title << text << QStringList() << hints
         << kServerDefaultTimeout;
    // Asynchronous: a slow server must not hold the status tick that reported the change.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), &owner_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &owner_,
                     [fallback = std::move(noServer)](QDBusPendingCallWatcher* done) {
                       done->deleteLater();
                       if (done->isError()) fallback();
                     });
  }

 private:
  // Holds the answers still awaited; they go with the notifier.
  QObject owner_;
};

}  // namespace

std::unique_ptr<DesktopNotifier> makeSessionBusNotifier() {
  return std::make_unique<SessionBusNotifier>();
}

}  // namespace lumeno::tray
