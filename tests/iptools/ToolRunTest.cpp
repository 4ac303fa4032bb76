// Runs of the tools through the window, with stand-in programs in place of ping, traceroute and
// netstat.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>
#include <vector>

#include "IpToolsFixture.h"

namespace lumeno::iptools::test {
namespace {

const QString kEcho = QStringLiteral(LUMENO_STAND_IN_ECHO);
const QString kBlock = QStringLiteral(LUMENO_STAND_IN_BLOCK);

bool processIsGone(qint64 pid) {
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

// What the echoing stand-in writes for these arguments, run in `folder`.
std::string echoed(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
  std::string text;
  for (const std::string& argument : arguments) text += "[" + argument + "]\n";
  return text + "cwd: " + folder.string() + "\n";
}

class ToolRunTest : public IpToolsFixture {
 protected:
  void SetUp() override {
    IpToolsFixture::SetUp();
    useStandIn(kEcho);
  }
  // Every tool the window asks for is the stand-in; `lookedUp` records the names asked for.
  void useStandIn(const QString& program) {
    window->setProgramFinder([this, program](const QString& name) {
      lookedUp.push_back(name.toStdString());
      return program;
    });
  }
  std::set<std::string> filesInFolder() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      names.insert(entry.path().filename().string());
    return names;
  }
  // Starts the blocking stand-in as a ping and waits until its first line is in the output box.
  [[nodiscard]] ::testing::AssertionResult startBlockingPing() {
    useStandIn(kBlock);
    QSignalSpy shown(window.get(), &IpToolsWindow::toolOutputShown);
    button("cmdPing")->click();
    if (shown.isEmpty() && !shown.wait(60000)) return ::testing::AssertionFailure() << "no output arrived";
    return ::testing::AssertionSuccess();
  }

  std::vector<std::string> lookedUp;
};

TEST_F(ToolRunTest, PingRunsTheToolInTheProgramFolderAndShowsTheWholeResult) {
  box("txtIP")->setText(QStringLiteral("127.0.0.1"));
  ASSERT_TRUE(run("cmdPing"));

  const std::string expected = echoed({"-c", "4", "--", "127.0.0.1"}, folder.path());
  EXPECT_EQ(folder.read("ping.txt"), expected);  // standard error included
  EXPECT_EQ(output(), expected);
  auto* out = find<QPlainTextEdit>("txtOutPut");
  EXPECT_EQ(out->textCursor().position(), out->document()->characterCount() - 1);
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(counter(), "1");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(button("cmdPing")->text().toStdString(), "Ping");
  EXPECT_TRUE(boxes.shown.empty());

  // The stored view shows the same text and leaves the counter alone.
  out->clear();
  trigger("mnulastping");
  EXPECT_EQ(output(), expected);
  EXPECT_EQ(counter(), "1");
}

TEST_F(ToolRunTest, EveryPingCountsAndTheFileHoldsOnlyTheLast) {
  box("txtIP")->setText(QStringLiteral("a"));
  ASSERT_TRUE(run("cmdPing"));
  box("txtIP")->setText(QStringLiteral("b"));
  ASSERT_TRUE(run("cmdPing"));
  box("txtIP")->setText(QStringLiteral("   "));  // only spaces: not empty, so it runs
  box("txtNumber")->setText(QStringLiteral("x"));
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(counter(), "3");
  EXPECT_EQ(folder.read("ping.txt"), echoed({"-c", "x", "--", "   "}, folder.path()));
}

TEST_F(ToolRunTest, WhileAToolRunsItsButtonReadsStopAndNothingElseStarts) {
  ASSERT_TRUE(startBlockingPing());
  EXPECT_TRUE(window->isToolRunning());
  EXPECT_EQ(button("cmdPing")->text().toStdString(), "Stop");
  EXPECT_TRUE(button("cmdPing")->isEnabled());
  EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(status(), " Working...");
  for (const char* item : {"mnulastping", "mnulasttrace", "mnunetstat", "mnuclearall"}) {
    EXPECT_FALSE(window->findChild<QAction*>(QString::fromLatin1(item))->isEnabled()) << item;
  }
  // Changing the mode meanwhile offers no other tool.
  button("netstatopt")->click();
  EXPECT_FALSE(button("netstatbutton")->isEnabled());
  EXPECT_TRUE(button("cmdPing")->isEnabled());

  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  button("cmdPing")->click();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_TRUE(button("netstatbutton")->isEnabled());  // the mode chosen meanwhile now applies
  EXPECT_FALSE(button("cmdPing")->isEnabled());
  EXPECT_EQ(button("cmdPing")->text().toStdString(), "Ping");
}

TEST_F(ToolRunTest, OutputShowsLiveAndStopEndsTheTool) {
  ASSERT_TRUE(startBlockingPing());
  EXPECT_EQ(output(), "started\n");  // there while the tool still runs
  const qint64 pid = window->toolProcessId();
  ASSERT_GT(pid, 0);
  EXPECT_FALSE(processIsGone(pid));

  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  button("cmdPing")->click();  // "Stop"
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_TRUE(processIsGone(pid));
  EXPECT_FALSE(window->isToolRunning());
  EXPECT_EQ(output(), "started\n");
  EXPECT_EQ(folder.read("ping.txt"), "started\n");
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(counter(), "1");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ToolRunTest, EscapeStopsTheTool) {
  ASSERT_TRUE(startBlockingPing());
  const qint64 pid = window->toolProcessId();
  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  QTest::keyClick(box("txtNumber"), Qt::Key_Escape);
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_TRUE(processIsGone(pid));
}

TEST_F(ToolRunTest, TheEventLoopGoesOnWhileAToolRuns) {
  useStandIn(kBlock);
  bool ranDuringTheTool = false;
  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  QTimer soon;
  soon.setSingleShot(true);
  QObject::connect(&soon, &QTimer::timeout, [&] {
    ranDuringTheTool = window->isToolRunning();
    window->stopTool();
  });
  button("cmdPing")->click();
  soon.start(0);
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_TRUE(ranDuringTheTool);
}

TEST_F(ToolRunTest, ClosingOrDestroyingTheWindowLeavesNoToolBehind) {
  window->show();
  ASSERT_TRUE(startBlockingPing());
  const qint64 first = window->toolProcessId();
  window->close();
  EXPECT_TRUE(processIsGone(first));
  EXPECT_FALSE(window->isToolRunning());
  EXPECT_EQ(button("cmdPing")->text().toStdString(), "Ping");

  ASSERT_TRUE(startBlockingPing());
  const qint64 second = window->toolProcessId();
  window.reset();
  EXPECT_TRUE(processIsGone(second));
}

TEST_F(ToolRunTest, ADeleteOnCloseWindowEndsItsToolWhenClosed) {
  auto* shared = new IpToolsWindow(context());
  shared->setAttribute(Qt::WA_DeleteOnClose);
  shared->setProgramFinder([](const QString&) { return kBlock; });
  QPointer<IpToolsWindow> alive(shared);
  QSignalSpy shown(shared, &IpToolsWindow::toolOutputShown);
  shared->show();
  shared->findChild<QPushButton*>(QStringLiteral("cmdPing"))->click();
  ASSERT_TRUE(shown.wait(60000));
  const qint64 pid = shared->toolProcessId();
  shared->close();
  EXPECT_TRUE(processIsGone(pid));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

TEST_F(ToolRunTest, TraceToATypedAddress) {
  button("ipopt")->click();
  box("iptxt1")->setText(QStringLiteral("192"));
  box("iptxt2")->setText(QStringLiteral("168"));
  box("iptxt3")->setText(QStringLiteral("1"));
  box("iptxt4")->setText(QStringLiteral("1"));
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(output(), echoed({"-n", "-m", "30", "-w", "3", "--", "192.168.1.1"}, folder.path()));
  EXPECT_EQ(folder.read("traceroute.txt"), output());
  EXPECT_EQ(status(), "Class C Address");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

  button("chkgethostnames")->setChecked(true);
  box("hops")->setText(QStringLiteral("15"));
  box("timeout")->setText(QStringLiteral("500"));
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(output(), echoed({"-m", "15", "-w", "0.5", "--", "192.168.1.1"}, folder.path()));
}

TEST_F(ToolRunTest, ABadOctetStillTracesButWithoutATarget) {
  button("ipopt")->click();
  box("iptxt1")->setText(QStringLiteral("10"));
  box("iptxt2")->setText(QStringLiteral("0"));
  box("iptxt4")->setText(QStringLiteral("1"));
  ASSERT_TRUE(run("tracmd"));
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0].text, "Error, Wrong input.");
  EXPECT_EQ(output(), echoed({"-n", "-m", "30", "-w", "3", "--"}, folder.path()));
  EXPECT_EQ(status(), " Ready...");
}

TEST_F(ToolRunTest, TraceToADomainTakesItAsTyped) {
  button("urlopt")->click();
  box("urltxt")->setText(QStringLiteral("WWW."));
  find<QLabel>("classlbl")->setText(QStringLiteral("as it was"));
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(output(), echoed({"-n", "-m", "30", "-w", "3", "--", "WWW."}, folder.path()));
  EXPECT_EQ(status(), "as it was");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ToolRunTest, NetstatGoesFromWorkingToDoneWithoutALeadingSpace) {
  button("netstatopt")->click();
  QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
  button("netstatbutton")->click();
  EXPECT_EQ(status(), "Working...");
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(status(), "Done...");
  EXPECT_EQ(output(), echoed({"-t", "-u", "-n"}, folder.path()));
  EXPECT_EQ(folder.read("netstat.txt"), output());

  button("chknetstatall")->setChecked(true);
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_EQ(output(), echoed({"-t", "-u", "-n", "-a"}, folder.path()));
}

TEST_F(ToolRunTest, NetstatFallsBackToSsAndAMissingToolIsNamedWithItsPackage) {
  window->setProgramFinder(
      [](const QString& name) { return name == QLatin1String("ss") ? kEcho : QString(); });
  button("netstatopt")->click();
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_EQ(output(), echoed({"-t", "-u", "-n"}, folder.path()));

  window->setProgramFinder([](const QString&) { return QString(); });
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_EQ(output(), "netstat is not installed (Debian package: net-tools)\n");
  button("pingopt")->click();
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(folder.read("ping.txt"), "ping is not installed (Debian package: iputils-ping)\n");
  EXPECT_EQ(output(), folder.read("ping.txt"));
  EXPECT_EQ(status(), " Done...");
  button("urlopt")->click();
  box("urltxt")->setText(QStringLiteral("example.org"));
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(output(), "traceroute is not installed (Debian package: traceroute)\n");
}

TEST_F(ToolRunTest, AToolThatCannotStartIsSaidInTheResult) {
  folder.write("not-a-program", "plain text");
  std::filesystem::permissions(folder / "not-a-program", std::filesystem::perms::owner_read);
  const QString path = QString::fromStdString((folder / "not-a-program").string());
  window->setProgramFinder([path](const QString&) -> const QString& { return path; });
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output().rfind("ping could not be started: ", 0), 0U) << output();
  EXPECT_EQ(folder.read("ping.txt"), output());
  EXPECT_EQ(status(), " Done...");
}

TEST_F(ToolRunTest, AResultFileThatCannotBeWrittenRunsNothing) {
  std::filesystem::remove(folder / "ping.txt");
  std::filesystem::create_directory(folder / "ping.txt");
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_TRUE(lookedUp.empty());
  EXPECT_EQ(output(),
            "The result file ping.txt cannot be written in the program's folder, so the tool was not run.");
  EXPECT_EQ(status(), " Done...");
}

// Shell metacharacters, command substitutions, quotes, new lines, options and very long texts in
// every box: each reaches the tool as exactly one argument, and nothing else runs or is written.
TEST_F(ToolRunTest, HostileTextsInEveryBoxStayOneArgumentEach) {
  const std::vector<QString> hostile{QStringLiteral("; touch pwned"),
                                     QStringLiteral("$(touch pwned)"),
                                     QStringLiteral("`touch pwned`"),
                                     QStringLiteral("| tee pwned"),
                                     QStringLiteral("&& touch pwned"),
                                     QStringLiteral("> pwned"),
                                     QStringLiteral("<pwned"),
                                     QStringLiteral("a\nb > pwned"),
                                     QStringLiteral("\"x\" 'y'"),
                                     QStringLiteral("-f"),
                                     QStringLiteral("--help"),
                                     QStringLiteral("-w 1000000"),
                                     QStringLiteral("*"),
                                     QStringLiteral("${HOME}"),
                                     QString(5000, QLatin1Char('A')),
                                     QStringLiteral("&"),
                                     QStringLiteral(">"),
                                     QStringLiteral("|"),
                                     QStringLiteral("$("),
                                     QStringLiteral("-"),
                                     QStringLiteral("--")};
  const auto text = [&](const char* name) { return box(name)->text().toStdString(); };

  for (const QString& typed : hostile) {
    SCOPED_TRACE(typed.left(30).toStdString());
    button("pingopt")->click();
    for (const char* name : {"txtIP", "txtNumber"}) box(name)->setText(typed);
    ASSERT_TRUE(run("cmdPing"));
    EXPECT_EQ(folder.read("ping.txt"), echoed({"-c", text("txtNumber"), "--", text("txtIP")}, folder.path()));

    button("urlopt")->click();
    for (const char* name : {"urltxt", "hops", "timeout"}) box(name)->setText(typed);
    ASSERT_TRUE(run("tracmd"));
    EXPECT_EQ(folder.read("traceroute.txt"),
              echoed({"-n", "-m", text("hops"), "-w", text("timeout"), "--", text("urltxt")}, folder.path()));

    button("ipopt")->click();
    for (const char* name : {"iptxt1", "iptxt2", "iptxt3", "iptxt4"}) box(name)->setText(typed);
    boxes.shown.clear();
    ASSERT_TRUE(run("tracmd"));
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Error, Wrong input.");
    EXPECT_EQ(folder.read("traceroute.txt"),
              echoed({"-n", "-m", text("hops"), "-w", text("timeout"), "--"}, folder.path()));
  }
  EXPECT_EQ(filesInFolder(), (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
}

}  // namespace
}  // namespace lumeno::iptools::test
