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

// "name:caption" per item, "name:-" for a separator, "name:caption>" opens a submenu listed next.
QStringList describe(const QMenu* menu) {
  QStringList items;
  for (const QAction* action : menu->actions()) {
    QString line = action->objectName() + QLatin1Char(':') +
                   (action->isSeparator() ? QStringLiteral("-") : action->text());
    if (!action->shortcut().isEmpty()) line += QStringLiteral(" [shortcut]");
    if (!action->isVisible() || !action->isEnabled()) line += QStringLiteral(" [off]");
    if (action->menu() != nullptr) {
      items << line + QLatin1Char('>');
      for (const QString& sub : describe(action->menu())) items << QStringLiteral("  ") + sub;
    } else {
      items << line;
    }
  }
  return items;
}

TEST(MainMenus, TheMenuBarAndTheTrayMenuAreExactlyAsDesigned) {
  MainWindowFixture f;
  auto& w = f.window();
  QStringList bar;
  for (const QAction* action : w.menuBar()->actions()) {
    bar << action->objectName() + QLatin1Char(':') + action->text() +
               (action->isVisible() ? "" : " [hidden]");
  }
  EXPECT_EQ(bar,
            (QStringList{"mnufile:File", "tools:Tools", "Info:Info", "mnusystray:SystrayOptions [hidden]"}));

  const auto menu = [&](const char* name) {
    auto* found = w.findChild<QMenu*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found != nullptr ? found : new QMenu(&w);
  };
  EXPECT_EQ(describe(menu("mnufile")),
            (QStringList{"mnuemailip:Email", "mnucopyip:Copy", "mnuline5:-", "mnuupdateip:Refresh Local IP",
                         "mnutraynetip:Refresh Net IP", "mnuline6:-", "mnugetiphostname:Get hostname",
                         "line99:-", "mnuColor:Color>", "  mnuIpBackgroundColor:Ip Background",
                         "  mnuIpForegroundColor:Ip Foreground", "  line90:-", "  mnuResetColor:Reset color",
                         "line97:-", "exitlumeno:Exit"}));
  EXPECT_EQ(describe(menu("tools")),
            (QStringList{"pingtool:IP tools", "sepbar1:-", "mnuoptions:Options", "sepbar2:-",
                         "textedit:Text editor", "mnuupdatelumeno:Check for updates",
                         "mnusysinfo:System info", "mnuviewlog:log monitor"}));
  EXPECT_EQ(describe(menu("Info")), (QStringList{"aboutinfo:About", "mnuhelp:Help"}));
  EXPECT_EQ(describe(w.trayMenu()),
            (QStringList{"mnushowlumeno:Show Lumeno", "mnuline7:-", "mnurefreship:Refresh Local IP",
                         "mnunetip:Refresh Net IP", "mnuline8:-", "mnucheckforupdate:Check for updates",
                         "mnutraycopyip:Copy", "line98:-", "mnusystrayexit:Exit"}));
}

QAction* item(app::MainWindow& w, const char* name) {
  return w.findChild<QAction*>(QString::fromLatin1(name));
}

TEST(MainCommands, CopyFromEitherMenuLeavesExactlyTheAddressBoxText) {
  MainWindowFixture f;
  auto& w = f.window();
  for (const char* copy : {"mnucopyip", "mnutraycopyip"}) {
    QApplication::clipboard()->setText(QStringLiteral("something else"));
    item(w, copy)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("192.168.0.5")) << copy;
  }
  w.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("  spaced text "));
  item(w, "mnucopyip")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("  spaced text "));
}

TEST(MainCommands, GetHostnameIntoTheBoxThenCopyThenRefresh) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "0", "1"));
  auto& w = f.window();
  f.network.host = "mybox";
  item(w, "mnugetiphostname")->trigger();
  auto* text1 = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
  EXPECT_EQ(text1->text(), QStringLiteral("mybox"));
  EXPECT_EQ(text1->toolTip(), QStringLiteral("Host name"));
  EXPECT_TRUE(f.boxes.shown.empty());
  item(w, "mnutraycopyip")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("mybox"));
  item(w, "mnurefreship")->trigger();
  EXPECT_EQ(text1->text(), QStringLiteral("192.168.0.5"));
  const std::string log = f.log();
  EXPECT_NE(log.find("[Requested Hostname] : mybox , Date : 05/12/2026 , Time : 11:26:06\r\n"),
            std::string::npos);
}

TEST(MainCommands, GetHostnameInAPopupLeavesTheBoxAndLogsOnce) {
  MainWindowFixture f(MainWindowFixture::withKeys("0", "1", "1"));
  auto& w = f.window();
  f.network.host = "mybox";
  w.getHostName();
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0],
            (BoxRequest{"The Hostname for this computer is  ' mybox  ' ", "Your Hostname"}));
  EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), QStringLiteral("192.168.0.5"));
  w.getHostName();
  const std::string log = f.log();
  std::size_t lines = 0;
  for (std::size_t at = log.find("[Requested Hostname] : "); at != std::string::npos;
       at = log.find("[Requested Hostname] : ", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 2U);
}

TEST(MainCommands, TheColourChooserKeepsItsColourAndCancelReappliesIt) {
  MainWindowFixture f;
  auto& w = f.window();
  auto* text1 = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
  // Cancel at the first use applies the chooser's initial colour, black.
  f.colors.picks = {std::nullopt};
  w.chooseIpBackground();
  EXPECT_EQ(text1->palette().color(QPalette::Base), QColor(Qt::black));
  f.colors.picks = {QColor(10, 200, 30), std::nullopt};
  w.chooseIpBackground();
  EXPECT_EQ(text1->palette().color(QPalette::Base), QColor(10, 200, 30));
  // Cancelling "Ip Foreground" now makes the text the colour picked for the background.
  w.chooseIpForeground();
  EXPECT_EQ(text1->palette().color(QPalette::Text), QColor(10, 200, 30));
  w.resetColor();
  EXPECT_EQ(text1->palette().color(QPalette::Base), QColor(255, 255, 255));
  EXPECT_EQ(text1->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(w.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
  EXPECT_EQ(f.colors.opened, 3);
}

TEST(MainCommands, EachWindowIsOneSharedInstanceLoadedAfreshAfterClosing) {
  MainWindowFixture f;
  auto& w = f.window();
  settings::OptionsDialog* first = &w.options();  // loaded hidden at start for the logging switch
  w.showOptions();
  w.showOptions();
  EXPECT_EQ(QApplication::topLevelWidgets().count(first), 1);
  EXPECT_EQ(&w.options(), first);
  EXPECT_TRUE(first->isVisible());
  for (const char* name : {"logfrm", "frmMain", "frmAbout"}) {
    const auto count = [&] {
      int n = 0;
      for (QWidget* top : QApplication::topLevelWidgets())
        n += top->objectName() == QLatin1String(name) ? 1 : 0;
      return n;
    };
    const auto show = [&] {
      if (std::string(name) == "logfrm") w.showLogMonitor();
      if (std::string(name) == "frmMain") w.showIpTools();
      if (std::string(name) == "frmAbout") w.showAbout();
    };
    show();
    show();
    EXPECT_EQ(count(), 1) << name;
  }
}

TEST(MainCommands, HelpUpdatesEditorAndEmailGoToTheDesktop) {
  MainWindowFixture f;
  auto& w = f.window();
  w.openHelp();
  w.checkForUpdates();
  ASSERT_EQ(f.launcher.openedUrls.size(), 2U);
  const std::string help = "file://" + (f.folder / "help.html").string();
  EXPECT_EQ(f.launcher.openedUrls[0], help);
  EXPECT_EQ(f.launcher.openedUrls[1], help + "#versions");

  w.openTextEditor();  // no editor installed: nothing happens
  EXPECT_TRUE(f.launcher.started.empty());
  f.launcher.installed["mousepad"] = "/usr/bin/mousepad";
  f.launcher.installed["kate"] = "/usr/bin/kate";
  w.openTextEditor();
  ASSERT_EQ(f.launcher.started.size(), 1U);
  EXPECT_EQ(f.launcher.started[0].program, "/usr/bin/kate");

  f.network.host = "my box";
  w.emailReport();
  const QUrl mail(QString::fromStdString(f.launcher.openedUrls.back()));
  EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
  const QUrlQuery query(mail);
  EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
            QStringLiteral("Network report from my box"));
  const QString body = query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
  for (const char* part : {"192.168.0.5", "my box", "Online", "1.0.27"}) {
    EXPECT_TRUE(body.contains(QString::fromLatin1(part))) << part;
  }
}

}  // namespace
}  // namespace lumeno::test
