// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menus and the tray menu, as both faces build them, and what each item does.
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "MainPresenterFixture.h"
#include "MenuTreeText.h"
#include "common/WebLinks.h"

namespace lumeno::test {
namespace {

using app::MenuEntry;

TEST(MenuTrees, TheMenuBarAndTheTrayMenuAreExactlyAsDesigned) {
  EXPECT_EQ(describeMenuTree(app::mainMenuBar()),
            (std::vector<std::string>{"mnufile:File",
                                      "  mnuemailip:Email",
                                      "  mnucopyip:Copy",
                                      "  mnucopyipv6:Copy IPv6",
                                      "  mnuline5:-",
                                      "  mnuupdateip:Refresh Local IP",
                                      "  mnutraynetip:Refresh Net IP",
                                      "  mnuline6:-",
                                      "  mnugetiphostname:Get hostname",
                                      "  line99:-",
                                      "  mnuColor:Color",
                                      "    mnuIpBackgroundColor:Ip Background",
                                      "    mnuIpForegroundColor:Ip Foreground",
                                      "    line90:-",
                                      "    mnuResetColor:Reset color",
                                      "  line97:-",
                                      "  exitlumeno:Exit",
                                      "tools:Tools",
                                      "  pingtool:IP tools",
                                      "  sepbar1:-",
                                      "  mnuoptions:Options",
                                      "  sepbar2:-",
                                      "  textedit:Text editor",
                                      "  mnuupdatelumeno:Check for updates",
                                      "  mnusysinfo:System info",
                                      "  mnuviewlog:log monitor",
                                      "  mnuhistory:Connection history",
                                      "Info:Info",
                                      "  aboutinfo:About",
                                      "  mnuhelp:Help"}));
  EXPECT_EQ(
      describeMenuTree({app::trayMenu()}),
      (std::vector<std::string>{
          "mnusystray:SystrayOptions", "  mnushowlumeno:Show Lumeno", "  mnuline7:-",
          "  mnurefreship:Refresh Local IP", "  mnunetip:Refresh Net IP", "  mnuline8:-",
          "  mnucheckforupdate:Check for updates", "  mnutraycopyip:Copy", "  mnutraycopyipv6:Copy IPv6",
          "  mnutrayhistory:Connection history", "  line98:-", "  mnusystrayexit:Exit"}));
}

// Calls `visit` for every item that runs a command, and checks that no other entry has one.
void forEachCommand(const std::vector<MenuEntry>& entries,
                    const std::function<void(const MenuEntry&)>& visit) {
  for (const MenuEntry& entry : entries) {
    forEachCommand(entry.items, visit);
    const bool runs = !entry.isSeparator() && !entry.isSubmenu();
    EXPECT_EQ(entry.command != app::MenuCommand::None, runs) << entry.name;
    if (runs) visit(entry);
  }
}

TEST(MenuTrees, EveryItemDoesWhatItsCaptionSays) {
  using Fixture = MainPresenterFixture;
  const app::Rgb picked{1, 2, 3};
  const auto url = [](Fixture& f) {
    return f.launcher.openedUrls.empty() ? std::string() : f.launcher.openedUrls.back();
  };
  const auto help = [](Fixture& f) { return fileUrl(f.folder / "help.html"); };
  const std::map<std::string, std::function<bool(Fixture&)>> expected{
      {"mnuemailip", [&](Fixture& f) { return url(f).starts_with("mailto:"); }},
      {"mnucopyip", [](Fixture& f) { return f.view.clipboard == "typed"; }},
      {"mnutraycopyip", [](Fixture& f) { return f.view.clipboard == "typed"; }},
      {"mnucopyipv6", [](Fixture& f) { return f.view.clipboard == "2001:db8::5"; }},
      {"mnutraycopyipv6", [](Fixture& f) { return f.view.clipboard == "2001:db8::5"; }},
      {"mnuupdateip", [](Fixture& f) { return f.view.address == "192.168.0.5"; }},
      {"mnurefreship", [](Fixture& f) { return f.view.address == "192.168.0.5"; }},
      {"mnutraynetip", [](Fixture& f) { return f.view.netIpLookups == 1; }},
      {"mnunetip", [](Fixture& f) { return f.view.netIpLookups == 1; }},
      {"mnugetiphostname", [](Fixture& f) { return f.view.address == "testhost"; }},
      {"mnuIpBackgroundColor", [&](Fixture& f) { return f.view.addressBackground == picked; }},
      {"mnuIpForegroundColor", [&](Fixture& f) { return f.view.addressForeground == picked; }},
      {"mnuResetColor", [](Fixture& f) { return f.view.addressBackground == app::kWhite; }},
      {"exitlumeno", [](Fixture& f) { return f.view.programEnds == 1 && f.boxes.shown.size() == 1; }},
      {"mnusystrayexit", [](Fixture& f) { return f.view.programEnds == 1 && f.boxes.shown.empty(); }},
      {"mnushowlumeno", [](Fixture& f) { return f.view.windowShown; }},
      {"pingtool", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::IpTools}; }},
      {"mnuoptions", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::Options}; }},
      {"mnuviewlog", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::LogMonitor}; }},
      {"mnuhistory", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::History}; }},
      {"mnutrayhistory", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::History}; }},
      {"aboutinfo", [](Fixture& f) { return f.view.opened == std::vector{app::OtherWindow::About}; }},
      {"textedit", [](Fixture& f) { return f.launcher.started.size() == 1; }},
      {"mnuupdatelumeno", [&](Fixture& f) { return url(f) == help(f) + "#versions"; }},
      {"mnucheckforupdate", [&](Fixture& f) { return url(f) == help(f) + "#versions"; }},
      {"mnusysinfo", [](Fixture& f) { return f.view.systemInfoStarts == 1; }},
      {"mnuhelp", [&](Fixture& f) { return url(f) == help(f); }},
  };
  std::size_t visited = 0;
  std::vector<MenuEntry> all = app::mainMenuBar();
  all.push_back(app::trayMenu());
  forEachCommand(all, [&](const MenuEntry& item) {
    ++visited;
    Fixture f;
    f.start();
    f.view.address = "typed";
    f.view.windowShown = false;
    f.view.colorPicks = {picked};
    f.view.addressBackground = f.view.addressForeground = std::nullopt;
    f.boxes.answers = {BoxAnswer::Yes};
    f.network.ipv6DefaultInterface = "eth0";
    f.network.ipv6 = {{"eth0", {{"2001:db8::5"}}}};
    f.launcher.installed = {{"notepad.exe", "notepad.exe"}, {"gedit", "/usr/bin/gedit"}};
    f.presenter->onMenuChosen(item.command);
    ASSERT_TRUE(expected.contains(item.name)) << item.name;
    EXPECT_TRUE(expected.at(item.name)(f)) << item.name;
  });
  EXPECT_EQ(visited, expected.size());
}

}  // namespace
}  // namespace lumeno::test
