#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include "about/AboutBox.h"
#include "app/StatusText.h"
#include "common/WindowGeometry.h"
#include "iptools/IpToolsWindow.h"
#include "log/LogEntry.h"
#include "log/LogMonitorWindow.h"
#include "platform/Files.h"
#include "platform/NetworkInfo.h"
#include "settings/OptionsDialog.h"
#include "tray/SysTray.h"
#include "tray/TrayImages.h"

namespace lumeno::app {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kSilver(192, 192, 192);

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* makeInfoLabel(QWidget* parent, const char* name, const char* text, const char* tip) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(twipsRect(*parent, 240, 360, 1935, 255));
  label->setAlignment(Qt::AlignCenter);
  label->setToolTip(QString::fromLatin1(tip));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kBlue);
  label->setPalette(palette);
  // Opaque, in the window's own background colour, so the label in front hides the others.
  label->setAutoFillBackground(true);
  return label;
}

void setBackground(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(widget->backgroundRole(), color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

MainWindow::MainWindow(const AppContext& context, Seams seams)
    : context_(context),
      seams_(std::move(seams)),
      log_(context.file("log.txt"), *context.clock, [this] { return loggingOn(); }),
      netIp_(seams_.netIpService, seams_.netIpTimeout),
      frmoptions_([this] { return new settings::OptionsDialog(context_, [this] { showLogMonitor(); }); }),
      logfrm_([this] { return new log::LogMonitorWindow(context_); }),
      frmMain_([this] { return new iptools::IpToolsWindow(context_); }),
      frmAbout_([this] { return new about::AboutBox(context_); }) {
  setObjectName(QStringLiteral("frmIP"));
  setWindowTitle(QStringLiteral("Lumeno"));
  setWindowIcon(tray::trayImage(QStringLiteral("lumeno")));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  if (seams_.colors == nullptr) {
    ownColors_ = std::make_unique<QtColorChooser>();
    seams_.colors = ownColors_.get();
  }
  mainIcon_ = image("mainicon");
  offlineIcon_ = image("offlineicon");
  buildControls();
  buildMenus();
  connect(&netIp_, &NetIpLookup::finished, this,
          [this](const QString& message) { context_.boxes->show({message.toStdString()}); });

  // Start-up, in this order. The single-instance test and the settings file check come before
  // this window exists (main).
  fields_.currentSection = "Automation";
  fields_.currentKey = "trayatstartup";
  ReadSetting();
  startInTray_ = settings::readsAsOn(fields_.currentValue);

  Text1_->setText(qs(context_.network->localIPv4()));
  Text1_->setToolTip(QStringLiteral("Local IP"));
  Label1_->setText(qs(versionLabelText()));

  gSysTray_ = seams_.trayBackend ? std::make_unique<tray::SysTray>(seams_.trayBackend())
                                 : std::make_unique<tray::SysTray>();
  gSysTray_->setSourceWindow(this);
  gSysTray_->ChangeIcon(mainIcon_);
  // The menu runs its own loop until it closes; clicks on the icon meanwhile are dropped.
  connect(gSysTray_.get(), &tray::SysTray::RButtonUp, this, [this] { mnusystray_->exec(QCursor::pos()); });

  log_.writeStamped(log::kLumenoLoaded);
  startTimers();
}

MainWindow::~MainWindow() = default;

QIcon MainWindow::image(const char* key) const {
  return tray::trayImage(QString::fromLatin1(key));
}

void MainWindow::buildControls() {
  auto* strip = new QWidget(this);
  strip->setObjectName(QStringLiteral("client"));
  strip->setFixedSize(twipsX(*this, 2175), twipsY(*this, 615));
  setCentralWidget(strip);
  setWindowBackground(kSilver);

  Text1_ = new QLineEdit(QStringLiteral("Your IP is..."), strip);
  Text1_->setObjectName(QStringLiteral("Text1"));
  Text1_->setGeometry(twipsRect(*this, 0, 0, 2175, 360));
  Text1_->setAlignment(Qt::AlignCenter);
  QFont bold = Text1_->font();
  bold.setBold(true);
  Text1_->setFont(bold);
  QPalette text1Palette = Text1_->palette();
  text1Palette.setColor(QPalette::Text, kBlue);
  Text1_->setPalette(text1Palette);
  Text1_->installEventFilter(this);

  lblled_ = new QLabel(strip);
  lblled_->setObjectName(QStringLiteral("lblled"));
  lblled_->setGeometry(twipsRect(*this, 0, 360, 255, 255));
  lblled_->setToolTip(QStringLiteral("Connection status..."));
  setBackground(lblled_, QApplication::palette().color(QPalette::Button));

  // Stacked so that the connection status is in front at start, then version, time, date.
  lbldate_ = makeInfoLabel(strip, "lbldate", " Zz...", "Today's date");
  lbltime_ = makeInfoLabel(strip, "lbltime", " lbltime", "Local Time");
  Label1_ = makeInfoLabel(strip, "Label1", " Version", "Version (click for more)");
  Labelonline_ = makeInfoLabel(strip, "Labelonline", " Zz..", "Internet Connection");
  for (QLabel* label : {lbldate_, lbltime_, Label1_, Labelonline_}) label->installEventFilter(this);

  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* MainWindow::infoLabel(InfoLabel which) const {
  switch (which) {
    case InfoLabel::Status: return Labelonline_;
    case InfoLabel::Version: return Label1_;
    case InfoLabel::Time: return lbltime_;
    case InfoLabel::Date: break;
  }
  return lbldate_;
}

void MainWindow::clickInfoLabel(InfoLabel clicked) {
  const InfoLabelStep step = nextInfoLabel(clicked);
  for (InfoLabel hidden : step.hide) infoLabel(hidden)->hide();
  if (step.refreshClock) onClockTick();
  QLabel* shown = infoLabel(step.show);
  shown->show();
  shown->raise();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == Text1_) {
      // Every click into the address box opens the File menu where the pointer is.
      mnufile_->popup(QCursor::pos());
    } else {
      for (InfoLabel label : {InfoLabel::Status, InfoLabel::Version, InfoLabel::Time, InfoLabel::Date}) {
        if (watched == infoLabel(label)) {
          clickInfoLabel(label);
          return true;
        }
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::ReadSetting() {
  if (settings::ReadSetting(context_, fields_)) return true;
  log_.writeStampedAlways(log::kErrorApiIni);
  return false;
}

settings::OptionsDialog& MainWindow::options() {
  return frmoptions_.load();
}

bool MainWindow::loggingOn() {
  return options().isLogOn();
}

void MainWindow::showAtStartUp() {
  if (!startInTray_) {
    show();
    return;
  }
  // The tray icon exists by now, so the window goes straight there without being shown; where
  // the desktop has no tray it stays reachable, minimised on the taskbar.
  setWindowState(Qt::WindowMinimized);
  gSysTray_->MinToSysTray();
  setWindowTitle(QStringLiteral("Lumeno"));
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible()) {
    // Hiding the window from inside its own state change confuses some window managers; do it
    // as soon as this event is over.
    QMetaObject::invokeMethod(this, "moveToTray", Qt::QueuedConnection);
  } else if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
    // While minimised the caption carries the tray tip; back in view (also when the window
    // manager restores it, without a tray) it is the program's title again.
    setWindowTitle(QStringLiteral("Lumeno"));
  } else if (event->type() == QEvent::ApplicationPaletteChange && followDesktopBackground_) {
    setWindowBackground(QApplication::palette().color(QPalette::Window));
  }
}

void MainWindow::moveToTray() {
  if (!isMinimized()) return;
  gSysTray_->MinToSysTray();
  setWindowTitle(QStringLiteral("Lumeno"));
}

void MainWindow::showLumeno() {
  gSysTray_->RemoveFromSysTray();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  setWindowTitle(QStringLiteral("Lumeno"));
}

void MainWindow::exitLumeno() {
  const BoxAnswer answer =
      context_.boxes->show({"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo});
  if (answer != BoxAnswer::Yes) return;
  gSysTray_->RemoveFromSysTray();
  log_.writeStamped(log::kProgramExit);
  endProgram();
}

void MainWindow::exitFromTray() {
  gSysTray_->RemoveFromSysTray();
  endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program; it cannot be cancelled.
  gSysTray_->RemoveFromSysTray();
  event->accept();
  endProgram();
}

void MainWindow::endProgram() {
  Timer1_.stop();
  Timer2_.stop();
  alertifoffline_.stop();
  if (seams_.endProgram) {
    seams_.endProgram();
  } else {
    // Leaves the event loop at once, without the other windows' closing handling.
    QCoreApplication::exit(0);
  }
}

}  // namespace lumeno::app
