#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "settings/OptionsDialog.h"

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
            (QStringList{"mnuemailip:Email", "mnucopyip:Copy", "mnuline5:-", "mnuupdateip:Refresh Local IP",
                         "mnutraynetip:Refresh Net IP", "mnuline6:-", "mnugetiphostname:Get hostname",
                         "line99:-", "mnuColor:Color", "  mnuIpBackgroundColor:Ip Background",
                         "  mnuIpForegroundColor:Ip Foreground", "  line90:-", "  mnuResetColor:Reset color",
                         "line97:-", "exitlumeno:Exit"}));
  EXPECT_EQ(menu("tools"), (QStringList{"pingtool:IP tools", "sepbar1:-", "mnuoptions:Options", "sepbar2:-",
                                        "textedit:Text editor", "mnuupdatelumeno:Check for updates",
                                        "mnusysinfo:System info", "mnuviewlog:log monitor"}));
  EXPECT_EQ(menu("Info"), (QStringList{"aboutinfo:About", "mnuhelp:Help"}));
  EXPECT_EQ(menu("mnusystray"),
            (QStringList{"mnushowlumeno:Show Lumeno", "mnuline7:-", "mnurefreship:Refresh Local IP",
                         "mnunetip:Refresh Net IP", "mnuline8:-", "mnucheckforupdate:Check for updates",
                         "mnutraycopyip:Copy", "line98:-", "mnusystrayexit:Exit"}));
}

// Chooses a menu item; the tray menu's commands run once its loop has returned.
void trigger(app::MainWindow& w, const char* item) {
  w.findChild<QAction*>(item)->trigger();
  QCoreApplication::processEvents();
}

TEST(MainCommands, CopyFromEitherMenuLeavesExactlyTheBoxText) {
  MainWindowFixture f;
  auto& w = f.window();
  w.findChild<QLineEdit*>("Text1")->setText("  spaced text ");
  for (const char* copy : {"mnucopyip", "mnutraycopyip"}) {
    QApplication::clipboard()->setText("something else");
    w.findChild<QAction*>(copy)->trigger();
    if (std::string(copy) == "mnutraycopyip") {
      // A tray command waits until the menu has closed and the icon's click has returned.
      EXPECT_EQ(QApplication::clipboard()->text(), "something else");
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(QApplication::clipboard()->text(), "  spaced text ") << copy;
  }
}

TEST(MainCommands, GetHostnameShowsTheNameEitherWayAndLogsOneLinePerUse) {
  for (const char* popup : {"0", "1"}) {
    MainWindowFixture f(MainWindowFixture::withKeys("0", popup, "1"));
    auto& w = f.window();
    f.network.host = "mybox";
    trigger(w, "mnugetiphostname");
    trigger(w, "mnugetiphostname");
    auto* text1 = w.findChild<QLineEdit*>("Text1");
    if (std::string(popup) == "0") {
      EXPECT_EQ(text1->text(), "mybox");
      EXPECT_EQ(text1->toolTip(), "Host name");
      EXPECT_TRUE(f.boxes.shown.empty());
    } else {
      EXPECT_EQ(text1->text(), "192.168.0.5");
      ASSERT_EQ(f.boxes.shown.size(), 2U);
      EXPECT_EQ(f.boxes.shown[0],
                (BoxRequest{"The Hostname for this computer is  ' mybox  ' ", "Your Hostname"}));
    }
    const std::string log = f.log();
    const std::string line = "[Requested Hostname] : mybox , Date : 05/12/2026 , Time : 11:26:06\r\n";
    EXPECT_EQ(log.find(line), log.find("\r\n") + 2) << popup;
    EXPECT_EQ(log.size(), log.find(line) + 2 * line.size()) << popup;  // exactly two, one per use
  }
}

TEST(MainCommands, TheColourChooserKeepsItsColourAndCancelReappliesIt) {
  MainWindowFixture f;
  auto& w = f.window();
  const auto color = [&](QPalette::ColorRole role) {
    return w.findChild<QLineEdit*>("Text1")->palette().color(role);
  };
  f.colors.picks = {std::nullopt, QColor(10, 200, 30), std::nullopt};
  w.chooseIpBackground();  // a cancel before any pick applies the chooser's initial black
  EXPECT_EQ(color(QPalette::Base), QColor(Qt::black));
  w.chooseIpBackground();
  w.chooseIpForeground();  // cancelled: the colour picked for the background
  EXPECT_EQ(color(QPalette::Base), QColor(10, 200, 30));
  EXPECT_EQ(color(QPalette::Text), QColor(10, 200, 30));
  w.resetColor();
  EXPECT_EQ(color(QPalette::Base), QColor(255, 255, 255));
  EXPECT_EQ(color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(w.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
}

TEST(MainCommands, EachWindowIsOneSharedInstance) {
  MainWindowFixture f;
  auto& w = f.window();
  settings::OptionsDialog* loadedAtStart = &w.options();
  for (int twice = 0; twice < 2; ++twice) {
    for (const char* item : {"mnuoptions", "mnuviewlog", "pingtool", "aboutinfo"}) trigger(w, item);
  }
  EXPECT_TRUE(loadedAtStart->isVisible());
  for (const char* name : {"frmoptions", "logfrm", "frmMain", "frmAbout"}) {
    int copies = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      copies += top->objectName() == name && top->isVisible();
    EXPECT_EQ(copies, 1) << name;
  }
}

TEST(MainCommands, HelpUpdatesEditorAndEmailGoToTheDesktop) {
  MainWindowFixture f;
  auto& w = f.window();
  trigger(w, "mnuhelp");
  trigger(w, "mnucheckforupdate");
  const std::string help = "file://" + (f.folder / "help.html").string();
  EXPECT_EQ(f.launcher.openedUrls, (std::vector<std::string>{help, help + "#versions"}));
  trigger(w, "textedit");  // no editor installed: nothing happens
  f.launcher.installed = {{"mousepad", "/usr/bin/mousepad"}, {"kate", "/usr/bin/kate"}};
  trigger(w, "textedit");
  ASSERT_EQ(f.launcher.started.size(), 1U);
  EXPECT_EQ(f.launcher.started[0].program, "/usr/bin/kate");  // the commoner editor first

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
