// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/SysTray.h"

#include <QTextDocument>

namespace lumeno::tray {
namespace {

const QString kHookName = QStringLiteral("pichook");
const QString kProgramTitle = QStringLiteral("Lumeno");

// Middle-button messages: the icon reports them, the component has no event for them.
constexpr std::uint32_t kMButtonDown = 519;
constexpr std::uint32_t kMButtonUp = 520;

// A picture's handle: its serial number, which stays the same for as long as the component
// holds that picture and differs between pictures. A null picture has handle 0.
std::uint32_t pictureHandle(const QIcon& picture) {
  if (picture.isNull()) return 0;
  return static_cast<std::uint32_t>(static_cast<quint64>(picture.cacheKey()) >> 32U);
}

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

void SysTray::setSourceWindow(QWidget* window) {
  owner_ = window;
  HookSourceWindow();
}

void SysTray::HookSourceWindow() {
  if (owner_ == nullptr) return;
  // The window already carries a hook (it was set before): nothing changes.
  if (owner_->findChild<QWidget*>(kHookName, Qt::FindDirectChildrenOnly) != nullptr) return;
  // A hidden, empty child that marks the window as this component's owner; it goes when the
  // window goes.
  auto* hook = new QWidget(owner_);  // owned by the window
  hook->setObjectName(kHookName);
  hook->setAttribute(Qt::WA_TransparentForMouseEvents);
  hook->resize(0, 0);
  hook->hide();
}

void SysTray::RemoveFromSysTray() {
  backend_->hide();
  inSysTray_ = false;
}

void SysTray::IconInSysTray() {
  backend_->show();
  inSysTray_ = true;
}

void SysTray::checkTrayHost() {
  if (inSysTray_ && !backend_->available()) Q_EMIT TrayHostLost();
}

void SysTray::ShowNotice(const QString& text) {
  const auto balloon = [this, text] {
    if (inSysTray_) backend_->showMessage(kProgramTitle, text);
  };
  if (notifier_ == nullptr) {
    balloon();
    return;
  }
  notifier_->notify(kProgramTitle, text, balloon);
}

void SysTray::MinToSysTray() {
  if (!backend_->available()) {
    // Without a notification area no icon can appear, and a hidden window could never be
    // brought back: leave the window minimised on the taskbar.
    if (owner_ != nullptr) owner_->showMinimized();
    return;
  }
  IconInSysTray();
  // Hiding the window also takes its entry off the taskbar.
  if (owner_ != nullptr) owner_->hide();
}

void SysTray::ChangeIcon(const QIcon& picture) {
  picture_ = picture;
  record_.hIcon = pictureHandle(picture_);
  backend_->setIcon(picture_);
}

void SysTray::ChangeToolTip(const QString& text) {
  toolTip_ = text;
  record_.setTip(text.toStdString());
  // The tip's lines end in CR LF; the desktop breaks lines at LF alone.
  QString shown = QString::fromStdString(record_.tip());
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // A tip that looks like markup (a host name can be anything) would be drawn as rich text:
  // give it as rich text that shows it literally.
  if (Qt::mightBeRichText(shown)) shown = Qt::convertFromPlainText(shown, Qt::WhiteSpacePre);
  backend_->setToolTip(shown);
  // Minimised, or hidden in the tray (where a start in the tray leaves it without the mark).
  if (owner_ != nullptr && (owner_->isMinimized() || owner_->isHidden())) owner_->setWindowTitle(text);
}

void SysTray::HandleLButtonDblClk() {
  if (defaultDblClk_) {
    if (owner_ != nullptr) {
      owner_->setWindowState(owner_->windowState() & ~Qt::WindowMinimized);
      owner_->show();  // back on the taskbar too
      owner_->raise();
      owner_->activateWindow();
    }
    RemoveFromSysTray();
  }
  Q_EMIT LButtonDblClk();
  if (owner_ != nullptr) owner_->setWindowTitle(kProgramTitle);
}

void SysTray::dispatchClick(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      // A StatusNotifierItem host's activation: the one way there to ask for the window back.
      if (backend_->clickActivates()) {
        dispatcher_.dispatch(kLButtonDblClk);
        break;
      }
      dispatcher_.dispatch(kLButtonDown);
      dispatcher_.dispatch(kLButtonUp);
      break;
    case QSystemTrayIcon::DoubleClick: dispatcher_.dispatch(kLButtonDblClk); break;
    case QSystemTrayIcon::Context:
      dispatcher_.dispatch(kRButtonDown);
      dispatcher_.dispatch(kRButtonUp);
      break;
    case QSystemTrayIcon::MiddleClick:
      dispatcher_.dispatch(kMButtonDown);
      dispatcher_.dispatch(kMButtonUp);
      break;
    case QSystemTrayIcon::Unknown: break;
  }
}

void SysTray::onEvent(TrayEvent event) {
  switch (event) {
    case TrayEvent::LButtonDown: Q_EMIT LButtonDown(); break;
    case TrayEvent::LButtonUp: Q_EMIT LButtonUp(); break;
    case TrayEvent::LButtonDblClk: HandleLButtonDblClk(); break;
    case TrayEvent::RButtonDown: Q_EMIT RButtonDown(); break;
    case TrayEvent::RButtonUp: Q_EMIT RButtonUp(); break;
    case TrayEvent::RButtonDblClk: Q_EMIT RButtonDblClk(); break;
    case TrayEvent::None: break;
  }
}

}  // namespace lumeno::tray
