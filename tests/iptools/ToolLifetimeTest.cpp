// SPDX-License-Identifier: GPL-3.0-or-later
// A running tool never outlives the program: not after a quit signal, not after a kill, and not
// when the X server goes away.
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "PrivateXServer.h"
#include "ProcessWatch.h"
#include "TempFolder.h"

namespace lumeno::iptools::test {
namespace {

constexpr int kBar = 3000;  // a tool must be gone this many milliseconds after its program was told

// The tool host running the never-ending stand-in as its ping.
struct HostedTool {
  HostedTool(const lumeno::test::TempFolder& folder, const QProcessEnvironment& environment) {
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(LUMENO_TOOL_HOST),
               {QString::fromStdString(folder.path().string()), QStringLiteral(LUMENO_STAND_IN_STUBBORN)});
    if (!host.waitForStarted(60000)) return;
    while (!host.canReadLine() && host.waitForReadyRead(60000)) {
    }
    toolPid = host.readLine().trimmed().toLongLong();
  }
  HostedTool(const HostedTool&) = delete;
  HostedTool& operator=(const HostedTool&) = delete;
  ~HostedTool() {
    if (host.state() != QProcess::NotRunning) {
      host.kill();
      host.waitForFinished(60000);
    }
    if (toolPid > 0 && !processIsGone(toolPid)) ::kill(static_cast<pid_t>(toolPid), SIGKILL);
  }
  bool hostEndsWithin(int milliseconds) {
    return host.state() == QProcess::NotRunning || host.waitForFinished(milliseconds);
  }

  QProcess host;
  qint64 toolPid = 0;
};

// A quit signal ends the program normally; after SIGKILL the kernel has to end the tool.
TEST(ToolLifetime, TheToolEndsWithItsProgramWhateverSignalEndsIt) {
  QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGKILL}) {
    SCOPED_TRACE(signal);
    const lumeno::test::TempFolder folder;
    HostedTool hosted(folder, offscreen);
    ASSERT_GT(hosted.toolPid, 0);
    ASSERT_FALSE(processIsGone(hosted.toolPid));
    ::kill(static_cast<pid_t>(hosted.host.processId()), signal);
    EXPECT_TRUE(processGoesWithin(hosted.toolPid, kBar));
    ASSERT_TRUE(hosted.hostEndsWithin(kBar));
    if (signal == SIGKILL) continue;
    EXPECT_EQ(std::tuple(hosted.host.exitStatus(), hosted.host.exitCode()),
              std::tuple(QProcess::NormalExit, 0));
    // A normal quit writes nothing of its own; the tool's output is all ping.txt got.
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
    EXPECT_EQ(folder.read("ping.txt"), "started\n");
  }
}

TEST(ToolLifetime, TheToolEndsWhenTheXServerGoesAway) {
  lumeno::test::PrivateXServer server;
  if (server.display().isEmpty()) GTEST_SKIP() << "no Xvfb could be started here";
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("DISPLAY"), server.display());
  const lumeno::test::TempFolder folder;
  HostedTool hosted(folder, environment);
  ASSERT_GT(hosted.toolPid, 0) << hosted.host.readAllStandardError().toStdString();
  server.stop();  // a log-out
  EXPECT_TRUE(processGoesWithin(hosted.toolPid, kBar));
  EXPECT_TRUE(hosted.hostEndsWithin(kBar));
}

}  // namespace
}  // namespace lumeno::iptools::test
