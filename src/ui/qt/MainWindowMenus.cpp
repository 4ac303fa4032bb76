// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar ("File", "Tools", "Info") and the tray's pop-up menu ("SystrayOptions"), built
// from the menu trees of the core.
#include <string_view>

#include <QMenu>
#include <QMenuBar>

#include "app/MainMenus.h"
#include "ui/qt/MainWindow.h"

namespace lumeno::app {
namespace {

QMenu* makeMenu(QWidget* parent, const MenuEntry& entry) {
  auto* menu = new QMenu(QString::fromLatin1(entry.caption), parent);
  menu->setObjectName(QString::fromLatin1(entry.name));
  menu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
  return menu;
}

// Commands of the menu bar run as they are chosen; those of the tray menu are queued, so
// they run once the menu has closed and its loop has returned.
QMenu* buildMenu(MainWindow* window, QWidget* parent, const MenuEntry& entry,
                 Qt::ConnectionType connection = Qt::AutoConnection) {
  QMenu* menu = makeMenu(parent, entry);
  for (const MenuEntry& item : entry.items) {
    if (item.isSubmenu()) {
      menu->addMenu(buildMenu(window, menu, item, connection));
      continue;
    }
    QAction* action =
        item.isSeparator() ? menu->addSeparator() : menu->addAction(QString::fromLatin1(item.caption));
    action->setObjectName(QString::fromLatin1(item.name));
    if (item.isSeparator()) continue;
    QObject::connect(
        action, &QAction::triggered, window,
        [window, command = item.command] { window->presenter().onMenuChosen(command); }, connection);
  }
  return menu;
}

}  // namespace

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  for (const MenuEntry& entry : mainMenuBar()) {
    QMenu* menu = buildMenu(this, this, entry);
    if (std::string_view(entry.name) == "mnufile") fileMenu_ = menu;
    bar->addMenu(menu);
  }
  // The tray's pop-up menu lives in the menu bar too, but never shows there.
  trayMenu_ = buildMenu(this, this, app::trayMenu(), Qt::QueuedConnection);
  bar->addMenu(trayMenu_);
  trayMenu_->menuAction()->setVisible(false);
}

}  // namespace lumeno::app
