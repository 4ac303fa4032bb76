// The real program, started as a new user would: its own folder, its own runtime folder.
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"

namespace lumeno::test {
namespace {

const std::string kIniWithLog = "[Options]\r\nuselog=1\r\n";

class ProcessStart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(LUMENO_BINARY, program / "lumeno");
    program.write("Lumeno.ini", kIniWithLog);
  }

  void start(QProcess& process) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), lockFolder());  // 0700, as Qt wants
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString((runtime / "config").string()));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(runtime.path().string()));
    process.start(QString::fromStdString((program / "lumeno").string()), {});
    ASSERT_TRUE(process.waitForStarted(10000));
  }

  // Blocks until the log holds `lines` lines (the program writes it once it has started),
  // woken by every change of the program's folder or of the log.
  bool waitForLogLines(long lines) {
    QFileSystemWatcher watcher({QString::fromStdString(program.path().string())});
    for (int round = 0; round < 100; ++round) {
      const std::string log = program.read("log.txt");
      if (log != "<missing>") {
        if (std::count(log.begin(), log.end(), '\n') >= lines) return true;
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

  [[nodiscard]] QString lockFolder() const { return QString::fromStdString(runtime.path().string()); }

  TempFolder program;
  TempFolder runtime;
};

TEST_F(ProcessStart, ASecondCopyEndsAtOnceAndSilently) {
  QLockFile running(lockFolder() + QStringLiteral("/lumeno.lock"));
  ASSERT_TRUE(running.tryLock(0));
  QProcess second;
  start(second);
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(program.read("log.txt"), "<missing>");
}

TEST_F(ProcessStart, ALockFileWithoutALiveOwnerNeverStopsAStart) {
  QProcess ended;  // a process that has come and gone: its id names no live owner
  ended.start(QStringLiteral("true"), {});
  ASSERT_TRUE(ended.waitForStarted(10000));
  const qint64 gone = ended.processId();
  ASSERT_TRUE(ended.waitForFinished(10000));
  const std::vector<std::pair<std::string, std::string>> leftovers = {
      {"empty", ""},
      {"garbage", std::string("\xff\xfe\0\n#!", 6)},
      {"owner gone", std::to_string(gone) + "\nlumeno\n" + QSysInfo::machineHostName().toStdString() + "\n"},
  };
  long lines = 0;
  for (const auto& [what, bytes] : leftovers) {
    runtime.write("lumeno.lock", bytes);
    QProcess next;
    start(next);
    ASSERT_TRUE(waitForLogLines(++lines)) << what << ": " << program.read("log.txt");
    EXPECT_EQ(next.state(), QProcess::Running) << what;
    next.kill();
    next.waitForFinished(10000);
  }
}

TEST_F(ProcessStart, ACopyKilledWithSigkillNeverBlocksTheNextStart) {
  QProcess first;
  start(first);
  ASSERT_TRUE(waitForLogLines(1));
  first.kill();
  ASSERT_TRUE(first.waitForFinished(10000));

  QProcess next;
  start(next);
  ASSERT_TRUE(waitForLogLines(2)) << program.read("log.txt");
  EXPECT_EQ(next.state(), QProcess::Running);
  next.kill();
  next.waitForFinished(10000);
  EXPECT_NE(program.read("log.txt").find("\r\n[Lumeno Loaded] , Date : "), std::string::npos);
}

}  // namespace
}  // namespace lumeno::test
