// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <set>

#include "IpToolsFixture.h"

namespace lumeno::iptools::test {
namespace {

using WindowTest = IpToolsFixture;
using Texts = std::vector<std::pair<const char*, std::string>>;
using Strings = std::vector<std::string>;

TEST_F(WindowTest, EachModeEnablesItsOwnControlsAndChangesNothingElse) {
  const std::vector<std::pair<const char*, std::set<std::string>>> modes{
      {"", {"cmdPing", "txtIP"}},  // as loaded
      {"ipopt", {"tracmd", "iptxt1", "iptxt2", "iptxt3", "iptxt4"}},
      {"urlopt", {"tracmd", "urltxt"}},
      {"netstatopt", {"netstatbutton"}},
      {"pingopt", {"cmdPing", "txtIP"}}};
  type("iptxt1", "10");
  for (const auto& [option, enabled] : modes) {
    SCOPED_TRACE(option);
    if (*option != '\0') button(option)->click();
    for (const char* name :
         {"cmdPing", "txtIP", "tracmd", "netstatbutton", "iptxt1", "iptxt2", "iptxt3", "iptxt4", "urltxt"})
      EXPECT_EQ(find(name)->isEnabled(), enabled.count(name) == 1) << name;
    for (const char* name : {"txtNumber", "hops", "timeout", "chkgethostnames", "chknetstatall", "txtOutPut",
                             "pingopt", "ipopt", "urlopt", "netstatopt"})
      EXPECT_TRUE(find(name)->isEnabled()) << name;
    EXPECT_EQ(text("iptxt1"), "10");  // what was typed stays
  }
}

TEST_F(WindowTest, AnEmptyHostOrDomainOnlyComplains) {
  QSignalSpy started(window.get(), &IpToolsWindow::toolStarted);
  box("txtIP")->clear();
  button("cmdPing")->click();
  EXPECT_EQ(takeBoxTexts(), Strings{"Please enter IP or Domain name to ping"});
  EXPECT_EQ(status(), " Error...");
  EXPECT_EQ(counter(), "0");
  button("urlopt")->click();
  for (const char* typed : {"www.", ""}) {
    type("urltxt", typed);
    button("tracmd")->click();
    EXPECT_EQ(takeBoxTexts(), Strings{"You must enter a Domain Address to trace"}) << typed;
  }
  EXPECT_EQ(started.count(), 0);
}

TEST_F(WindowTest, TheLastResultViewsShowThePlaceholdersAfterALoadOrSayWhatIsMissing) {
  const std::string recovery =
      "No last trace route to show, due to file being moved or deleted. Your next trace route will be "
      "monitored.";
  folder.write("ping.txt", "output of a ping");
  open();  // every load writes the placeholders again
  EXPECT_EQ(status(), " Ready...");
  const auto check = [&](const Texts& views) {
    for (const auto& [item, shown] : views) {
      trigger(item);
      EXPECT_EQ(output(), shown) << item;
      EXPECT_EQ(status(), " Done...") << item;
    }
  };
  check({{"mnulastping", "No ping has been done yet"},
         {"mnulasttrace", "No trace route has been done yet"},
         {"mnunetstat", "No net status has been done yet"}});
  for (const char* file : {"ping.txt", "traceroute.txt", "netstat.txt"})
    std::filesystem::remove(folder / file);
  check({{"mnulastping", "No result to show: ping.txt is missing from the program's folder."},
         {"mnulasttrace", recovery},
         {"mnunetstat", "No result to show: netstat.txt is missing from the program's folder."}});
  EXPECT_EQ(folder.read("traceroute.txt"), recovery);
}

TEST_F(WindowTest, ClearAllAsksThenResetsTheInputsButKeepsTheModeAndTheFiles) {
  const Texts defaults{{"txtIP", ""},  {"txtNumber", "4"}, {"iptxt1", ""}, {"iptxt2", ""},     {"iptxt3", ""},
                       {"iptxt4", ""}, {"urltxt", "www."}, {"hops", "30"}, {"timeout", "3000"}};
  folder.write("ping.txt", "an earlier ping");
  button("ipopt")->click();
  for (const auto& [name, value] : defaults) type(name, "9");
  for (const char* tick : {"chkgethostnames", "chknetstatall"}) button(tick)->setChecked(true);
  find<QLabel>("amountping")->setText(QStringLiteral("7"));
  find<QPlainTextEdit>("txtOutPut")->setPlainText(QStringLiteral("old output"));

  boxes.answers = {BoxAnswer::No};
  trigger("mnuclearall");
  EXPECT_EQ(boxes.shown.at(0),
            (BoxRequest{"This will clear output window, input areas, tic boxes and reset all "
                        "number boxes to default settings",
                        "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(text("hops"), "9");
  EXPECT_EQ(output(), "old output");

  boxes.answers = {BoxAnswer::Yes};
  trigger("mnuclearall");
  EXPECT_EQ(status(), " All Cleared");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(output(), "");
  for (const auto& [name, value] : defaults) EXPECT_EQ(text(name), value) << name;
  for (const char* tick : {"chkgethostnames", "chknetstatall"}) EXPECT_FALSE(button(tick)->isChecked());
  EXPECT_TRUE(button("ipopt")->isChecked());
  EXPECT_TRUE(box("iptxt1")->isEnabled());
  trigger("mnulastping");
  EXPECT_EQ(output(), "an earlier ping");
}

bool processIsGone(qint64 pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

TEST_F(WindowTest, PingShowsItsWholeResultAndCountsEachRun) {
  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(run("cmdPing"));
  const std::string result = echoed({"-c", "4", "--", "127.0.0.1"});  // standard error included
  EXPECT_EQ(folder.read("ping.txt"), result);
  EXPECT_EQ(output(), result);
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(counter(), "1");
  type("txtIP", "   ");  // only spaces is not empty
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(counter(), "2");
  EXPECT_EQ(folder.read("ping.txt"), echoed({"-c", "4", "--", "   "}));  // only the last run
}

TEST_F(WindowTest, ARunningToolShowsItsOutputLiveAndEndsOnStopEscOrClose) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways{
      // A queued click: the run ends only if the event loop goes on meanwhile.
      {"Stop",
       [&] {
         letADoubleClickPass();
         QMetaObject::invokeMethod(button("cmdPing"), "click", Qt::QueuedConnection);
       }},
      {"Esc", [&] { QTest::keyClick(box("txtNumber"), Qt::Key_Escape); }},
      {"close", [&] { window->close(); }},
      {"destroy", [&] { window.reset(); }}};
  for (const auto& [way, end] : ways) {
    SCOPED_TRACE(way);
    standIn = QStringLiteral(LUMENO_STAND_IN_BLOCKS);
    open();
    window->show();
    QSignalSpy shown(window.get(), &IpToolsWindow::toolOutputShown);
    button("cmdPing")->click();
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_EQ(output(), "started\n");
    EXPECT_EQ(button("cmdPing")->text().toStdString(), "Stop");
    EXPECT_EQ(status(), " Working...");
    button("netstatopt")->click();
    EXPECT_FALSE(button("netstatbutton")->isEnabled());  // no second tool meanwhile
    const qint64 pid = window->toolProcessId();
    ASSERT_FALSE(processIsGone(pid));

    QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
    end();
    ASSERT_TRUE(!window || !window->isToolRunning() || finished.wait(60000));
    EXPECT_TRUE(processIsGone(pid));
    EXPECT_TRUE(!window || button("netstatbutton")->isEnabled());  // the mode chosen meanwhile applies
  }
}

TEST_F(WindowTest, TraceAndNetstatRunWithTheirBoxesAndTicks) {
  button("ipopt")->click();
  typeOctets({"192", "168", "1", "1"});
  button("chkgethostnames")->setChecked(true);
  type("hops", "15");
  type("timeout", "500");
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(folder.read("traceroute.txt"), echoed({"-m", "15", "-w", "0.5", "--", "192.168.1.1"}));
  EXPECT_EQ(status(), "Class C Address");
  EXPECT_TRUE(takeBoxTexts().empty());
  type("iptxt3", "");  // the trace still runs, without a target
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(takeBoxTexts(), Strings{"Error, Wrong input."});
  EXPECT_EQ(output(), echoed({"-m", "15", "-w", "0.5", "--"}));

  button("netstatopt")->click();
  button("chknetstatall")->setChecked(true);
  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  button("netstatbutton")->click();
  EXPECT_EQ(status(), "Working...");
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(status(), "Done...");
  EXPECT_EQ(output(), echoed({"-t", "-u", "-n", "-a"}));
}

// Shell metacharacters, command substitutions, quotes, new lines, options and very long texts in
// every box: each reaches the tool as exactly one argument, and nothing else runs or is written.
TEST_F(WindowTest, HostileTextsInEveryBoxStayOneArgumentEach) {
  // clang-format off
  std::vector<std::string> hostile{"; touch pwned", "$(touch pwned)", "`touch pwned`", "| tee pwned",
      "&& touch pwned", "> pwned", "<pwned", "a\nb > pwned", "\"x\" 'y'", "-f", "--help", "-w 1000000", "*",
      "${HOME}", "&", "$(", "-", "--"};
  // clang-format on
  hostile.emplace_back(5000, 'A');
  for (const std::string& typed : hostile) {
    SCOPED_TRACE(typed.substr(0, 30));
    button("pingopt")->click();
    for (const char* name : {"txtIP", "txtNumber"}) type(name, typed.c_str());
    ASSERT_TRUE(run("cmdPing"));
    EXPECT_EQ(folder.read("ping.txt"), echoed({"-c", text("txtNumber"), "--", text("txtIP")}));

    button("urlopt")->click();
    for (const char* name : {"urltxt", "hops", "timeout"}) type(name, typed.c_str());
    ASSERT_TRUE(run("tracmd"));
    EXPECT_EQ(folder.read("traceroute.txt"),
              echoed({"-n", "-m", text("hops"), "-w", text("timeout"), "--", text("urltxt")}));

    button("ipopt")->click();
    typeOctets({typed.c_str(), typed.c_str(), typed.c_str(), typed.c_str()});
    ASSERT_TRUE(run("tracmd"));
    EXPECT_EQ(takeBoxTexts(), Strings{"Error, Wrong input."});
    EXPECT_EQ(folder.read("traceroute.txt"), echoed({"-n", "-m", text("hops"), "-w", text("timeout"), "--"}));
  }
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    files.insert(entry.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
}

}  // namespace
}  // namespace lumeno::iptools::test
