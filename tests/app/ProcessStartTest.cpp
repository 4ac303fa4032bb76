// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, started as a new user would: its own folder, its own runtime folder.
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PrivateXServer.h"
#include "TempFolder.h"

namespace lumeno::test {
namespace {

class ProcessStart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(LUMENO_BINARY, program / "lumeno");
    program.write("Lumeno.ini", "[Options]\r\nuselog=1\r\n");
  }

  // Blocks until the log holds its first line (the program writes it once it has started),
  // woken by every change of the program's folder or of the log.
  bool waitForLog() {
    QFileSystemWatcher watcher({QString::fromStdString(program.path().string())});
    for (int round = 0; round < 100; ++round) {
      const std::string log = program.read("log.txt");
      if (log != "<missing>") {
        if (log.find('\n') != std::string::npos) return true;
        watcher.addPath(QString::fromStdString((program / "log.txt").string()));
      }
      QEventLoop loop;
      QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
      QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, &QEventLoop::quit);
      QTimer::singleShot(300, &loop, &QEventLoop::quit);  // a missed notification only costs a round
      loop.exec();
    }
    return false;
  }

  TempFolder program;
  TempFolder runtime;
};

// Processes still running that were started with this XDG_RUNTIME_DIR: the program's own and
// whatever it left behind, each as "pid command".
std::vector<std::string> processesStartedWith(const std::string& runtimeFolder) {
  std::vector<std::string> found;
  const std::string marker = "XDG_RUNTIME_DIR=" + runtimeFolder;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    auto name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream environ(entry.path() / "environ", std::ios::binary);
    bool ours = false;
    for (std::string variable; std::getline(environ, variable, '\0');) ours = ours || variable == marker;
    if (!ours) continue;
    std::ifstream commandLine(entry.path() / "cmdline", std::ios::binary);
    std::string command;
    std::getline(commandLine, command, '\0');
    found.push_back(name.append(" ").append(command));
  }
  return found;
}

// On a display without a session bus where Xvfb is installed: building its menu bar (before its
// log line) is where the desktop libraries first ask for the bus, and must start none. What a copy
// killed outright leaves behind is the instance lock's case.
TEST_F(ProcessStart, WithoutASessionBusNothingOutlivesTheProgram) {
  const PrivateXServer x;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
  if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  } else {
    ASSERT_FALSE(x.display().isEmpty()) << "Xvfb did not start";
    environment.insert(QStringLiteral("DISPLAY"), x.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  }
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),  // 0700, as Qt wants
                     QString::fromStdString(runtime.path().string()));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                     QString::fromStdString((runtime / "config").string()));
  QProcess lumeno;
  lumeno.setProcessEnvironment(environment);
  lumeno.setWorkingDirectory(QString::fromStdString(runtime.path().string()));
  lumeno.start(QString::fromStdString((program / "lumeno").string()), {});
  ASSERT_TRUE(lumeno.waitForStarted(10000));
  ASSERT_TRUE(waitForLog()) << program.read("log.txt");
  EXPECT_EQ(lumeno.state(), QProcess::Running);
  lumeno.kill();
  ASSERT_TRUE(lumeno.waitForFinished(10000));
  EXPECT_EQ(program.read("log.txt").rfind("[Lumeno Loaded] , Date : ", 0), 0U);

  const auto left = processesStartedWith(runtime.path().string());
  for (const auto& process : left) ::kill(std::stoi(process), SIGKILL);  // leave the machine clean
  EXPECT_TRUE(left.empty()) << "still running after the program ended: " << ::testing::PrintToString(left);
}

}  // namespace
}  // namespace lumeno::test
