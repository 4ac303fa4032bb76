// SPDX-License-Identifier: GPL-3.0-or-later
// What the IP tools window decides, with a window and a tool runner that only remember what they
// were told, over a temporary program folder.
#include "iptools/IpToolsPresenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FakeIpToolsView.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "iptools/OutputTail.h"

namespace lumeno::iptools::test {
namespace {

using Strings = std::vector<std::string>;

const std::set<Control> kModeControlSet{Control::PingButton,    Control::HostBox, Control::TraceButton,
                                        Control::NetstatButton, Control::Octet1,  Control::Octet2,
                                        Control::Octet3,        Control::Octet4,  Control::DomainBox};

class IpToolsPresenterTest : public ::testing::Test {
 protected:
  IpToolsPresenterTest() {
    context.programFolder = folder.path();
    context.boxes = &boxes;
    presenter.onLoaded();
  }

  // The enabled controls among those a mode decides.
  [[nodiscard]] std::set<Control> enabledModeControls() const {
    std::set<Control> enabled;
    for (const Control control : kModeControlSet) {
      if (view.enabled(control)) enabled.insert(control);
    }
    return enabled;
  }
  void typeOctets(const std::array<const char*, 4>& octets) {
    const std::array<Control, 4> octetBoxes{Control::Octet1, Control::Octet2, Control::Octet3,
                                            Control::Octet4};
    for (std::size_t i = 0; i < 4; ++i) view.type(octetBoxes.at(i), octets.at(i));
  }
  // The tool wrote this into its result file and ended so.
  void finishWith(Tool tool, const std::string& result, RunEnd end = RunEnd::Ran) {
    folder.write(resultFileName(tool), result);
    presenter.onToolFinished(end);
  }

  lumeno::test::TempFolder folder;
  lumeno::test::ScriptedMessageBoxes boxes;
  AppContext context;
  FakeIpToolsView view;
  FakeToolRunner runner;
  std::int64_t now = 1'000'000;
  IpToolsPresenter presenter{context, view, runner, [this] { return now; }};
};

TEST_F(IpToolsPresenterTest, LoadingWritesThePlaceholdersAndOpensInPingModeReady) {
  for (const auto& [file, text] : std::vector<std::pair<const char*, const char*>>{
           {"traceroute.txt", "No trace route has been done yet"},
           {"ping.txt", "No ping has been done yet"},
           {"netstat.txt", "No net status has been done yet"}}) {
    EXPECT_EQ(folder.read(file), text) << file;  // no line break after the text
  }
  EXPECT_EQ(view.selectedMode, Mode::Ping);
  EXPECT_EQ(enabledModeControls(), (std::set<Control>{Control::PingButton, Control::HostBox}));
  EXPECT_EQ(view.status(), " Ready...");

  folder.write("ping.txt", "an earlier ping");
  IpToolsPresenter reloaded(context, view, runner);
  reloaded.onLoaded();  // every load writes them again
  EXPECT_EQ(folder.read("ping.txt"), "No ping has been done yet");
}

TEST_F(IpToolsPresenterTest, EachModeEnablesItsOwnControlsAndChangesNoText) {
  const std::vector<std::pair<Mode, std::set<Control>>> modes{
      {Mode::AddressTrace,
       {Control::TraceButton, Control::Octet1, Control::Octet2, Control::Octet3, Control::Octet4}},
      {Mode::DomainTrace, {Control::TraceButton, Control::DomainBox}},
      {Mode::Netstat, {Control::NetstatButton}},
      {Mode::Ping, {Control::PingButton, Control::HostBox}}};
  view.changes.clear();
  for (const auto& [mode, enabled] : modes) {
    presenter.onModeChosen(mode);
    EXPECT_EQ(enabledModeControls(), enabled) << static_cast<int>(mode);
    for (const Control always :
         {Control::CountBox, Control::HopsBox, Control::TimeoutBox, Control::HostNamesTick,
          Control::ShowAllTick, Control::OutputBox, Control::LastPingItem, Control::ClearAllItem}) {
      EXPECT_TRUE(view.enabled(always)) << static_cast<int>(always);
    }
  }
  EXPECT_TRUE(view.changes.empty());
}

TEST_F(IpToolsPresenterTest, AnEmptyHostOnlyComplains) {
  view.type(Control::HostBox, "");
  presenter.onPingClicked();
  EXPECT_EQ(boxes.takeTexts(), Strings{"Please enter IP or Domain name to ping"});
  EXPECT_EQ(view.status(), " Error...");
  EXPECT_EQ(view.texts.at(Control::Counter), "0");
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(runner.started.empty());
  EXPECT_FALSE(presenter.isToolRunning());
}

TEST_F(IpToolsPresenterTest, OnlyAnEmptyOrBareDomainKeepsATraceFromRunning) {
  presenter.onModeChosen(Mode::DomainTrace);
  for (const char* typed : {"www.", ""}) {
    view.type(Control::DomainBox, typed);
    presenter.onTraceClicked();
    EXPECT_EQ(boxes.takeTexts(), Strings{"You must enter a Domain Address to trace"}) << typed;
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(view.status(), " Ready...");
  }
  EXPECT_TRUE(runner.started.empty());
  for (const char* typed : {"WWW.", " www."}) {
    view.type(Control::DomainBox, typed);
    presenter.onTraceClicked();
    ASSERT_FALSE(runner.started.empty()) << typed;
    EXPECT_EQ(runner.started.back().target, typed);
    EXPECT_EQ(view.status(), " Ready...");  // a domain trace leaves the status as it was
    finishWith(Tool::Trace, "route");
  }
  EXPECT_TRUE(boxes.takeTexts().empty());
}

TEST_F(IpToolsPresenterTest, PingRunsWithTheBoxesAsTypedAndCountsEveryStartedRun) {
  view.type(Control::CountBox, "4");
  view.type(Control::HostBox, "127.0.0.1");
  presenter.onPingClicked();
  ASSERT_EQ(runner.started.size(), 1U);
  EXPECT_EQ(windowsCommand(runner.started[0]).arguments, (Strings{"-n", "4", "127.0.0.1"}));
  EXPECT_EQ(runner.startedIn, folder.path());
  EXPECT_EQ(view.status(), " Working...");
  EXPECT_TRUE(view.busy);
  EXPECT_EQ(view.texts.at(Control::PingButton), "Stop");
  EXPECT_TRUE(view.outputReadOnly);

  finishWith(Tool::Ping, "reply from 127.0.0.1\n");
  EXPECT_EQ(view.output(), "reply from 127.0.0.1\n");
  EXPECT_EQ(view.caret, "end");
  EXPECT_EQ(view.status(), " Done...");
  EXPECT_EQ(view.texts.at(Control::Counter), "1");
  EXPECT_EQ(view.beeps, 1);
  EXPECT_FALSE(view.busy);
  EXPECT_FALSE(view.outputReadOnly);
  EXPECT_EQ(view.texts.at(Control::PingButton), "Ping");

  view.type(Control::HostBox, "   ");  // only spaces is not empty
  for (int run = 0; run < 2; ++run) {
    presenter.onPingClicked();
    finishWith(Tool::Ping, "again");
  }
  EXPECT_EQ(runner.started.back().host, "   ");
  EXPECT_EQ(view.texts.at(Control::Counter), "3");

  // A ping that never started is not one: its note is read from its start.
  presenter.onPingClicked();
  finishWith(Tool::Ping, "ping could not be started: no such file\n", RunEnd::NotStarted);
  EXPECT_EQ(view.texts.at(Control::Counter), "3");
  EXPECT_EQ(view.status(), " Error...");
  EXPECT_EQ(view.caret, "start");
  EXPECT_EQ(view.beeps, 3);
}

TEST_F(IpToolsPresenterTest, AnAddressTraceNamesTheClassAndAWrongOctetStillTracesWithoutTarget) {
  presenter.onModeChosen(Mode::AddressTrace);
  typeOctets({"192", "168", "1", "1"});
  view.ticked.insert(Control::HostNamesTick);
  view.type(Control::HopsBox, "15");
  view.type(Control::TimeoutBox, "500");
  presenter.onTraceClicked();
  ASSERT_EQ(runner.started.size(), 1U);
  EXPECT_EQ(windowsCommand(runner.started[0]).arguments, (Strings{"-h", "15", "-w", "500", "192.168.1.1"}));
  EXPECT_EQ(view.status(), "Class C Address");
  EXPECT_TRUE(view.busy);
  finishWith(Tool::Trace, "a route");
  EXPECT_EQ(view.status(), "Class C Address");  // a trace sets neither " Working..." nor " Done..."
  EXPECT_EQ(view.output(), "a route");
  EXPECT_EQ(view.beeps, 0);

  typeOctets({"300", "1", "1", "1"});  // no class from 224 on: the status stays
  presenter.onTraceClicked();
  EXPECT_EQ(runner.started.back().target, "300.1.1.1");
  EXPECT_EQ(view.status(), "Class C Address");
  finishWith(Tool::Trace, "");

  typeOctets({"127", "0", "", "1"});
  presenter.onTraceClicked();
  EXPECT_EQ(boxes.takeTexts(), Strings{"Error, Wrong input."});
  ASSERT_EQ(runner.started.size(), 3U);
  EXPECT_EQ(runner.started.back().target, "");
  EXPECT_EQ(view.status(), "Class C Address");
}

TEST_F(IpToolsPresenterTest, NetstatSaysWorkingAndDoneWithoutALeadingSpace) {
  presenter.onModeChosen(Mode::Netstat);
  presenter.onNetstatClicked();
  EXPECT_EQ(view.status(), "Working...");
  EXPECT_TRUE(view.busy);
  ASSERT_EQ(runner.started.size(), 1U);
  EXPECT_EQ(windowsCommand(runner.started[0]).arguments, (Strings{"-n"}));
  finishWith(Tool::Netstat, "connections");
  EXPECT_EQ(view.status(), "Done...");
  EXPECT_EQ(view.output(), "connections");

  view.ticked.insert(Control::ShowAllTick);
  presenter.onNetstatClicked();
  EXPECT_TRUE(runner.started.back().showAll);
  finishWith(Tool::Netstat, "netstat is not installed\n", RunEnd::NotStarted);
  EXPECT_EQ(view.status(), " Error...");
  EXPECT_EQ(view.texts.at(Control::Counter), "0");
}

TEST_F(IpToolsPresenterTest, WhileAToolRunsOnlyItsStopTakesAClickAndTheChosenModeAppliesAfter) {
  presenter.onPingClicked();
  EXPECT_TRUE(view.enabled(Control::PingButton));
  for (const Control off : {Control::TraceButton, Control::NetstatButton, Control::LastPingItem,
                            Control::LastTraceItem, Control::LastNetstatItem, Control::ClearAllItem}) {
    EXPECT_FALSE(view.enabled(off)) << static_cast<int>(off);
  }
  presenter.onModeChosen(Mode::Netstat);
  EXPECT_FALSE(view.enabled(Control::NetstatButton));  // no second tool meanwhile
  EXPECT_TRUE(view.enabled(Control::PingButton));
  presenter.onNetstatClicked();
  presenter.onLastPingChosen();
  presenter.onClearAllChosen();
  EXPECT_EQ(runner.started.size(), 1U);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(view.status(), " Working...");

  finishWith(Tool::Ping, "done");
  EXPECT_EQ(enabledModeControls(), std::set<Control>{Control::NetstatButton});
  EXPECT_TRUE(view.enabled(Control::ClearAllItem));
}

TEST_F(IpToolsPresenterTest, TheSecondClickOfADoubleClickIsNoStopButALaterClickOrEscIs) {
  presenter.onModeChosen(Mode::Netstat);
  presenter.onNetstatClicked();
  now += 399;  // within the desktop's double-click interval of the start
  presenter.onNetstatClicked();
  EXPECT_EQ(runner.stops, 0);
  EXPECT_EQ(view.texts.at(Control::NetstatButton), "Stop");
  now += 1;
  presenter.onNetstatClicked();
  EXPECT_EQ(runner.stops, 1);
  presenter.onEscPressed();  // Esc needs no wait
  EXPECT_EQ(runner.stops, 2);
  finishWith(Tool::Netstat, "partial", RunEnd::Stopped);
  EXPECT_EQ(view.status(), " Stopped...");
  EXPECT_EQ(view.texts.at(Control::NetstatButton), "Netstat");

  presenter.onEscPressed();  // nothing runs: nothing to stop
  EXPECT_EQ(runner.stops, 2);
  presenter.onModeChosen(Mode::Ping);
  presenter.onPingClicked();
  presenter.onEscPressed();
  EXPECT_EQ(runner.stops, 3);  // each start opens its own interval, Esc ignores it
}

TEST_F(IpToolsPresenterTest, AStoppedOrCutRunSaysStoppedAndAStoppedPingStillCounts) {
  presenter.onPingClicked();
  finishWith(Tool::Ping, "1 packets transmitted\n", RunEnd::Stopped);
  EXPECT_EQ(view.status(), " Stopped...");
  EXPECT_EQ(view.texts.at(Control::Counter), "1");
  EXPECT_EQ(view.output(), "1 packets transmitted\n");
  EXPECT_EQ(view.caret, "end");

  presenter.onModeChosen(Mode::DomainTrace);
  view.type(Control::DomainBox, "example.org");
  presenter.onTraceClicked();
  finishWith(Tool::Trace, "cut", RunEnd::Cut);
  EXPECT_EQ(view.status(), " Stopped...");
}

TEST_F(IpToolsPresenterTest, ARunThatCouldNotBeStoredKeepsItsOutputShownAndNeverSaysDone) {
  const auto note = [](const char* file) { return "Not stored in " + std::string(file) + " (disk full?)\n"; };
  presenter.onPingClicked();
  presenter.onToolOutput("64 bytes from 127.0.0.1\n");
  finishWith(Tool::Ping, "", RunEnd::NotStored);  // the full disk left the file empty
  EXPECT_EQ(view.output(), "64 bytes from 127.0.0.1\n" + note("ping.txt"));
  EXPECT_EQ(view.status(), " Not stored...");
  EXPECT_EQ(view.texts.at(Control::Counter), "1");
  EXPECT_EQ(view.caret, "end");

  presenter.onModeChosen(Mode::Netstat);
  presenter.onNetstatClicked();
  presenter.onToolOutput("Proto Recv-Q");
  finishWith(Tool::Netstat, "", RunEnd::NotStored);
  EXPECT_EQ(view.output(), "Proto Recv-Q\n" + note("netstat.txt"));
  EXPECT_EQ(view.status(), " Not stored...");

  presenter.onModeChosen(Mode::DomainTrace);
  view.type(Control::DomainBox, "example.org");
  presenter.onTraceClicked();
  finishWith(Tool::Trace, "", RunEnd::NotStored);
  EXPECT_EQ(view.output(), note("traceroute.txt"));
  EXPECT_EQ(view.status(), " Not stored...");
}

TEST_F(IpToolsPresenterTest, ClosingEndsTheRunningToolAndNothingOfItIsShownAfter) {
  presenter.onPingClicked();
  presenter.onClosing();
  EXPECT_EQ(runner.kills, 1);
  EXPECT_FALSE(presenter.isToolRunning());
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.texts.at(Control::PingButton), "Ping");
  presenter.onToolOutput("late output\n");
  presenter.onToolFinished(RunEnd::Ran);
  EXPECT_EQ(view.output(), "");
  EXPECT_EQ(view.texts.at(Control::Counter), "0");

  presenter.onClosing();  // nothing runs: nothing to kill
  EXPECT_EQ(runner.kills, 1);
  presenter.onExitChosen();
  EXPECT_EQ(view.closes, 1);
}

TEST_F(IpToolsPresenterTest, LiveOutputFollowsTheToolWholeCharactersOnlyAndKeepsOnlyTheEnd) {
  presenter.setOutputLimits({.maxLines = 3, .maxBytes = 1000, .maxLineBytes = 100});
  folder.write("ping.txt", "old");
  presenter.onPingClicked();
  EXPECT_EQ(view.output(), "");       // the last output goes at the start of a run
  presenter.onToolOutput("caf\xC3");  // the two bytes of "é" come in two pieces
  EXPECT_EQ(view.appended, Strings{"caf"});
  EXPECT_EQ(view.caret, "end");
  presenter.onToolOutput("\xA9\n");
  EXPECT_EQ(view.appended, (Strings{"caf", "\xC3\xA9\n"}));
  presenter.onToolOutput("\xE2\x82\xAC");  // a whole "€" at the end is not held back
  EXPECT_EQ(view.appended.back(), "\xE2\x82\xAC");
  presenter.onToolOutput("line 2\nline 3\nline 4\nline 5\n");
  const std::string kept = std::string(kEarlierOutputLeftOut) + "\nline 3\nline 4\nline 5\n";
  EXPECT_EQ(view.output(), kept);
  presenter.onToolOutput("line 6\n");
  EXPECT_EQ(view.output(), std::string(kEarlierOutputLeftOut) + "\nline 4\nline 5\nline 6\n");
}

TEST_F(IpToolsPresenterTest, AFloodBetweenTwoReportsReplacesTheTextWholeWithoutHalfACharacter) {
  presenter.setOutputLimits({.maxLines = 1000, .maxBytes = 64, .maxLineBytes = 32});
  presenter.onPingClicked();
  presenter.onToolOutput("first\n");
  std::string flood;
  for (int line = 0; line < 20; ++line) flood += "line " + std::to_string(line) + "\n";
  const std::size_t changes = view.changes.size();
  presenter.onToolOutput(flood + "\xE2\x82");  // more than the box keeps, ending inside a "€"
  ASSERT_EQ(view.changes.size(), changes + 1);
  EXPECT_EQ(view.changes.back().first, Control::OutputBox);  // given anew, not piece by piece
  const std::string shown = view.output();
  EXPECT_EQ(shown.rfind(std::string(kEarlierOutputLeftOut) + "\n", 0), 0U) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 8), "line 19\n");
  presenter.onToolOutput("\xAC\n");
  EXPECT_EQ(view.appended.back(), "\xE2\x82\xAC\n");
}

TEST_F(IpToolsPresenterTest, AStoredResultLongerThanTheBoxShowsOnlyItsEnd) {
  presenter.setOutputLimits({.maxLines = 2, .maxBytes = 1000, .maxLineBytes = 100});
  folder.write("netstat.txt", "one\ntwo\nthree\nfour\n");
  presenter.onLastNetstatChosen();
  EXPECT_EQ(view.output(), std::string(kEarlierOutputLeftOut) + "\nthree\nfour\n");
  EXPECT_EQ(folder.read("netstat.txt"), "one\ntwo\nthree\nfour\n");
}

TEST_F(IpToolsPresenterTest, AFolderInAResultFilesPlaceIsNeverWrittenAndTheViewSaysSo) {
  for (const char* file : {"ping.txt", "traceroute.txt"}) {
    std::filesystem::remove(folder / file);
    std::filesystem::create_directory(folder / file);
  }
  IpToolsPresenter reloaded(context, view, runner);
  reloaded.onLoaded();
  EXPECT_EQ(folder.read("netstat.txt"), "No net status has been done yet");  // the others still get theirs
  const std::string note = " is not a regular file (a named pipe, a device or a folder).";
  reloaded.onLastPingChosen();
  EXPECT_EQ(view.output(), "No result to show: " + (folder / "ping.txt").string() + note);
  reloaded.onLastTraceChosen();
  EXPECT_EQ(view.output(), "No result to show: " + (folder / "traceroute.txt").string() + note);
  EXPECT_EQ(view.status(), " Done...");
  EXPECT_TRUE(std::filesystem::is_empty(folder / "traceroute.txt"));
}

TEST_F(IpToolsPresenterTest, AResultFileThatCannotBeUsedIsANoteReadFromItsStart) {
  presenter.onPingClicked();
  presenter.onToolFinished(RunEnd::ResultUnwritable);
  EXPECT_EQ(view.output(), "The result file " + (folder / "ping.txt").string() +
                               " cannot be written, so the tool was not run.");
  EXPECT_EQ(view.caret, "start");
  EXPECT_EQ(view.status(), " Error...");
  EXPECT_EQ(view.beeps, 0);

  presenter.onModeChosen(Mode::Netstat);
  presenter.onNetstatClicked();
  presenter.onToolFinished(RunEnd::ResultNotRegular);
  EXPECT_EQ(
      view.output(),
      "The result file " + (folder / "netstat.txt").string() +
          " is not a regular file (a symbolic link, a named pipe, a device or a folder), so the tool was "
          "not run.");
  EXPECT_EQ(view.caret, "start");
  EXPECT_EQ(view.status(), " Error...");
}

TEST_F(IpToolsPresenterTest, TheLastResultViewsShowTheFilesOrSayWhatIsMissing) {
  const std::string recovery =
      "No last trace route to show, due to file being moved or deleted. Your next trace route will be "
      "monitored.";
  const auto check = [&](void (IpToolsPresenter::*chosen)(), const std::string& shown) {
    view.changes.clear();
    (presenter.*chosen)();
    EXPECT_EQ(view.output(), shown);
    ASSERT_FALSE(view.changes.empty());
    EXPECT_EQ(view.changes.front(), std::make_pair(Control::StatusLabel, std::string(" Working...")));
    EXPECT_EQ(view.status(), " Done...");
  };
  check(&IpToolsPresenter::onLastPingChosen, "No ping has been done yet");
  check(&IpToolsPresenter::onLastTraceChosen, "No trace route has been done yet");
  check(&IpToolsPresenter::onLastNetstatChosen, "No net status has been done yet");

  for (const char* file : {"ping.txt", "traceroute.txt", "netstat.txt"})
    std::filesystem::remove(folder / file);
  check(&IpToolsPresenter::onLastPingChosen,
        "No result to show: " + (folder / "ping.txt").string() + " is missing.");
  check(&IpToolsPresenter::onLastTraceChosen, recovery);
  check(&IpToolsPresenter::onLastNetstatChosen,
        "No result to show: " + (folder / "netstat.txt").string() + " is missing.");
  EXPECT_EQ(folder.read("traceroute.txt"), recovery);  // recreated, without a line break
  EXPECT_EQ(view.texts.at(Control::Counter), "0");
}

TEST_F(IpToolsPresenterTest, ClearAllAsksThenResetsEveryInputInOrderButKeepsTheModeAndTheFiles) {
  presenter.onPingClicked();
  finishWith(Tool::Ping, "an earlier ping");
  presenter.onModeChosen(Mode::AddressTrace);
  for (const Control box : {Control::HostBox, Control::CountBox, Control::Octet1, Control::DomainBox,
                            Control::HopsBox, Control::TimeoutBox}) {
    view.type(box, "9");
  }
  view.ticked = {Control::HostNamesTick, Control::ShowAllTick};

  boxes.answers = {BoxAnswer::No};
  view.changes.clear();
  presenter.onClearAllChosen();
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0], (BoxRequest{"This will clear output window, input areas, tic boxes and reset all "
                                        "number boxes to default settings",
                                        "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_TRUE(view.changes.empty());

  boxes.answers = {BoxAnswer::Yes};
  presenter.onClearAllChosen();
  using Change = std::pair<Control, std::string>;
  EXPECT_EQ(view.changes, (std::vector<Change>{{Control::StatusLabel, " Working..."},
                                               {Control::Counter, "0"},
                                               {Control::HostBox, ""},
                                               {Control::CountBox, "4"},
                                               {Control::ShowAllTick, "unticked"},
                                               {Control::OutputBox, ""},
                                               {Control::Octet1, ""},
                                               {Control::Octet2, ""},
                                               {Control::Octet3, ""},
                                               {Control::Octet4, ""},
                                               {Control::DomainBox, "www."},
                                               {Control::HopsBox, "30"},
                                               {Control::TimeoutBox, "3000"},
                                               {Control::HostNamesTick, "unticked"},
                                               {Control::StatusLabel, " All Cleared"}}));
  EXPECT_TRUE(view.enabled(Control::Octet1));
  EXPECT_EQ(folder.read("ping.txt"), "an earlier ping");

  view.type(Control::HostBox, "127.0.0.1");
  presenter.onModeChosen(Mode::Ping);
  presenter.onPingClicked();
  finishWith(Tool::Ping, "next");
  EXPECT_EQ(view.texts.at(Control::Counter), "1");  // counting starts again from "0"
}

TEST_F(IpToolsPresenterTest, AClickSelectsABoxWholeAndOnTheOutputBoxAlsoPopsUpTheOptionsMenu) {
  presenter.onBoxClicked(Control::HostBox);
  presenter.onBoxClicked(Control::CountBox);
  EXPECT_EQ(view.selections, (std::vector<Control>{Control::HostBox, Control::CountBox}));
  EXPECT_EQ(view.optionsMenuPopUps, 0);
  presenter.onOutputBoxClicked();
  EXPECT_EQ(view.selections.back(), Control::OutputBox);
  EXPECT_EQ(view.optionsMenuPopUps, 1);
}

}  // namespace
}  // namespace lumeno::iptools::test
