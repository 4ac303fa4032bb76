// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/SysTray.h"

#include <QTextDocument>

#include <string>

#include "tray/TrayTip.h"

namespace lumeno::tray {
namespace {

const QString kProgramTitle = QStringLiteral("Lumeno");

}  // namespace

SysTray::SysTray(QObject* parent) : SysTray(makeSystemTrayBackend(), makeSessionBusNotifier(), parent) {}

SysTray::SysTray(std::unique_ptr<TrayBackend> backend, std::unique_ptr<DesktopNotifier> notifier,
                 QObject* parent)
    : QObject(parent),
      backend_(std::move(backend)),
      notifier_(std::move(notifier)),
      dispatcher_([this](TrayEvent event) { onEvent(event); }) {
  setObjectName(QStringLiteral("clsSysTray"));
  // The desktop reports a click from inside the icon's own mouse handling. What the owner does
  // with it (a pop-up menu with its own loop, restoring the window, which takes the icon away)
  // must not run there: the icon would be deleted under its own event. Act once it has returned.
  connect(this, &SysTray::clickReported, this, &SysTray::dispatchClick, Qt::QueuedConnection);
  backend_->setActivationHandler(
      [this](QSystemTrayIcon::ActivationReason reason) { Q_EMIT clickReported(reason); });
}

SysTray::~SysTray() = default;

void SysTray::removeFromSysTray() {
  backend_->hide();
  inSysTray_ = false;
}

void SysTray::iconInSysTray() {
  backend_->show();
  inSysTray_ = true;
}

void SysTray::checkTrayHost() {
  if (inSysTray_ && !backend_->available()) Q_EMIT trayHostLost();
}

void SysTray::showNotice(const QString& text) {
  const auto balloon = [this, text] {
    if (inSysTray_) backend_->showMessage(kProgramTitle, text);
  };
  if (notifier_ == nullptr) {
    balloon();
    return;
  }
  notifier_->notify(kProgramTitle, text, balloon);
}

void SysTray::minToSysTray() {
  if (!backend_->available()) {
    // Without a notification area no icon can appear, and a hidden window could never be
    // brought back: leave the window minimised on the taskbar.
    if (owner_ != nullptr) owner_->showMinimized();
    return;
  }
  iconInSysTray();
  // Hiding the window also takes its entry off the taskbar.
  if (owner_ != nullptr) owner_->hide();
}

void SysTray::changeIcon(const QIcon& picture) {
  picture_ = picture;
  backend_->setIcon(picture_);
}

void SysTray::changeToolTip(const QString& text) {
  toolTip_ = text;
  const std::string utf8 = text.toStdString();
  // The tip's lines end in CR LF; the desktop breaks lines at LF alone.
  QString shown = QString::fromStdString(std::string(cutTip(utf8)));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // A tip that looks like markup (a host name can be anything) would be drawn as rich text:
  // give it as rich text that shows it literally.
  if (Qt::mightBeRichText(shown)) shown = Qt::convertFromPlainText(shown, Qt::WhiteSpacePre);
  backend_->setToolTip(shown);
  // Minimised, or hidden in the tray (where a start in the tray leaves it without the mark).
  if (owner_ != nullptr && (owner_->isMinimized() || owner_->isHidden())) owner_->setWindowTitle(text);
}

void SysTray::restoreOwner() {
  if (owner_ != nullptr) {
    owner_->setWindowState(owner_->windowState() & ~Qt::WindowMinimized);
    owner_->show();  // back on the taskbar too
    owner_->raise();
    owner_->activateWindow();
  }
  removeFromSysTray();
}

void SysTray::dispatchClick(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      // A StatusNotifierItem host's activation: the one way there to ask for the window back.
      if (backend_->clickActivates()) {
        dispatcher_.dispatch(TrayEvent::LeftDoubleClick);
        break;
      }
      dispatcher_.dispatch(TrayEvent::LeftDown);
      dispatcher_.dispatch(TrayEvent::LeftUp);
      break;
    case QSystemTrayIcon::DoubleClick: dispatcher_.dispatch(TrayEvent::LeftDoubleClick); break;
    case QSystemTrayIcon::Context:
      dispatcher_.dispatch(TrayEvent::RightDown);
      dispatcher_.dispatch(TrayEvent::RightUp);
      break;
    case QSystemTrayIcon::MiddleClick:  // the middle button means nothing to the program
    case QSystemTrayIcon::Unknown: break;
  }
}

void SysTray::onEvent(TrayEvent event) {
  if (event == TrayEvent::LeftDoubleClick) restoreOwner();
  Q_EMIT trayEvent(event);
  if (event == TrayEvent::LeftDoubleClick && owner_ != nullptr) owner_->setWindowTitle(kProgramTitle);
}

}  // namespace lumeno::tray
