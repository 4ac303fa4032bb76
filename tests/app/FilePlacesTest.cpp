// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "common/AppContext.h"
#include "common/FilePlaces.h"

namespace lumeno::test {
namespace {

namespace fs = std::filesystem;

PlaceFacts installed(const fs::path& programFolder = "/opt/lumeno/bin", const fs::path& home = "/home/ada") {
  PlaceFacts facts;
  facts.programFolder = programFolder;
  facts.home = home;
  facts.dataFromProgram = "../share/lumeno";
  return facts;
}

// Through the context every window asks: the settings, the log, a result file and the help.
TEST(FilePlaces, EachFileGoesBesideTheProgramOrToTheUsersAndThePrefixsFolders) {
  PlaceFacts portable = installed("/home/ada/build");
  portable.settingsBesideProgram = true;
  portable.xdgConfigHome = "/elsewhere/config";  // never consulted in a portable copy
  PlaceFacts xdg = installed();
  xdg.xdgConfigHome = "/srv/cfg";
  xdg.xdgStateHome = "/srv/state/";
  // A relative value would make the files depend on the folder the program was started from.
  PlaceFacts relative = installed();
  relative.xdgConfigHome = "cfg";
  relative.xdgStateHome = "./state";
  const std::string state = "/home/ada/.local/state/lumeno/";
  using Places = std::tuple<fs::path, fs::path, fs::path, fs::path>;
  const std::pair<PlaceFacts, Places> rows[] = {
      {portable,
       {"/home/ada/build/Lumeno.ini", "/home/ada/build/log.txt", "/home/ada/build/ping.txt",
        "/home/ada/build/help.html"}},
      {installed(),
       {"/home/ada/.config/lumeno/Lumeno.ini", state + "log.txt", state + "ping.txt",
        "/opt/lumeno/share/lumeno/help.html"}},
      {installed("/usr/bin"),
       {"/home/ada/.config/lumeno/Lumeno.ini", state + "log.txt", state + "ping.txt",
        "/usr/share/lumeno/help.html"}},
      {xdg,
       {"/srv/cfg/lumeno/Lumeno.ini", "/srv/state/lumeno/log.txt", "/srv/state/lumeno/ping.txt",
        "/opt/lumeno/share/lumeno/help.html"}},
      {relative,
       {"/home/ada/.config/lumeno/Lumeno.ini", state + "log.txt", state + "ping.txt",
        "/opt/lumeno/share/lumeno/help.html"}},
      // Without any home, where a user cannot write rather than beside the program.
      {installed("/opt/lumeno/bin", ""),
       {"/.config/lumeno/Lumeno.ini", "/.local/state/lumeno/log.txt", "/.local/state/lumeno/ping.txt",
        "/opt/lumeno/share/lumeno/help.html"}},
  };
  for (const auto& [facts, expected] : rows) {
    AppContext context;
    context.programFolder = facts.programFolder;
    context.places = decideFilePlaces(facts);
    EXPECT_EQ(std::tuple(context.file("Lumeno.ini"), context.file("log.txt"), context.file("ping.txt"),
                         context.file("help.html")),
              expected)
        << std::get<0>(expected);
    EXPECT_EQ(context.resultFolder(), std::get<2>(expected).parent_path());
  }
  AppContext unset;  // a context that names only the program folder is portable too
  unset.programFolder = "/tmp/p";
  EXPECT_EQ(unset.file("Lumeno.ini"), "/tmp/p/Lumeno.ini");
}

}  // namespace
}  // namespace lumeno::test
