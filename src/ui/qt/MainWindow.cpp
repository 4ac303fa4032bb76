// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/MainWindow.h"

#include <string_view>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QHideEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>
#include <QWidget>
#include <QWindow>

#include "about/SysInfo.h"
#include "app/MainDesign.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/HistoryWindow.h"
#include "ui/qt/IpToolsWindow.h"
#include "ui/qt/LogMonitorWindow.h"
#include "ui/qt/OptionsDialog.h"
#include "ui/qt/ReadableColour.h"
#include "ui/qt/SysTray.h"
#include "ui/qt/TrayImages.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::app {
namespace {

const QColor kSilver(192, 192, 192);

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QColor qc(Rgb color) {
  return {color.red, color.green, color.blue};
}

void setColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  // An unchanged palette would still repaint the widget; the timers set colours every tick.
  if (widget->palette().color(role) == color) return;
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

void setText(QLabel* label, const std::string& text) {
  const QString shown = qs(text);
  if (label->text() != shown) label->setText(shown);
}

QString latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QRect placeOf(const QWidget& widget, const Twips& place) {
  return twipsRect(widget, place.left, place.top, place.width, place.height);
}

QLabel* makeInfoLabel(QWidget* parent, const design::ControlDesign& design) {
  auto* label = new QLabel(latin1(design.text), parent);
  label->setObjectName(latin1(design.name));
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(placeOf(*parent, design.place));
  label->setAlignment(Qt::AlignCenter);
  label->setToolTip(latin1(design.tip));
  setColor(label, QPalette::WindowText, qc(kBlue));
  // Opaque, in the window's own background colour, so the label in front hides the others.
  label->setAutoFillBackground(true);
  return label;
}

}  // namespace

MainWindow::MainWindow(const AppContext& context, Seams seams)
    : context_(context),
      seams_(std::move(seams)),
      netIp_(seams_.netIpService, seams_.netIpTimeout),
      optionsDialog_([this] {
        return new settings::OptionsDialog(
            context_, [this] { logMonitor_.show(); }, &presenter_.connectionOptions());
      }),
      logMonitor_([this] { return new log::LogMonitorWindow(context_); }),
      ipToolsWindow_([this] { return new iptools::IpToolsWindow(context_); }),
      aboutBox_([this] { return new about::AboutBox(context_); }),
      historyWindow_([this] {
        return new log::HistoryWindow(
            context_,
            [this] { return loggingSwitchOn() && presenter_.connectionOptions().logConnectionChanges; },
            [this] { optionsDialog_.show(); });
      }),
      presenter_(context_, *this) {
  setObjectName(latin1(design::kWindowName));
  setWindowTitle(latin1(design::kCaption));
  setWindowIcon(tray::trayImage(QStringLiteral("lumeno")));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  if (seams_.colors == nullptr) {
    ownColors_ = std::make_unique<QtColorChooser>();
    seams_.colors = ownColors_.get();
  }
  onlineIcon_ = tray::trayImage(QStringLiteral("mainicon"));
  offlineIcon_ = tray::trayImage(QStringLiteral("offlineicon"));
  buildControls();
  buildMenus();
  connect(&netIp_, &NetIpLookup::finished, this,
          [this](const QString& message) { presenter_.onNetIpAnswer(message.toStdString()); });

  tray_ = seams_.trayBackend ? std::make_unique<tray::SysTray>(seams_.trayBackend())
                             : std::make_unique<tray::SysTray>();
  tray_->setSourceWindow(this);
  // The menu runs its own loop until it closes; clicks on the icon meanwhile are dropped.
  connect(tray_.get(), &tray::SysTray::trayEvent, this, [this](tray::TrayEvent event) {
    if (event == tray::TrayEvent::RightUp) trayMenu_->exec(QCursor::pos());
  });
  // Hidden in a tray that has gone, the window would be out of reach.
  connect(tray_.get(), &tray::SysTray::trayHostLost, this, [this] { presenter_.onShowChosen(); });

  presenter_.start();
  startTimers();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
  auto* strip = new QWidget(this);
  strip->setObjectName(QStringLiteral("client"));
  strip->setFixedSize(twipsX(*this, design::kClientWidth), twipsY(*this, design::kClientHeight));
  setCentralWidget(strip);
  setWindowBackground(kSilver);

  addressBox_ = new QLineEdit(latin1(design::kAddressBox.text), strip);
  addressBox_->setObjectName(latin1(design::kAddressBox.name));
  addressBox_->setAccessibleName(QStringLiteral("Local IP address"));
  addressBox_->setGeometry(placeOf(*this, design::kAddressBox.place));
  addressBox_->setAlignment(Qt::AlignCenter);
  QFont bold = addressBox_->font();
  bold.setBold(true);
  addressBox_->setFont(bold);
  // White with blue text in every desktop scheme, like the strip around it.
  setColor(addressBox_, QPalette::Base, qc(kWhite));
  setColor(addressBox_, QPalette::Text, qc(kBlue));
  addressBox_->installEventFilter(this);

  lamp_ = new QLabel(strip);
  lamp_->setObjectName(latin1(design::kLamp.name));
  lamp_->setTextFormat(Qt::PlainText);
  lamp_->setGeometry(placeOf(*this, design::kLamp.place));
  lamp_->setToolTip(latin1(design::kLamp.tip));
  lamp_->setAccessibleName(QStringLiteral("Connection status"));  // until the first check
  setColor(lamp_, QPalette::Window, QApplication::palette().color(QPalette::Button));
  lamp_->setAutoFillBackground(true);

  // Made back to front, so that the connection status is in front at start, then version, time,
  // date. The labels behind it could not be seen anyway; hidden, a new text costs them no layout
  // or drawing until they come to the front.
  for (auto info = design::kInfoLabels.rbegin(); info != design::kInfoLabels.rend(); ++info) {
    QLabel* label = makeInfoLabel(strip, info->design);
    label->installEventFilter(this);
    if (info->label != InfoLabel::Status) label->hide();
    switch (info->label) {
      case InfoLabel::Status: statusLabel_ = label; break;
      case InfoLabel::Version: versionLabel_ = label; break;
      case InfoLabel::Time: timeLabel_ = label; break;
      case InfoLabel::Date: dateLabel_ = label; break;
    }
  }

  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::startTimers() {
  clockTimer_.setObjectName(QStringLiteral("Timer1"));
  statusTimer_.setObjectName(QStringLiteral("Timer2"));
  alertTimer_.setObjectName(QStringLiteral("alertifoffline"));
  clockTimer_.setInterval(1000);
  statusTimer_.setInterval(1500);
  alertTimer_.setInterval(30000);
  connect(&clockTimer_, &QTimer::timeout, this, [this] {
    presenter_.onClockTick();
    tray_->checkTrayHost();
  });
  connect(&statusTimer_, &QTimer::timeout, this, [this] { presenter_.onStatusTick(); });
  connect(&alertTimer_, &QTimer::timeout, this, [this] { presenter_.onAlertTick(); });
  clockTimer_.start();
  statusTimer_.start();
  alertTimer_.start();
}

QLabel* MainWindow::infoLabel(InfoLabel which) const {
  switch (which) {
    case InfoLabel::Status: return statusLabel_;
    case InfoLabel::Version: return versionLabel_;
    case InfoLabel::Time: return timeLabel_;
    case InfoLabel::Date: break;
  }
  return dateLabel_;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == addressBox_) {
      // Every click into the address box opens the File menu where the pointer is.
      fileMenu_->popup(QCursor::pos());
    } else {
      for (InfoLabel label : {InfoLabel::Status, InfoLabel::Version, InfoLabel::Time, InfoLabel::Date}) {
        if (watched == infoLabel(label)) {
          presenter_.onInfoLabelClicked(label);
          return true;
        }
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

settings::OptionsDialog& MainWindow::options() {
  return optionsDialog_.load();
}

void MainWindow::showAtStartUp() {
  if (!presenter_.startsInTray()) {
    show();
    return;
  }
  // The tray icon exists by now, so the window goes straight there without ever being shown or
  // marked minimised: a minimised mark the window manager acted on late would send the window
  // back to the tray just after "Show Lumeno". Where the desktop has no tray, the tray component
  // leaves it reachable, minimised on the taskbar.
  presenter_.onMinimised();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible()) {
    // Hiding the window from inside its own state change confuses some window managers; do it
    // as soon as this event is over.
    QMetaObject::invokeMethod(this, "onMinimisedSettled", Qt::QueuedConnection);
  } else if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
    presenter_.onRestored();
  } else if (event->type() == QEvent::ApplicationPaletteChange && followDesktopBackground_) {
    setWindowBackground(QApplication::palette().color(QPalette::Window));
  }
}

void MainWindow::hideEvent(QHideEvent* event) {
  // The window's own top left, not its frame's: hidden, it has no frame to measure from.
  if (!event->spontaneous()) placeBeforeHiding_ = geometry().topLeft();
  QMainWindow::hideEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
  // Shown again after the tray: where the user left it. A window whose place only the window
  // manager ever chose is placed afresh by it when shown again, unless the program names a
  // place; Qt takes a place as named only when it differs from the one it knows, so the window
  // is sent a pixel aside first.
  if (!event->spontaneous() && placeBeforeHiding_) {
    const QPoint place = *std::exchange(placeBeforeHiding_, std::nullopt);
    if (QWindow* window = windowHandle()) {
      window->setPosition(place + QPoint(1, 0));
      window->setPosition(place);
    }
  }
  QMainWindow::showEvent(event);
}

void MainWindow::onMinimisedSettled() {
  if (isMinimized()) presenter_.onMinimised();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  presenter_.onCloseRequested();
}

// MainView

std::string MainWindow::addressText() const {
  return addressBox_->text().toStdString();
}

void MainWindow::setAddressText(const std::string& text) {
  addressBox_->setText(qs(text));
}

void MainWindow::setAddressToolTip(const std::string& tip) {
  addressBox_->setToolTip(qs(tip));
}

void MainWindow::setAddressBackground(Rgb color) {
  setColor(addressBox_, QPalette::Base, qc(color));
}

void MainWindow::setAddressForeground(Rgb color) {
  setColor(addressBox_, QPalette::Text, qc(color));
}

void MainWindow::useDesktopBackground() {
  followDesktopBackground_ = true;
  setWindowBackground(QApplication::palette().color(QPalette::Window));
}

void MainWindow::setWindowBackground(const QColor& color) {
  // The strip only: the menu bar above it keeps the desktop's colours, whose text is drawn for
  // them; on silver, a dark scheme's light menu titles could not be read.
  setColor(centralWidget(), QPalette::Window, color);
  centralWidget()->setAutoFillBackground(true);
  colourInfoLabels();
}

void MainWindow::colourInfoLabels() {
  // The labels keep their design colours where those read well on the strip; where they do not
  // (pure red on silver, blue on a dark desktop colour), the nearest shade that does.
  if (statusLabel_ == nullptr) return;  // the strip is coloured before its labels are made
  const QColor strip = centralWidget()->palette().color(QPalette::Window);
  setColor(statusLabel_, QPalette::WindowText, readableOn(qc(statusColour_), strip));
  for (QLabel* label : {versionLabel_, timeLabel_, dateLabel_})
    setColor(label, QPalette::WindowText, readableOn(qc(kBlue), strip));
}

void MainWindow::setStatus(const std::string& text, Rgb color) {
  setText(statusLabel_, text);
  statusColour_ = color;
  colourInfoLabels();
}

void MainWindow::setLamp(Rgb color) {
  setColor(lamp_, QPalette::Window, qc(color));
  // A lamp is read by its colour; a screen reader says what the colour means.
  lamp_->setAccessibleName(color == kGreen ? QStringLiteral("Online") : QStringLiteral("Offline"));
}

void MainWindow::setVersionText(const std::string& text) {
  setText(versionLabel_, text);
}

void MainWindow::setDateText(const std::string& text) {
  setText(dateLabel_, text);
}

void MainWindow::setTimeText(const std::string& text) {
  setText(timeLabel_, text);
}

void MainWindow::showInfoLabel(InfoLabel shown, const std::vector<InfoLabel>& hidden) {
  for (InfoLabel label : hidden) infoLabel(label)->hide();
  infoLabel(shown)->show();
  infoLabel(shown)->raise();
}

void MainWindow::setTrayPicture(TrayPicture picture) {
  tray_->changeIcon(picture == TrayPicture::Online ? onlineIcon_ : offlineIcon_);
}

void MainWindow::setTrayTip(const std::string& tip) {
  tray_->changeToolTip(qs(tip));
}

void MainWindow::moveToTray() {
  tray_->minToSysTray();
}

void MainWindow::removeFromTray() {
  tray_->removeFromSysTray();
}

void MainWindow::showNotice(const std::string& text) {
  tray_->showNotice(qs(text));
}

void MainWindow::restoreWindow() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
}

void MainWindow::setCaption(const std::string& caption) {
  setWindowTitle(qs(caption));
}

void MainWindow::endProgram() {
  clockTimer_.stop();
  statusTimer_.stop();
  alertTimer_.stop();
  if (seams_.endProgram) {
    seams_.endProgram();
  } else {
    // Leaves the event loop at once, without the other windows' closing handling.
    QCoreApplication::exit(0);
  }
}

void MainWindow::copyToClipboard(const std::string& text) {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(qs(text));
}

std::optional<Rgb> MainWindow::chooseColor(Rgb current) {
  const std::optional<QColor> picked = seams_.colors->choose(qc(current));
  if (!picked) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(picked->red()), static_cast<std::uint8_t>(picked->green()),
             static_cast<std::uint8_t>(picked->blue())};
}

void MainWindow::openWindow(OtherWindow window) {
  switch (window) {
    case OtherWindow::Options: optionsDialog_.show(); break;
    case OtherWindow::LogMonitor: logMonitor_.show(); break;
    case OtherWindow::IpTools: ipToolsWindow_.show(); break;
    case OtherWindow::About: aboutBox_.show(); break;
    case OtherWindow::History: historyWindow_.show(); break;
  }
}

void MainWindow::startNetIpLookup() {
  netIp_.start();
}

void MainWindow::startSystemInfo() {
  about::startSysInfo(context_, platform::systemInfoTool());
}

bool MainWindow::loggingSwitchOn() {
  return options().isLogOn();
}

bool MainWindow::hostNamePopupOn() {
  return options().isHostNamePopupOn();
}

}  // namespace lumeno::app
