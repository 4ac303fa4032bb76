// The commands of the main window's menus that are not about the status display.
#include <array>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>
#include <QUrlQuery>

#include "about/AboutBox.h"
#include "about/SysInfo.h"
#include "app/MainWindow.h"
#include "common/Version.h"
#include "iptools/IpToolsWindow.h"
#include "log/LogEntry.h"
#include "log/LogMonitorWindow.h"
#include "platform/Launcher.h"
#include "platform/NetworkInfo.h"
#include "settings/OptionsDialog.h"

namespace lumeno::app {
namespace {

// Graphical plain-text editors, the most common first; the first one installed is started.
constexpr std::array kTextEditors = {"gnome-text-editor", "gedit", "kate", "kwrite",
                                     "mousepad",          "pluma", "xed",  "featherpad",
                                     "leafpad",           "geany"};

}  // namespace

void MainWindow::copyIp() {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(Text1_->text());
}

void MainWindow::getHostName() {
  const QString host = QString::fromStdString(context_.network->hostName());
  if (!options().isHostNamePopupOn()) {
    Text1_->setText(host);
    Text1_->setToolTip(QStringLiteral("Host name"));
  } else {
    context_.boxes->show(
        {"The Hostname for this computer is" + std::string(" ") + " ' " + host.toStdString() + " " + " ' ",
         "Your Hostname"});
  }
  log_.writeValued(log::kRequestedHostname, [this] { return context_.network->hostName(); });
}

void MainWindow::applyColorToText1(bool background) {
  // OK and Cancel alike apply the colour the chooser holds: the last one picked in this run.
  if (const auto picked = seams_.colors->choose()) heldColor_ = *picked;
  QPalette palette = Text1_->palette();
  palette.setColor(background ? QPalette::Base : QPalette::Text, heldColor_);
  Text1_->setPalette(palette);
}

void MainWindow::chooseIpBackground() {
  applyColorToText1(true);
}

void MainWindow::chooseIpForeground() {
  applyColorToText1(false);
}

void MainWindow::resetColor() {
  QPalette palette = Text1_->palette();
  palette.setColor(QPalette::Base, QColor(255, 255, 255));
  palette.setColor(QPalette::Text, QColor(0, 0, 255));
  Text1_->setPalette(palette);
  // The window takes the desktop's own colour and follows it when the desktop's scheme changes.
  followDesktopBackground_ = true;
  setWindowBackground(QApplication::palette().color(QPalette::Window));
}

void MainWindow::setWindowBackground(const QColor& color) {
  QWidget* strip = centralWidget();
  for (QWidget* widget : {static_cast<QWidget*>(this), strip}) {
    if (widget == nullptr) continue;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
  }
}

void MainWindow::showOptions() {
  frmoptions_.show();
}

void MainWindow::showLogMonitor() {
  logfrm_.show();
}

void MainWindow::showIpTools() {
  frmMain_.show();
}

void MainWindow::showAbout() {
  frmAbout_.show();
}

void MainWindow::showSystemInfo() {
  about::StartSysInfo(context_, platform::systemRegistry());
}

void MainWindow::openTextEditor() {
  // Like the shell's start of "notepad.exe": nothing happens when there is no editor.
  for (const char* editor : kTextEditors) {
    if (const auto path = context_.launcher->findProgram(editor)) {
      context_.launcher->startDetached(path->string(), {});
      return;
    }
  }
}

std::string MainWindow::pageUrl(const char* anchor) const {
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(context_.file("help.html").string()));
  if (anchor != nullptr) url.setFragment(QString::fromLatin1(anchor));
  return url.toString(QUrl::FullyEncoded).toStdString();
}

void MainWindow::openHelp() {
  context_.launcher->openUrl(pageUrl(nullptr));
}

void MainWindow::checkForUpdates() {
  context_.launcher->openUrl(pageUrl("versions"));
}

void MainWindow::emailReport() {
  const std::string host = context_.network->hostName();
  const std::string report = "Local IP : " + context_.network->localIPv4() + "\r\nHost name : " + host +
                             "\r\nStatus : " + (context_.network->isConnected() ? "Online" : "Offline") +
                             "\r\nVersion : " + version::text + "\r\n";
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"),
                     QStringLiteral("Network report from ") + QString::fromStdString(host));
  query.addQueryItem(QStringLiteral("body"), QString::fromStdString(report));
  QUrl mail(QStringLiteral("mailto:"));
  mail.setQuery(query);
  context_.launcher->openUrl(mail.toString(QUrl::FullyEncoded).toStdString());
}

void MainWindow::refreshNetIp() {
  netIp_.start();
}

}  // namespace lumeno::app
