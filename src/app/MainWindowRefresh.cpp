// The main window's periodic work: clock, connection status, tray tip, offline alert.
#include <QLabel>
#include <QLineEdit>

#include "app/MainWindow.h"
#include "app/StatusText.h"
#include "log/LogEntry.h"
#include "platform/Clock.h"
#include "platform/NetworkInfo.h"
#include "tray/SysTray.h"

namespace lumeno::app {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

void setTextColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

void setLamp(QLabel* lamp, const QColor& color) {
  QPalette palette = lamp->palette();
  palette.setColor(QPalette::Window, color);
  lamp->setPalette(palette);
}

}  // namespace

void MainWindow::startTimers() {
  Timer1_.setObjectName(QStringLiteral("Timer1"));
  Timer2_.setObjectName(QStringLiteral("Timer2"));
  alertifoffline_.setObjectName(QStringLiteral("alertifoffline"));
  Timer1_.setInterval(1000);
  Timer2_.setInterval(1500);
  alertifoffline_.setInterval(30000);
  connect(&Timer1_, &QTimer::timeout, this, &MainWindow::onClockTick);
  connect(&Timer2_, &QTimer::timeout, this, &MainWindow::onStatusTick);
  connect(&alertifoffline_, &QTimer::timeout, this, &MainWindow::onAlertTick);
  Timer1_.start();
  Timer2_.start();
  alertifoffline_.start();
}

void MainWindow::onClockTick() {
  const platform::DateTimeText now = context_.clock->now();
  lbldate_->setText(QStringLiteral(" ") + QString::fromStdString(now.shortDate));
  lbltime_->setText(QStringLiteral(" ") + QString::fromStdString(now.longTime));
}

void MainWindow::onStatusTick() {
  CheckConnection();
  applyTrayTip(
      trayTip(TipAddressPrefix::Ip, Text1_->text().toStdString(), Labelonline_->text().toStdString()));
}

void MainWindow::CheckConnection() {
  // The display is updated straight away; nothing else may run in the middle of a check.
  if (context_.network->isConnected()) {
    setLamp(lblled_, kGreen);
    Labelonline_->setText(QString::fromLatin1(kOnline.data(), kOnline.size()));
    gSysTray_->ChangeIcon(mainIcon_);
    setTextColor(Labelonline_, kBlue);
  } else {
    Labelonline_->setText(QString::fromLatin1(kOffline.data(), kOffline.size()));
    gSysTray_->ChangeIcon(offlineIcon_);
    setLamp(lblled_, kRed);
    setTextColor(Labelonline_, kRed);
  }
}

void MainWindow::applyTrayTip(const std::string& tip) {
  gSysTray_->ChangeToolTip(QString::fromStdString(tip));
}

void MainWindow::onAlertTick() {
  // A box of this tick is still open (or a settings message is): no second alert on top of it.
  if (alertOpen_) return;
  alertOpen_ = true;
  fields_.currentSection = "Options";
  fields_.currentKey = "alertifoffline";
  ReadSetting();  // a failed read goes on with the value the window read last
  if (settings::readsAsOn(fields_.currentValue) && Labelonline_->text() == QLatin1String(kOffline.data())) {
    context_.boxes->show(
        {"Internet connection has been lost!. Please goto options and un-tic this alert option "
         "if you don't want it.",
         "Connection Problems"});
    log_.writeStamped(log::kConnectionLost);
  }
  alertOpen_ = false;
}

void MainWindow::refreshLocalIp() {
  Text1_->setText(QString::fromStdString(context_.network->localIPv4()));
  Text1_->setToolTip(QStringLiteral("Local IP Address"));
  applyTrayTip(trayTip(TipAddressPrefix::RefreshedIp, Text1_->text().toStdString(),
                       Labelonline_->text().toStdString()));
  log_.writeValued(log::kRefreshedLocalIp, [this] { return context_.network->localIPv4(); });
}

}  // namespace lumeno::app
