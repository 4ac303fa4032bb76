// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "common/AppContext.h"
#include "common/FilePlaces.h"

namespace lumeno::test {
namespace {

namespace fs = std::filesystem;

PlaceFacts installedFacts() {
  PlaceFacts facts;
  facts.programFolder = "/opt/lumeno/bin";
  facts.home = "/home/ada";
  facts.dataFromProgram = "../share/lumeno";
  return facts;
}

// Where each file of the program ends up, through the context every window asks.
struct Where {
  fs::path settings, log, ping, trace, netstat, help, tools, packaged;
};
Where where(const FilePlaces& places, const fs::path& programFolder) {
  AppContext context;
  context.programFolder = programFolder;
  context.places = places;
  return {context.file("Lumeno.ini"),     context.file("log.txt"),     context.file("ping.txt"),
          context.file("traceroute.txt"), context.file("netstat.txt"), context.file("help.html"),
          context.resultFolder(),         places.packagedSettings()};
}

TEST(FilePlaces, ASettingsFileBesideTheProgramKeepsEverythingInItsFolder) {
  PlaceFacts facts = installedFacts();
  facts.programFolder = "/home/ada/src/lumeno/build";
  facts.settingsBesideProgram = true;
  facts.xdgConfigHome = "/elsewhere/config";  // never consulted in a portable copy
  const FilePlaces places = decideFilePlaces(facts);
  EXPECT_EQ(places.mode, FileMode::Portable);
  const Where w = where(places, facts.programFolder);
  const fs::path folder = facts.programFolder;
  for (const fs::path& file : {w.settings, w.log, w.ping, w.help}) EXPECT_EQ(file.parent_path(), folder);
  EXPECT_EQ(w.tools, folder);
  // A context that names only the program folder is portable too.
  EXPECT_EQ(where(FilePlaces{}, "/tmp/p").settings, "/tmp/p/Lumeno.ini");
}

TEST(FilePlaces, InstalledWithoutXdgVariablesUsesTheHomeDefaultsAndThePrefixsSharedFiles) {
  const FilePlaces places = decideFilePlaces(installedFacts());
  EXPECT_EQ(places.mode, FileMode::Installed);
  const Where w = where(places, "/opt/lumeno/bin");
  EXPECT_EQ(w.settings, "/home/ada/.config/lumeno/Lumeno.ini");
  EXPECT_EQ(w.log, "/home/ada/.local/state/lumeno/log.txt");
  EXPECT_EQ(w.netstat, "/home/ada/.local/state/lumeno/netstat.txt");
  EXPECT_EQ(w.tools, "/home/ada/.local/state/lumeno");
  // The shared files of the prefix, found from the executable's own folder.
  EXPECT_EQ(w.help, "/opt/lumeno/share/lumeno/help.html");
  EXPECT_EQ(w.packaged, "/opt/lumeno/share/lumeno/Lumeno.ini");

  PlaceFacts facts = installedFacts();  // installed under /usr: the shared files are in /usr/share
  facts.programFolder = "/usr/bin";
  const FilePlaces usr = decideFilePlaces(facts);
  EXPECT_EQ(usr.packagedSettings(), "/usr/share/lumeno/Lumeno.ini");
  EXPECT_EQ(where(usr, facts.programFolder).help, "/usr/share/lumeno/help.html");
}

TEST(FilePlaces, InstalledFollowsAbsoluteXdgVariablesAndIgnoresRelativeOnes) {
  PlaceFacts facts = installedFacts();
  facts.xdgConfigHome = "/srv/cfg";
  facts.xdgStateHome = "/srv/state/";
  Where w = where(decideFilePlaces(facts), facts.programFolder);
  EXPECT_EQ(w.settings, "/srv/cfg/lumeno/Lumeno.ini");
  EXPECT_EQ(w.log, "/srv/state/lumeno/log.txt");

  // A relative value would make the files depend on the folder the program was started from.
  facts.xdgConfigHome = "cfg";
  facts.xdgStateHome = "./state";
  w = where(decideFilePlaces(facts), facts.programFolder);
  EXPECT_EQ(w.settings, "/home/ada/.config/lumeno/Lumeno.ini");
  EXPECT_EQ(w.log, "/home/ada/.local/state/lumeno/log.txt");
}

TEST(FilePlaces, WithoutAnyHomeTheFilesGoWhereAUserCannotWriteRatherThanBesideTheProgram) {
  PlaceFacts facts = installedFacts();
  facts.home.clear();
  const Where w = where(decideFilePlaces(facts), facts.programFolder);
  EXPECT_EQ(w.settings, "/.config/lumeno/Lumeno.ini");
  EXPECT_EQ(w.log, "/.local/state/lumeno/log.txt");
}

}  // namespace
}  // namespace lumeno::test
