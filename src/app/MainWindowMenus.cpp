// The menu bar ("File", "Tools", "Info") and the tray's pop-up menu ("SystrayOptions").
#include <QMenu>
#include <QMenuBar>

#include "app/MainWindow.h"

namespace lumeno::app {
namespace {

using Command = void (MainWindow::*)();

// An item of a menu table: a command, a separator (no command, caption "-") or a submenu.
struct Item {
  const char* name;
  const char* caption;
  Command command = nullptr;
};

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
          action, &QAction::triggered, window, [window, command = item.command] { (window->*command)(); },
          connection);
    }
    action->setObjectName(QString::fromLatin1(item.name));
  }
}

}  // namespace

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();

  mnufile_ = makeMenu(this, "mnufile", "File");
  addItems(this, mnufile_,
           {{"mnuemailip", "Email", &MainWindow::emailReport},
            {"mnucopyip", "Copy", &MainWindow::copyIp},
            {"mnuline5", "-"},
            {"mnuupdateip", "Refresh Local IP", &MainWindow::refreshLocalIp},
            {"mnutraynetip", "Refresh Net IP", &MainWindow::refreshNetIp},
            {"mnuline6", "-"},
            {"mnugetiphostname", "Get hostname", &MainWindow::getHostName},
            {"line99", "-"}});
  QMenu* color = makeMenu(mnufile_, "mnuColor", "Color");
  addItems(this, color,
           {{"mnuIpBackgroundColor", "Ip Background", &MainWindow::chooseIpBackground},
            {"mnuIpForegroundColor", "Ip Foreground", &MainWindow::chooseIpForeground},
            {"line90", "-"},
            {"mnuResetColor", "Reset color", &MainWindow::resetColor}});
  mnufile_->addMenu(color);
  addItems(this, mnufile_, {{"line97", "-"}, {"exitlumeno", "Exit", &MainWindow::exitLumeno}});
  bar->addMenu(mnufile_);

  QMenu* tools = makeMenu(this, "tools", "Tools");
  addItems(this, tools,
           {{"pingtool", "IP tools", &MainWindow::showIpTools},
            {"sepbar1", "-"},
            {"mnuoptions", "Options", &MainWindow::showOptions},
            {"sepbar2", "-"},
            {"textedit", "Text editor", &MainWindow::openTextEditor},
            {"mnuupdatelumeno", "Check for updates", &MainWindow::checkForUpdates},
            {"mnusysinfo", "System info", &MainWindow::showSystemInfo},
            {"mnuviewlog", "log monitor", &MainWindow::showLogMonitor}});
  bar->addMenu(tools);

  QMenu* info = makeMenu(this, "Info", "Info");
  addItems(this, info,
           {{"aboutinfo", "About", &MainWindow::showAbout}, {"mnuhelp", "Help", &MainWindow::openHelp}});
  bar->addMenu(info);

  // The tray's pop-up menu lives in the menu bar too, but never shows there.
  mnusystray_ = makeMenu(this, "mnusystray", "SystrayOptions");
  addItems(this, mnusystray_,
           {{"mnushowlumeno", "Show Lumeno", &MainWindow::showLumeno},
            {"mnuline7", "-"},
            {"mnurefreship", "Refresh Local IP", &MainWindow::refreshLocalIp},
            {"mnunetip", "Refresh Net IP", &MainWindow::refreshNetIp},
            {"mnuline8", "-"},
            {"mnucheckforupdate", "Check for updates", &MainWindow::checkForUpdates},
            {"mnutraycopyip", "Copy", &MainWindow::copyIp},
            {"line98", "-"},
            {"mnusystrayexit", "Exit", &MainWindow::exitFromTray}},
           Qt::QueuedConnection);
  bar->addMenu(mnusystray_);
  mnusystray_->menuAction()->setVisible(false);
}

}  // namespace lumeno::app
