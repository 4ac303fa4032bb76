// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainPresenter.h"

#include <optional>
#include <utility>

#include "app/AddressChoice.h"
#include "app/StatusText.h"
#include "common/MessageBoxes.h"
#include "common/PathText.h"
#include "common/Version.h"
#include "common/WebLinks.h"
#include "log/LogEntry.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/NetworkInfo.h"
#include "platform/TextEditors.h"
#include "settings/OptionsPresenter.h"

namespace lumeno::app {
namespace {

constexpr const char* kAlertText =
    "Internet connection has been lost!. Please goto options and un-tic this alert option if you "
    "don't want it.";

}  // namespace

MainPresenter::MainPresenter(const AppContext& context, MainView& view)
    : context_(context),
      view_(view),
      log_(context.file("log.txt"), *context.clock, [this] { return view_.loggingSwitchOn(); }),
      statusText_(kAsleep) {}

void MainPresenter::start() {
  // The single-instance test and the settings file check come before the window exists.
  startInTray_ = settingOn("Automation", "trayatstartup");
  connectionOptions_ = settings::readConnectionOptions(context_);
  const std::string chosen = connectionOptions_.interfaceName;
  showAddress(chosen, ipv4For(*context_.network, chosen));
  view_.setAddressToolTip("Local IP");
  view_.setVersionText(versionLabelText());
  view_.setTrayPicture(TrayPicture::Online);
  log_.writeStamped(log::kLumenoLoaded);
}

void MainPresenter::onMenuChosen(MenuCommand command) {
  switch (command) {
    case MenuCommand::None: break;
    case MenuCommand::Email: onEmailChosen(); break;
    case MenuCommand::Copy: onCopyChosen(); break;
    case MenuCommand::CopyIPv6: onCopyIPv6Chosen(); break;
    case MenuCommand::RefreshLocalIp: onRefreshLocalIpChosen(); break;
    case MenuCommand::RefreshNetIp: onRefreshNetIpChosen(); break;
    case MenuCommand::GetHostName: onGetHostNameChosen(); break;
    case MenuCommand::IpBackground: onIpBackgroundChosen(); break;
    case MenuCommand::IpForeground: onIpForegroundChosen(); break;
    case MenuCommand::ResetColor: onResetColorChosen(); break;
    case MenuCommand::Exit: onExitChosen(); break;
    case MenuCommand::TrayExit: onTrayExitChosen(); break;
    case MenuCommand::Show: onShowChosen(); break;
    case MenuCommand::OpenIpTools: onWindowChosen(OtherWindow::IpTools); break;
    case MenuCommand::OpenOptions: onWindowChosen(OtherWindow::Options); break;
    case MenuCommand::OpenLogMonitor: onWindowChosen(OtherWindow::LogMonitor); break;
    case MenuCommand::OpenHistory: onWindowChosen(OtherWindow::History); break;
    case MenuCommand::OpenAbout: onWindowChosen(OtherWindow::About); break;
    case MenuCommand::TextEditor: onTextEditorChosen(); break;
    case MenuCommand::CheckForUpdates: onCheckForUpdatesChosen(); break;
    case MenuCommand::SystemInfo: onSystemInfoChosen(); break;
    case MenuCommand::Help: onHelpChosen(); break;
  }
}

bool MainPresenter::settingOn(const char* section, const char* key) {
  if (std::optional<std::string> value = settings::readSetting(context_, section, key)) {
    lastSetting_ = std::move(*value);
  } else {
    log_.writeStampedAlways(log::kErrorApiIni);  // and the value read last stands
  }
  return settings::readsAsOn(lastSetting_);
}

void MainPresenter::onClockTick() {
  // Only what changed reaches the window: the date changes once a day.
  const platform::DateTimeText now = context_.clock->now();
  if (now.shortDate != shownDate_) {
    shownDate_ = now.shortDate;
    view_.setDateText(" " + now.shortDate);
  }
  if (now.longTime != shownTime_) {
    shownTime_ = now.longTime;
    view_.setTimeText(" " + now.longTime);
  }
}

void MainPresenter::showAddress(const std::string& chosen, const std::string& address) {
  if (isRealAddress(address)) lastRealAddress_ = address;
  shownAddress_ = address;
  shownFor_ = chosen;
  view_.setAddressText(address);
}

void MainPresenter::onStatusTick() {
  checkConnection();
  reportConnectionChange();
  followAddress();
  showTrayTip(false);
}

void MainPresenter::reportConnectionChange() {
  // Every tick learns the state, so switching the option on later does not report old news as
  // a change; the first tick after start only learns it.
  const auto change = connectionWatch_.observe(statusText_ == kOnline, context_.clock->steadyNow());
  if (!change || !connectionOptions_.logConnectionChanges) return;
  if (change->online) {
    const std::string duration = durationText(change->offlineFor);
    log_.writeStamped(log::kBackOnline, std::string(log::kOfflineFor) + duration);
    view_.showNotice("Connection restored after " + duration);
  } else {
    log_.writeStamped(log::kWentOffline);
    view_.showNotice("Connection lost");
  }
}

void MainPresenter::followAddress() {
  if (!connectionOptions_.followAddress) return;
  const std::string chosen = connectionOptions_.interfaceName;
  const std::string address = ipv4For(*context_.network, chosen);
  if (chosen != shownFor_) {
    // The user picked another interface: show its address, but it is no change of address.
    showAddress(chosen, address);
    return;
  }
  if (address == shownAddress_) return;
  const std::string old = lastRealAddress_;
  showAddress(chosen, address);
  view_.setAddressToolTip("Local IP Address");
  // Losing the address, and getting the same one back, is an outage and is told as one; only a
  // move from one real address to another is a change of address.
  if (!isRealAddress(address) || old.empty() || old == address) return;
  // The arrow is U+2192 in UTF-8.
  view_.showNotice("Local IP changed: " + old + " \xE2\x86\x92 " + address);
  log_.writeValued(log::kLocalIpChanged, [&address] { return address; });
}

void MainPresenter::checkConnection() {
  // The display changes straight away; nothing else runs in the middle of a check. A state
  // already shown is not shown again: no redraw, no tray update at rest.
  const bool connected = context_.network->isConnected();
  if (shownConnected_ == connected) return;
  shownConnected_ = connected;
  if (connected) {
    statusText_ = kOnline;
    view_.setLamp(kGreen);
    view_.setStatus(statusText_, kBlue);
    view_.setTrayPicture(TrayPicture::Online);
  } else {
    statusText_ = kOffline;
    view_.setStatus(statusText_, kRed);
    view_.setTrayPicture(TrayPicture::Offline);
    view_.setLamp(kRed);
  }
}

void MainPresenter::showTrayTip(bool refreshed) {
  std::string tip = trayTip(refreshed ? TipAddressPrefix::RefreshedIp : TipAddressPrefix::Ip,
                            view_.addressText(), statusText_);
  if (tip == shownTip_) return;
  shownTip_ = std::move(tip);
  view_.setTrayTip(shownTip_);
}

void MainPresenter::onAlertTick() {
  // A box of this tick is still open (or a settings message is): no second alert on top of it.
  if (alertOpen_) return;
  alertOpen_ = true;
  if (settingOn("Options", "alertifoffline") && statusText_ == kOffline) {
    // A box the program's end took away was not closed by the user: nothing to log.
    if (context_.boxes->show({kAlertText, "Connection Problems"}) != BoxAnswer::Unanswered) {
      log_.writeStamped(log::kConnectionLost);
    }
  }
  alertOpen_ = false;
}

void MainPresenter::onMinimised() {
  view_.moveToTray();
  view_.setCaption("Lumeno");
  shownTip_.clear();  // the next tick gives the minimised window the tip as its caption
}

void MainPresenter::onRestored() {
  // While minimised the caption carries the tray tip; in view it is the program's title.
  view_.setCaption("Lumeno");
  shownTip_.clear();
}

void MainPresenter::onCloseRequested() {
  // Closing the main window ends the program; it cannot be cancelled.
  view_.removeFromTray();
  view_.endProgram();
}

void MainPresenter::onInfoLabelClicked(InfoLabel clicked) {
  const InfoLabelStep step = nextInfoLabel(clicked);
  if (step.refreshClock) onClockTick();
  view_.showInfoLabel(step.show, step.hide);
}

void MainPresenter::onExitChosen() {
  const BoxAnswer answer =
      context_.boxes->show({"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo});
  if (answer != BoxAnswer::Yes) return;
  view_.removeFromTray();
  log_.writeStamped(log::kProgramExit);
  view_.endProgram();
}

void MainPresenter::onTrayExitChosen() {
  view_.removeFromTray();
  view_.endProgram();
}

void MainPresenter::onShowChosen() {
  view_.removeFromTray();
  view_.restoreWindow();
  view_.setCaption("Lumeno");
}

void MainPresenter::onRefreshLocalIpChosen() {
  const std::string chosen = connectionOptions_.interfaceName;
  showAddress(chosen, ipv4For(*context_.network, chosen));
  view_.setAddressToolTip("Local IP Address");
  showTrayTip(true);
  log_.writeValued(log::kRefreshedLocalIp, [this, &chosen] { return ipv4For(*context_.network, chosen); });
}

void MainPresenter::onRefreshNetIpChosen() {
  view_.startNetIpLookup();
}

void MainPresenter::onNetIpAnswer(const std::string& message) {
  context_.boxes->show({message});
}

void MainPresenter::onCopyChosen() {
  view_.copyToClipboard(view_.addressText());
}

void MainPresenter::onCopyIPv6Chosen() {
  if (const auto address = ipv6For(*context_.network, connectionOptions_.interfaceName)) {
    view_.copyToClipboard(*address);
  } else {
    context_.boxes->show({"There is no global IPv6 address on this interface.", "Lumeno",
                          BoxIcon::Information, BoxButtons::Ok});
  }
}

void MainPresenter::onGetHostNameChosen() {
  const std::string host = context_.network->hostName();
  if (!view_.hostNamePopupOn()) {
    view_.setAddressText(host);
    view_.setAddressToolTip("Host name");
  } else {
    context_.boxes->show({"The Hostname for this computer is" + std::string(" ") + " ' " + host + " " + " ' ",
                          "Your Hostname"});
  }
  log_.writeValued(log::kRequestedHostname, [this] { return context_.network->hostName(); });
}

void MainPresenter::applyChosenColor(bool background) {
  // The chooser opens on the colour it would change; a cancel leaves that colour alone.
  Rgb& color = background ? addressBackground_ : addressForeground_;
  const std::optional<Rgb> picked = view_.chooseColor(color);
  if (!picked) return;
  color = *picked;
  if (background) {
    view_.setAddressBackground(color);
  } else {
    view_.setAddressForeground(color);
  }
}

void MainPresenter::onIpBackgroundChosen() {
  applyChosenColor(true);
}

void MainPresenter::onIpForegroundChosen() {
  applyChosenColor(false);
}

void MainPresenter::onResetColorChosen() {
  addressBackground_ = kWhite;
  addressForeground_ = kBlue;
  view_.setAddressBackground(addressBackground_);
  view_.setAddressForeground(addressForeground_);
  view_.useDesktopBackground();
}

void MainPresenter::onWindowChosen(OtherWindow window) {
  view_.openWindow(window);
}

void MainPresenter::onSystemInfoChosen() {
  view_.startSystemInfo();
}

void MainPresenter::onTextEditorChosen() {
  // The first editor installed, like the shell's start of "notepad.exe": nothing happens when
  // there is none.
  for (const std::string_view editor : platform::textEditors()) {
    if (const auto path = context_.launcher->findProgram(std::string(editor))) {
      context_.launcher->startDetached(pathText(*path), {});
      return;
    }
  }
}

void MainPresenter::onHelpChosen() {
  context_.launcher->openUrl(fileUrl(context_.file("help.html")));
}

void MainPresenter::onCheckForUpdatesChosen() {
  context_.launcher->openUrl(fileUrl(context_.file("help.html"), "versions"));
}

void MainPresenter::onEmailChosen() {
  const std::string host = context_.network->hostName();
  const std::string chosen = connectionOptions_.interfaceName;
  const auto ipv6 = ipv6For(*context_.network, chosen);
  const std::string report = "Local IP : " + ipv4For(*context_.network, chosen) +
                             (ipv6 ? "\r\nIPv6 : " + *ipv6 : std::string()) + "\r\nHost name : " + host +
                             "\r\nStatus : " + (context_.network->isConnected() ? "Online" : "Offline") +
                             "\r\nVersion : " + version::text + "\r\n";
  context_.launcher->openUrl(mailtoUrl("Network report from " + host, report));
}

}  // namespace lumeno::app
