// SPDX-License-Identifier: GPL-3.0-or-later
// What the IP tools window decides, with a window and a tool runner that only remember what they
// were told, over a temporary program folder.
#include "iptools/IpToolsPresenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <tuple>
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
  // Chooses the tool's mode (a trace by domain, to example.org) and clicks its button.
  void start(Tool tool) {
    view.type(Control::DomainBox, "example.org");
    presenter.onModeChosen(tool == Tool::Ping    ? Mode::Ping
                           : tool == Tool::Trace ? Mode::DomainTrace
                                                 : Mode::Netstat);
    if (tool == Tool::Ping) presenter.onPingClicked();
    if (tool == Tool::Trace) presenter.onTraceClicked();
    if (tool == Tool::Netstat) presenter.onNetstatClicked();
  }
  [[nodiscard]] const std::string& counter() const { return view.texts.at(Control::Counter); }

  lumeno::test::TempFolder folder;
  lumeno::test::ScriptedMessageBoxes boxes;
  AppContext context;
  FakeIpToolsView view;
  FakeToolRunner runner;
  std::int64_t now = 1'000'000;
  IpToolsPresenter presenter{context, view, runner, [this] { return now; }};
};

TEST_F(IpToolsPresenterTest, LoadingWritesThePlaceholdersOpensInPingModeAndEachModeEnablesItsControls) {
  for (const auto& [file, text] : std::vector<std::pair<const char*, const char*>>{
           {"traceroute.txt", "No trace route has been done yet"},
           {"ping.txt", "No ping has been done yet"},
           {"netstat.txt", "No net status has been done yet"}}) {
    EXPECT_EQ(folder.read(file), text) << file;  // no line break after the text
  }
  EXPECT_EQ(std::tuple(view.selectedMode, view.status()), std::tuple(Mode::Ping, " Ready..."));
  EXPECT_EQ(enabledModeControls(), (std::set<Control>{Control::PingButton, Control::HostBox}));

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
          Control::ShowAllTick, Control::OutputBox, Control::LastPingItem, Control::ClearAllItem})
      EXPECT_TRUE(view.enabled(always)) << static_cast<int>(always);
  }
  EXPECT_TRUE(view.changes.empty());  // a mode changes no text

  folder.write("ping.txt", "an earlier ping");
  IpToolsPresenter(context, view, runner).onLoaded();  // every load writes them again
  EXPECT_EQ(folder.read("ping.txt"), "No ping has been done yet");
}

TEST_F(IpToolsPresenterTest, OnlyAnEmptyOrBareDomainKeepsATraceFromRunning) {
  presenter.onModeChosen(Mode::DomainTrace);
  for (const auto& [typed, runs] : {std::pair{"www.", 0U}, {"", 0U}, {"WWW.", 1U}, {" www.", 2U}}) {
    view.type(Control::DomainBox, typed);
    presenter.onTraceClicked();
    const bool refused = runs == 0;
    EXPECT_EQ(boxes.takeTexts(), refused ? Strings{"You must enter a Domain Address to trace"} : Strings{})
        << typed;
    ASSERT_EQ(runner.started.size(), runs) << typed;
    if (!refused) {
      EXPECT_EQ(runner.started.back().target, typed);
    }
    // A domain trace leaves the status as it was.
    EXPECT_EQ(std::tuple(view.busy, view.status()), std::tuple(!refused, " Ready..."));
    finishWith(Tool::Trace, "route");
  }
}

TEST_F(IpToolsPresenterTest, PingNeedsAHostRunsWithTheBoxesAsTypedAndCountsEveryStartedRun) {
  view.type(Control::HostBox, "");  // an empty host only complains
  presenter.onPingClicked();
  EXPECT_EQ(boxes.takeTexts(), Strings{"Please enter IP or Domain name to ping"});
  EXPECT_EQ(std::tuple(view.status(), counter(), view.busy, runner.started.size(), presenter.isToolRunning()),
            std::tuple(" Error...", "0", false, 0U, false));

  view.type(Control::CountBox, "4");
  view.type(Control::HostBox, "127.0.0.1");
  presenter.onPingClicked();
  ASSERT_EQ(runner.started.size(), 1U);
  EXPECT_EQ(windowsCommand(runner.started[0]).arguments, (Strings{"-n", "4", "127.0.0.1"}));
  EXPECT_EQ(runner.startedIn, folder.path());
  const auto shown = [&] {
    return std::tuple(view.status(), view.busy, view.texts.at(Control::PingButton), view.outputReadOnly);
  };
  EXPECT_EQ(shown(), std::tuple(" Working...", true, "Stop", true));

  finishWith(Tool::Ping, "reply from 127.0.0.1\n");
  EXPECT_EQ(shown(), std::tuple(" Done...", false, "Ping", false));
  EXPECT_EQ(std::tuple(view.output(), view.caret, counter(), view.beeps),
            std::tuple("reply from 127.0.0.1\n", "end", "1", 1));

  view.type(Control::HostBox, "   ");  // only spaces is not empty
  for (int run = 0; run < 2; ++run) {
    presenter.onPingClicked();
    finishWith(Tool::Ping, "again");
  }
  EXPECT_EQ(std::tuple(runner.started.back().host, counter()), std::tuple("   ", "3"));

  // A ping that never started is not one: its note is read from its start.
  presenter.onPingClicked();
  finishWith(Tool::Ping, "ping could not be started: no such file\n", RunEnd::NotStarted);
  EXPECT_EQ(std::tuple(counter(), view.status(), view.caret, view.beeps),
            std::tuple("3", " Error...", "start", 3));
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
  EXPECT_EQ(std::tuple(view.status(), view.busy), std::tuple("Class C Address", true));
  finishWith(Tool::Trace, "a route");
  // A trace sets neither " Working..." nor " Done...", and does not beep.
  EXPECT_EQ(std::tuple(view.status(), view.output(), view.beeps),
            std::tuple("Class C Address", "a route", 0));

  typeOctets({"300", "1", "1", "1"});  // no class from 224 on: the status stays
  presenter.onTraceClicked();
  EXPECT_EQ(std::tuple(runner.started.back().target, view.status()),
            std::tuple("300.1.1.1", "Class C Address"));
  finishWith(Tool::Trace, "");

  typeOctets({"127", "0", "", "1"});
  presenter.onTraceClicked();
  EXPECT_EQ(boxes.takeTexts(), Strings{"Error, Wrong input."});
  ASSERT_EQ(runner.started.size(), 3U);
  EXPECT_EQ(std::tuple(runner.started.back().target, view.status()), std::tuple("", "Class C Address"));
}

TEST_F(IpToolsPresenterTest, NetstatSaysWorkingAndDoneWithoutALeadingSpaceAndShowsAllWhenTicked) {
  start(Tool::Netstat);
  EXPECT_EQ(std::tuple(view.status(), view.busy), std::tuple("Working...", true));
  finishWith(Tool::Netstat, "connections");
  EXPECT_EQ(std::tuple(view.status(), view.output()), std::tuple("Done...", "connections"));
  view.ticked.insert(Control::ShowAllTick);
  presenter.onNetstatClicked();
  ASSERT_EQ(runner.started.size(), 2U);
  EXPECT_EQ(std::tuple(runner.started[0].showAll, runner.started[1].showAll), std::tuple(false, true));
}

TEST_F(IpToolsPresenterTest, WhileAToolRunsOnlyItsStopTakesAClickAndTheChosenModeAppliesAfter) {
  presenter.onPingClicked();
  EXPECT_TRUE(view.enabled(Control::PingButton));
  for (const Control off : {Control::TraceButton, Control::NetstatButton, Control::LastPingItem,
                            Control::LastTraceItem, Control::LastNetstatItem, Control::ClearAllItem})
    EXPECT_FALSE(view.enabled(off)) << static_cast<int>(off);
  presenter.onModeChosen(Mode::Netstat);
  // No second tool meanwhile.
  EXPECT_EQ(enabledModeControls(), std::set<Control>{Control::PingButton});
  presenter.onNetstatClicked();
  presenter.onLastPingChosen();
  presenter.onClearAllChosen();
  EXPECT_EQ(std::tuple(runner.started.size(), boxes.shown.size(), view.status()),
            std::tuple(1U, 0U, " Working..."));

  finishWith(Tool::Ping, "done");
  EXPECT_EQ(enabledModeControls(), std::set<Control>{Control::NetstatButton});
  EXPECT_TRUE(view.enabled(Control::ClearAllItem));
}

TEST_F(IpToolsPresenterTest, TheSecondClickOfADoubleClickIsNoStopButALaterClickOrEscIs) {
  start(Tool::Netstat);
  now += 399;  // within the desktop's double-click interval of the start
  presenter.onNetstatClicked();
  EXPECT_EQ(std::tuple(runner.stops, view.texts.at(Control::NetstatButton)), std::tuple(0, "Stop"));
  now += 1;
  presenter.onNetstatClicked();
  EXPECT_EQ(runner.stops, 1);
  presenter.onEscPressed();  // Esc needs no wait
  EXPECT_EQ(runner.stops, 2);
  finishWith(Tool::Netstat, "partial", RunEnd::Stopped);
  EXPECT_EQ(std::tuple(view.status(), view.texts.at(Control::NetstatButton)),
            std::tuple(" Stopped...", "Netstat"));

  presenter.onEscPressed();  // nothing runs: nothing to stop
  EXPECT_EQ(runner.stops, 2);
  presenter.onModeChosen(Mode::Ping);
  presenter.onPingClicked();
  presenter.onEscPressed();
  EXPECT_EQ(runner.stops, 3);  // each start opens its own interval, Esc ignores it
}

// However a run ends, the status says how and the output reads from the end that matters; only a
// ping that started counts and beeps.
TEST_F(IpToolsPresenterTest, EachWayARunEndsSetsTheStatusTheOutputAndTheCount) {
  const auto notStored = [](const char* file) {
    return "Not stored in " + std::string(file) + " (disk full?)\n";
  };
  const auto notRun = [&](const char* file, const char* why) {
    return "The result file " + (folder / file).string() + why + ", so the tool was not run.";
  };
  // NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding): rows read in the order written
  const struct {
    Tool tool;
    const char* live;    // what the tool wrote while it ran
    const char* stored;  // what its result file holds when it ends
    RunEnd end;
    std::string shown;
    const char* status;
    const char* caret;
    int pings;  // counted so far
  } rows[]{
      {Tool::Ping, "", "1 packets transmitted\n", RunEnd::Stopped, "1 packets transmitted\n", " Stopped...",
       "end", 1},
      {Tool::Netstat, "", "", RunEnd::ResultNotRegular,
       notRun("netstat.txt", " is not a regular file (a symbolic link, a named pipe, a device or a folder)"),
       " Error...", "start", 1},
      // The full disk left the file empty: what was shown stays, the note on a line of its own.
      {Tool::Ping, "64 bytes from 127.0.0.1\n", "", RunEnd::NotStored,
       "64 bytes from 127.0.0.1\n" + notStored("ping.txt"), " Not stored...", "end", 2},
      {Tool::Netstat, "Proto Recv-Q", "", RunEnd::NotStored, "Proto Recv-Q\n" + notStored("netstat.txt"),
       " Not stored...", "end", 2},
      {Tool::Trace, "", "cut", RunEnd::Cut, "cut", " Stopped...", "end", 2},
      {Tool::Trace, "", "", RunEnd::NotStored, notStored("traceroute.txt"), " Not stored...", "end", 2},
      {Tool::Ping, "", "", RunEnd::ResultUnwritable, notRun("ping.txt", " cannot be written"), " Error...",
       "start", 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.shown);
    start(row.tool);
    if (*row.live != '\0') presenter.onToolOutput(row.live);
    finishWith(row.tool, row.stored, row.end);
    EXPECT_EQ(view.output(), row.shown);
    EXPECT_EQ(std::tuple(view.status(), view.caret, counter(), view.beeps, view.busy),
              std::tuple(row.status, row.caret, std::to_string(row.pings), row.pings, false));
  }
}

TEST_F(IpToolsPresenterTest, ClosingEndsTheRunningToolAndNothingOfItIsShownAfter) {
  presenter.onPingClicked();
  presenter.onClosing();
  EXPECT_EQ(
      std::tuple(runner.kills, presenter.isToolRunning(), view.busy, view.texts.at(Control::PingButton)),
      std::tuple(1, false, false, "Ping"));
  presenter.onToolOutput("late output\n");
  presenter.onToolFinished(RunEnd::Ran);
  EXPECT_EQ(std::tuple(view.output(), counter()), std::tuple("", "0"));

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
  EXPECT_EQ(std::tuple(view.appended, view.caret), std::tuple(Strings{"caf"}, "end"));
  presenter.onToolOutput("\xA9\n");
  EXPECT_EQ(view.appended, (Strings{"caf", "\xC3\xA9\n"}));
  presenter.onToolOutput("\xE2\x82\xAC");  // a whole "€" at the end is not held back
  EXPECT_EQ(view.appended.back(), "\xE2\x82\xAC");
  presenter.onToolOutput("\xC3\xA9");  // nor a whole "é"
  EXPECT_EQ(view.appended.back(), "\xC3\xA9");
  presenter.onToolOutput("\xF0\x9F\x98");  // three bytes of a four-byte character wait for the fourth
  presenter.onToolOutput("\x80");
  EXPECT_EQ(view.appended.back(), "\xF0\x9F\x98\x80");
  presenter.onToolOutput("line 2\nline 3\nline 4\nline 5\n");
  const std::string kept = std::string(kEarlierOutputLeftOut) + "\nline 3\nline 4\nline 5\n";
  EXPECT_EQ(view.output(), kept);
  presenter.onToolOutput("line 6\n");
  EXPECT_EQ(view.output(), std::string(kEarlierOutputLeftOut) + "\nline 4\nline 5\nline 6\n");
  presenter.onToolOutput("line 7");
  presenter.onToolOutput(" ends\nline 8\nline 9");  // the line begun stays; the two above it go
  EXPECT_EQ(view.output(), std::string(kEarlierOutputLeftOut) + "\nline 7 ends\nline 8\nline 9");
}

TEST_F(IpToolsPresenterTest, TheBoxFollowsTheKeptOutputWhateverPiecesTheToolWritesIn) {
  std::mt19937 random(20261206);  // a fixed seed: the same pieces every run
  std::string output;
  for (int i = 0; i < 3000; ++i) {
    output += "line " + std::to_string(i) + " \xE2\x82\xAC";  // a three-byte character too
    if (i % 97 == 0) output += std::string(300, 'x');         // now and then an overlong line
    output += "\n";
  }
  const OutputLimits limits{.maxLines = 40, .maxBytes = 2000, .maxLineBytes = 64};
  for (const std::size_t maxPiece : {1UL, 7UL, 300UL, 5000UL, 100000UL}) {
    SCOPED_TRACE(maxPiece);
    presenter.setOutputLimits(limits);
    presenter.onPingClicked();
    OutputTail tail(limits);
    std::uniform_int_distribution<std::size_t> size(1, maxPiece);
    for (std::size_t at = 0; at < output.size();) {
      const std::string piece = output.substr(at, std::min(size(random), output.size() - at));
      at += piece.size();
      presenter.onToolOutput(piece);
      tail.append(piece);
      const std::string kept = tail.text();  // less the start of a character still to come
      ASSERT_TRUE(kept.starts_with(view.output()) && kept.size() - view.output().size() < 4) << at;
    }
    const std::string kept = view.output();
    EXPECT_EQ(kept, tail.text());
    EXPECT_LE(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), '\n')), 41U);
    EXPECT_LE(kept.size(), 2000 + kEarlierOutputLeftOut.size() + 1);
    EXPECT_TRUE(kept.ends_with("line 2999 \xE2\x82\xAC\n"));
    finishWith(Tool::Ping, "");
  }
}

TEST_F(IpToolsPresenterTest, TheLastResultViewsShowTheFilesEndsOrSayWhatIsMissingOrNoFile) {
  presenter.setOutputLimits({.maxLines = 2, .maxBytes = 1000, .maxLineBytes = 1000});
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
  check(&IpToolsPresenter::onLastTraceChosen, "No trace route has been done yet");  // not recreated

  for (const char* file : {"ping.txt", "traceroute.txt", "netstat.txt"})
    std::filesystem::remove(folder / file);
  check(&IpToolsPresenter::onLastPingChosen,
        "No result to show: " + (folder / "ping.txt").string() + " is missing.");
  check(&IpToolsPresenter::onLastTraceChosen, recovery);
  check(&IpToolsPresenter::onLastNetstatChosen,
        "No result to show: " + (folder / "netstat.txt").string() + " is missing.");
  // Recreated, without a line break.
  EXPECT_EQ(std::tuple(folder.read("traceroute.txt"), counter()), std::tuple(recovery, "0"));

  folder.write("netstat.txt", "one\ntwo\nthree\nfour\n");  // longer than the box: its end is shown
  check(&IpToolsPresenter::onLastNetstatChosen, std::string(kEarlierOutputLeftOut) + "\nthree\nfour\n");
  EXPECT_EQ(folder.read("netstat.txt"), "one\ntwo\nthree\nfour\n");

  // A folder in a result file's place is never written, not even by a new load.
  for (const char* file : {"ping.txt", "traceroute.txt", "netstat.txt"})
    std::filesystem::remove(folder / file);
  for (const char* file : {"ping.txt", "traceroute.txt"}) std::filesystem::create_directory(folder / file);
  IpToolsPresenter(context, view, runner).onLoaded();
  EXPECT_EQ(folder.read("netstat.txt"), "No net status has been done yet");  // the others still get theirs
  const std::string note = " is not a regular file (a named pipe, a device or a folder).";
  check(&IpToolsPresenter::onLastPingChosen, "No result to show: " + (folder / "ping.txt").string() + note);
  check(&IpToolsPresenter::onLastTraceChosen,
        "No result to show: " + (folder / "traceroute.txt").string() + note);
  EXPECT_TRUE(std::filesystem::is_empty(folder / "traceroute.txt"));
}

TEST_F(IpToolsPresenterTest, ClearAllAsksThenResetsEveryInputInOrderButKeepsTheModeAndTheFiles) {
  presenter.onPingClicked();
  finishWith(Tool::Ping, "an earlier ping");
  presenter.onModeChosen(Mode::AddressTrace);
  for (const Control box : {Control::HostBox, Control::CountBox, Control::Octet1, Control::DomainBox,
                            Control::HopsBox, Control::TimeoutBox})
    view.type(box, "9");
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
  std::vector<Control> changed;  // the controls changed, in order, and what each was set to
  Strings values;
  for (const auto& [control, value] : view.changes) changed.push_back(control), values.push_back(value);
  EXPECT_EQ(changed,
            (std::vector<Control>{Control::StatusLabel, Control::Counter, Control::HostBox, Control::CountBox,
                                  Control::ShowAllTick, Control::OutputBox, Control::Octet1, Control::Octet2,
                                  Control::Octet3, Control::Octet4, Control::DomainBox, Control::HopsBox,
                                  Control::TimeoutBox, Control::HostNamesTick, Control::StatusLabel}));
  EXPECT_EQ(values, (Strings{" Working...", "0", "", "4", "unticked", "", "", "", "", "", "www.", "30",
                             "3000", "unticked", " All Cleared"}));
  EXPECT_TRUE(view.enabled(Control::Octet1));
  EXPECT_EQ(folder.read("ping.txt"), "an earlier ping");

  view.type(Control::HostBox, "127.0.0.1");
  presenter.onModeChosen(Mode::Ping);
  presenter.onPingClicked();
  finishWith(Tool::Ping, "next");
  EXPECT_EQ(counter(), "1");  // counting starts again from "0"
}

}  // namespace
}  // namespace lumeno::iptools::test
