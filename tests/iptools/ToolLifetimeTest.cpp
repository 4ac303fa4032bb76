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

#include "PrivateXServer.h"
#include "ProcessWatch.h"
#include "TempFolder.h"

namespace lumeno::iptools::test {
namespace {

constexpr int kBar = 3000;  // a tool must be gone this many milliseconds after its program was told

// The tool host running the never-ending stand-in as its ping.
class HostedTool {
 public:
  HostedTool(const lumeno::test::TempFolder& folder, const QProcessEnvironment& environment) {
    host_.setProcessEnvironment(environment);
    host_.setProgram(QStringLiteral(LUMENO_TOOL_HOST));
    host_.setArguments(
        {QString::fromStdString(folder.path().string()), QStringLiteral(LUMENO_STAND_IN_STUBBORN)});
    host_.start();
    if (!host_.waitForStarted(60000)) return;
    while (!host_.canReadLine() && host_.waitForReadyRead(60000)) {
    }
    toolPid_ = host_.readLine().trimmed().toLongLong();
  }
  HostedTool(const HostedTool&) = delete;
  HostedTool& operator=(const HostedTool&) = delete;
  ~HostedTool() {
    if (host_.state() != QProcess::NotRunning) {
      host_.kill();
      host_.waitForFinished(60000);
    }
    if (toolPid_ > 0 && !processIsGone(toolPid_)) ::kill(static_cast<pid_t>(toolPid_), SIGKILL);
  }

  [[nodiscard]] qint64 toolPid() const { return toolPid_; }
  void signalHost(int signal) { ::kill(static_cast<pid_t>(host_.processId()), signal); }
  QProcess& host() { return host_; }
  bool hostEndsWithin(int milliseconds) {
    return host_.state() == QProcess::NotRunning || host_.waitForFinished(milliseconds);
  }

 private:
  QProcess host_;
  qint64 toolPid_ = 0;
};

QProcessEnvironment offscreen() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return environment;
}

std::set<std::string> filesIn(const lumeno::test::TempFolder& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    files.insert(entry.path().filename().string());
  return files;
}

// A quit signal ends the program normally; after SIGKILL the kernel has to end the tool.
TEST(ToolLifetime, TheToolEndsWithItsProgramWhateverSignalEndsIt) {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGKILL}) {
    SCOPED_TRACE(signal);
    const lumeno::test::TempFolder folder;
    HostedTool hosted(folder, offscreen());
    ASSERT_GT(hosted.toolPid(), 0);
    ASSERT_FALSE(processIsGone(hosted.toolPid()));
    hosted.signalHost(signal);
    EXPECT_TRUE(processGoesWithin(hosted.toolPid(), kBar));
    ASSERT_TRUE(hosted.hostEndsWithin(kBar));
    if (signal == SIGKILL) continue;
    EXPECT_EQ(hosted.host().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(hosted.host().exitCode(), 0);
    // A normal quit writes nothing of its own; the tool's output is all ping.txt got.
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
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
  ASSERT_GT(hosted.toolPid(), 0) << hosted.host().readAllStandardError().toStdString();
  server.stop();  // a log-out
  EXPECT_TRUE(processGoesWithin(hosted.toolPid(), kBar));
  EXPECT_TRUE(hosted.hostEndsWithin(kBar));
}

}  // namespace
}  // namespace lumeno::iptools::test
