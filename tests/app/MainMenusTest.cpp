// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/qt/OptionsDialog.h"

namespace lumeno::test {
namespace {

// "name:caption" per item; separators read "name:-"; a submenu's items follow, indented.
QStringList describe(const QMenu* menu) {
  QStringList items;
  for (const QAction* a : menu->actions()) {
    QString line = a->objectName() + ":" + (a->isSeparator() ? QStringLiteral("-") : a->text());
    if (!a->shortcut().isEmpty() || !a->isVisible() || !a->isEnabled()) line += " [off or shortcut]";
    items << line;
    if (a->menu() != nullptr) {
      for (const QString& sub : describe(a->menu())) items << "  " + sub;
    }
  }
  return items;
}

TEST(MainMenus, TheMenuBarAndTheTrayMenuAreExactlyAsDesigned) {
  MainWindowFixture f;
  auto& w = f.window();
  QStringList bar;
  for (const QAction* a : w.menuBar()->actions())
    bar << a->objectName() + ":" + a->text() + (a->isVisible() ? "" : "!");
  EXPECT_EQ(bar, (QStringList{"mnufile:File", "tools:Tools", "Info:Info", "mnusystray:SystrayOptions!"}));
  const auto menu = [&](const char* name) { return describe(w.findChild<QMenu*>(name)); };
  EXPECT_EQ(menu("mnufile"),
            (QStringList{"mnuemailip:Email", "mnucopyip:Copy", "mnucopyipv6:Copy IPv6", "mnuline5:-",
                         "mnuupdateip:Refresh Local IP", "mnutraynetip:Refresh Net IP", "mnuline6:-",
                         "mnugetiphostname:Get hostname", "line99:-", "mnuColor:Color",
                         "  mnuIpBackgroundColor:Ip Background", "  mnuIpForegroundColor:Ip Foreground",
                         "  line90:-", "  mnuResetColor:Reset color", "line97:-", "exitlumeno:Exit"}));
  EXPECT_EQ(menu("tools"), (QStringList{"pingtool:IP tools", "sepbar1:-", "mnuoptions:Options", "sepbar2:-",
                                        "textedit:Text editor", "mnuupdatelumeno:Check for updates",
                                        "mnusysinfo:System info", "mnuviewlog:log monitor",
                                        "mnuhistory:Connection history"}));
  EXPECT_EQ(menu("Info"), (QStringList{"aboutinfo:About", "mnuhelp:Help"}));
  EXPECT_EQ(menu("mnusystray"),
            (QStringList{"mnushowlumeno:Show Lumeno", "mnuline7:-", "mnurefreship:Refresh Local IP",
                         "mnunetip:Refresh Net IP", "mnuline8:-", "mnucheckforupdate:Check for updates",
                         "mnutraycopyip:Copy", "mnutraycopyipv6:Copy IPv6",
                         "mnutrayhistory:Connection history", "line98:-", "mnusystrayexit:Exit"}));
}

// Chooses a menu item; the tray menu's commands run once its loop has returned.
void trigger(app::MainWindow& w, const char* item) {
  w.findChild<QAction*>(item)->trigger();
  QCoreApplication::processEvents();
}

TEST(MainMenus, ItemsReachTheirCommandsAndTrayCommandsWaitUntilTheMenuHasClosed) {
  MainWindowFixture f;
  auto& w = f.window();
  w.findChild<QLineEdit*>("Text1")->setText("  spaced text ");
  f.network.ipv6DefaultInterface = "eth0";
  f.network.ipv6 = {{"eth0", {{"2001:db8:1::5"}}}};
  for (const auto& [copy, copied, fromTray] : {std::tuple{"mnucopyip", "  spaced text ", false},
                                               {"mnutraycopyip", "  spaced text ", true},
                                               {"mnucopyipv6", "2001:db8:1::5", false},
                                               {"mnutraycopyipv6", "2001:db8:1::5", true}}) {
    QApplication::clipboard()->setText("something else");
    w.findChild<QAction*>(copy)->trigger();
    if (fromTray) {
      // A tray command waits until the menu has closed and the icon's click has returned.
      EXPECT_EQ(QApplication::clipboard()->text(), "something else") << copy;
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(QApplication::clipboard()->text(), copied) << copy;
  }
  trigger(w, "mnuhelp");
  trigger(w, "mnucheckforupdate");
  const std::string help = "file://" + (f.folder / "help.html").string();
  EXPECT_EQ(f.launcher.openedUrls, (std::vector<std::string>{help, help + "#versions"}));
  f.boxes.answers = {BoxAnswer::Yes};
  trigger(w, "exitlumeno");
  trigger(w, "mnusystrayexit");
  EXPECT_EQ(f.programEnds, 2);
  EXPECT_EQ(f.boxes.shown.size(), 1U);  // only the menu's Exit asks
}

TEST(MainMenus, EachWindowIsOneSharedInstance) {
  MainWindowFixture f;
  auto& w = f.window();
  settings::OptionsDialog* loadedAtStart = &w.options();
  for (int twice = 0; twice < 2; ++twice) {
    for (const char* item :
         {"mnuoptions", "mnuviewlog", "pingtool", "aboutinfo", "mnuhistory", "mnutrayhistory"})
      trigger(w, item);
  }
  EXPECT_TRUE(loadedAtStart->isVisible());
  for (const char* name : {"frmoptions", "logfrm", "frmMain", "frmAbout", "frmhistory"}) {
    int copies = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      copies += top->objectName() == name && top->isVisible();
    EXPECT_EQ(copies, 1) << name;
  }
}

TEST(MainCommands, TheEmailLinkReadsBackWholeThroughTheDesktopsUrlRules) {
  MainWindowFixture f;
  auto& w = f.window();
  f.network.host = "my box";
  trigger(w, "mnuemailip");
  const QUrl mail(QString::fromStdString(f.launcher.openedUrls.back()));
  const QUrlQuery query(mail);
  EXPECT_EQ(mail.scheme(), "mailto");
  EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Network report from my box");
  const QString body = query.queryItemValue("body", QUrl::FullyDecoded);
  for (const char* part : {"192.168.0.5", "my box", "Online", "1.0.27"})
    EXPECT_TRUE(body.contains(part)) << part;
}

}  // namespace
}  // namespace lumeno::test
