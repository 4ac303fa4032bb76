// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "MenuTreeText.h"
#include "ui/qt/OptionsDialog.h"

namespace lumeno::test {
namespace {

// The menus in the lines of describeMenuTree; an item with a shortcut, hidden or greyed is marked.
std::vector<std::string> describe(const QList<QAction*>& actions, const std::string& indent = "") {
  std::vector<std::string> items;
  for (const QAction* a : actions) {
    const QString caption = a->isSeparator() ? QStringLiteral("-") : a->text();
    const bool marked =
        a->menu() == nullptr && (!a->shortcut().isEmpty() || !a->isEnabled() || !a->isVisible());
    items.push_back(indent + QString(a->objectName() + ":" + caption).toStdString() +
                    (marked ? " [marked]" : ""));
    if (a->menu() != nullptr) {
      for (const std::string& sub : describe(a->menu()->actions(), indent + "  ")) items.push_back(sub);
    }
  }
  return items;
}

TEST(MainMenus, TheMenuBarAndTheTrayMenuAreBuiltFromTheMenuTrees) {
  MainWindowFixture f;
  auto& w = f.window();
  std::vector<app::MenuEntry> trees = app::mainMenuBar();
  trees.push_back(app::trayMenu());
  EXPECT_EQ(describe(w.menuBar()->actions()), describeMenuTree(trees));
  EXPECT_FALSE(w.findChild<QMenu*>("mnusystray")->menuAction()->isVisible());  // the tray icon's only
  EXPECT_TRUE(w.findChild<QMenu*>("mnufile")->menuAction()->isVisible());
}

// What each item does is MenuTreeTest's; both Copy items on a real desktop, the e2e tray case's.
TEST(MainMenus, TrayCommandsWaitUntilTheMenuHasClosed) {
  MainWindowFixture f;
  auto& w = f.window();
  w.findChild<QLineEdit*>("Text1")->setText("  spaced text ");
  QApplication::clipboard()->setText("something else");
  w.findChild<QAction*>("mnutraycopyip")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "something else");
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::clipboard()->text(), "  spaced text ");
}

TEST(MainMenus, EachWindowIsOneSharedInstance) {
  MainWindowFixture f;
  auto& w = f.window();
  settings::OptionsDialog* loadedAtStart = &w.options();
  for (int twice = 0; twice < 2; ++twice) {
    for (const char* item :
         {"mnuoptions", "mnuviewlog", "pingtool", "aboutinfo", "mnuhistory", "mnutrayhistory"}) {
      w.findChild<QAction*>(item)->trigger();
      QCoreApplication::processEvents();  // the tray menu's item runs once its menu has closed
    }
  }
  EXPECT_TRUE(loadedAtStart->isVisible());
  QStringList shown;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->isVisible()) shown << top->objectName();
  shown.sort();
  EXPECT_EQ(shown, (QStringList{"frmAbout", "frmMain", "frmhistory", "frmoptions", "logfrm"}));
}

}  // namespace
}  // namespace lumeno::test
