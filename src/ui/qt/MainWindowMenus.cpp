// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar ("File", "Tools", "Info") and the tray's pop-up menu ("SystrayOptions").
#include <functional>

#include <QMenu>
#include <QMenuBar>

#include "ui/qt/MainWindow.h"

namespace lumeno::app {
namespace {

using Command = std::function<void(MainPresenter&)>;

// An item of a menu table: a command, a separator (no command, caption "-") or a submenu.
struct Item {
  const char* name;
  const char* caption;
  Command command = nullptr;
};

Command open(OtherWindow window) {
  return [window](MainPresenter& presenter) { presenter.onWindowChosen(window); };
}

QMenu* makeMenu(QWidget* parent, const char* name, const char* title) {
  auto* menu = new QMenu(QString::fromLatin1(title), parent);
  menu->setObjectName(QString::fromLatin1(name));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

// Commands of the menu bar run as they are chosen; those of the tray menu are queued, so
// they run once the menu has closed and its loop has returned.
void addItems(MainWindow* window, QMenu* menu, std::initializer_list<Item> items,
              Qt::ConnectionType connection = Qt::AutoConnection) {
  for (const Item& item : items) {
    QAction* action = nullptr;
    if (item.command == nullptr) {
      action = menu->addSeparator();
    } else {
      action = menu->addAction(QString::fromLatin1(item.caption));
      QObject::connect(
          action, &QAction::triggered, window,
          [window, command = item.command] { command(window->presenter()); }, connection);
    }
    action->setObjectName(QString::fromLatin1(item.name));
  }
}

}  // namespace

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();

  fileMenu_ = makeMenu(this, "mnufile", "File");
  addItems(this, fileMenu_,
           {{"mnuemailip", "Email", &MainPresenter::onEmailChosen},
            {"mnucopyip", "Copy", &MainPresenter::onCopyChosen},
            {"mnucopyipv6", "Copy IPv6", &MainPresenter::onCopyIPv6Chosen},
            {"mnuline5", "-"},
            {"mnuupdateip", "Refresh Local IP", &MainPresenter::onRefreshLocalIpChosen},
            {"mnutraynetip", "Refresh Net IP", &MainPresenter::onRefreshNetIpChosen},
            {"mnuline6", "-"},
            {"mnugetiphostname", "Get hostname", &MainPresenter::onGetHostNameChosen},
            {"line99", "-"}});
  QMenu* color = makeMenu(fileMenu_, "mnuColor", "Color");
  addItems(this, color,
           {{"mnuIpBackgroundColor", "Ip Background", &MainPresenter::onIpBackgroundChosen},
            {"mnuIpForegroundColor", "Ip Foreground", &MainPresenter::onIpForegroundChosen},
            {"line90", "-"},
            {"mnuResetColor", "Reset color", &MainPresenter::onResetColorChosen}});
  fileMenu_->addMenu(color);
  addItems(this, fileMenu_, {{"line97", "-"}, {"exitlumeno", "Exit", &MainPresenter::onExitChosen}});
  bar->addMenu(fileMenu_);

  QMenu* tools = makeMenu(this, "tools", "Tools");
  addItems(this, tools,
           {{"pingtool", "IP tools", open(OtherWindow::IpTools)},
            {"sepbar1", "-"},
            {"mnuoptions", "Options", open(OtherWindow::Options)},
            {"sepbar2", "-"},
            {"textedit", "Text editor", &MainPresenter::onTextEditorChosen},
            {"mnuupdatelumeno", "Check for updates", &MainPresenter::onCheckForUpdatesChosen},
            {"mnusysinfo", "System info", &MainPresenter::onSystemInfoChosen},
            {"mnuviewlog", "log monitor", open(OtherWindow::LogMonitor)},
            {"mnuhistory", "Connection history", open(OtherWindow::History)}});
  bar->addMenu(tools);

  QMenu* info = makeMenu(this, "Info", "Info");
  addItems(
      this, info,
      {{"aboutinfo", "About", open(OtherWindow::About)}, {"mnuhelp", "Help", &MainPresenter::onHelpChosen}});
  bar->addMenu(info);

  // The tray's pop-up menu lives in the menu bar too, but never shows there.
  trayMenu_ = makeMenu(this, "mnusystray", "SystrayOptions");
  addItems(this, trayMenu_,
           {{"mnushowlumeno", "Show Lumeno", &MainPresenter::onShowChosen},
            {"mnuline7", "-"},
            {"mnurefreship", "Refresh Local IP", &MainPresenter::onRefreshLocalIpChosen},
            {"mnunetip", "Refresh Net IP", &MainPresenter::onRefreshNetIpChosen},
            {"mnuline8", "-"},
            {"mnucheckforupdate", "Check for updates", &MainPresenter::onCheckForUpdatesChosen},
            {"mnutraycopyip", "Copy", &MainPresenter::onCopyChosen},
            {"mnutraycopyipv6", "Copy IPv6", &MainPresenter::onCopyIPv6Chosen},
            {"mnutrayhistory", "Connection history", open(OtherWindow::History)},
            {"line98", "-"},
            {"mnusystrayexit", "Exit", &MainPresenter::onTrayExitChosen}},
           Qt::QueuedConnection);
  bar->addMenu(trayMenu_);
  trayMenu_->menuAction()->setVisible(false);
}

}  // namespace lumeno::app
