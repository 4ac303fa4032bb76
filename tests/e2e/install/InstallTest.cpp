// SPDX-License-Identifier: GPL-3.0-or-later
// An installed copy, as a user meets it: `cmake --install` into a temporary prefix, the program
// started from there under Xvfb with a window manager, as a user whose home is a temporary folder.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QThread>

#include "TempFolder.h"

namespace lumeno::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Checks `condition` until it holds or the deadline passes.
bool pollUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    QThread::msleep(50);
  }
}

struct Output {
  int code = -1;
  QString text;
};

Output run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAll())};
}

// Every file under the folder with its size and modification time.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat st {};
    ::lstat(entry.path().c_str(), &st);
    files[entry.path().string()] = std::to_string(st.st_size) + "/" + std::to_string(st.st_mtim.tv_sec) +
                                   "." + std::to_string(st.st_mtim.tv_nsec) + "/" +
                                   std::to_string(st.st_mode);
  }
  return files;
}

std::string readText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

// A private X server (the first free display, as Xvfb reports it) with openbox on it.
class Desktop {
 public:
  explicit Desktop(const fs::path& home) {
    xvfb_.setProcessChannelMode(QProcess::SeparateChannels);
    xvfb_.start(
        QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
         QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray reported;
    pollUntil(
        [&] {
          xvfb_.waitForReadyRead(50);
          reported += xvfb_.readAllStandardOutput();
          return reported.contains('\n') || xvfb_.state() == QProcess::NotRunning;
        },
        20s);
    display_ = QStringLiteral(":") + QString::fromLatin1(reported.trimmed());
    if (reported.trimmed().isEmpty()) return;

    environment_.insert(QStringLiteral("PATH"),
                        QProcessEnvironment::systemEnvironment().value(QStringLiteral("PATH")));
    environment_.insert(QStringLiteral("HOME"), QString::fromStdString(home.string()));
    environment_.insert(QStringLiteral("DISPLAY"), display_);
    windowManager_.setProcessEnvironment(environment_);
    windowManager_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    ready_ = pollUntil(
        [&] {
          return run(QStringLiteral("xprop"),
                     {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, environment_)
              .text.contains(QStringLiteral("window id"));
        },
        20s);
  }
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;
  ~Desktop() {
    for (QProcess* process : {&windowManager_, &xvfb_}) {
      if (process->state() == QProcess::NotRunning) continue;
      process->terminate();
      if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished();
      }
    }
  }
  [[nodiscard]] bool ready() const { return ready_; }
  [[nodiscard]] const QProcessEnvironment& environment() const { return environment_; }

  Output xdotool(const QStringList& arguments) const {
    return run(QStringLiteral("xdotool"), arguments, environment_);
  }
  // The visible windows titled exactly "Lumeno".
  [[nodiscard]] QStringList lumenoWindows() const {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QStringLiteral("^Lumeno$")})
        .text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

 private:
  QProcess xvfb_;
  QProcess windowManager_;
  QString display_;
  QProcessEnvironment environment_;
  bool ready_ = false;
};

class InstalledCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home());
    fs::create_directories(runtime());
    fs::permissions(runtime(), fs::perms::owner_all);
    const Output install = run(QStringLiteral(LUMENO_CMAKE),
                               {QStringLiteral("--install"), QStringLiteral(LUMENO_BUILD_DIR),
                                QStringLiteral("--prefix"), QString::fromStdString(prefix().string())},
                               QProcessEnvironment::systemEnvironment());
    ASSERT_EQ(install.code, 0) << install.text.toStdString();
    desktop_ = std::make_unique<Desktop>(root_ / "desktop-home");
    ASSERT_TRUE(desktop_->ready()) << "no X server with a window manager";
  }
  void TearDown() override {
    if (program_ && program_->state() != QProcess::NotRunning) {
      program_->kill();
      program_->waitForFinished();
    }
    program_.reset();
    desktop_.reset();
  }

  [[nodiscard]] fs::path prefix() const { return root_ / "prefix"; }
  [[nodiscard]] fs::path home() const { return root_ / "home"; }
  [[nodiscard]] fs::path runtime() const { return root_ / "runtime"; }

  // Starts the installed program as the user and waits for its window.
  QString start(const std::map<QString, QString>& extra = {}) {
    QProcessEnvironment environment = desktop_->environment();
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(home().string()));
    // The single-instance lock lives here: a copy running elsewhere never stops this one.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime().string()));
    for (const auto& [name, value] : extra) environment.insert(name, value);
    program_ = std::make_unique<QProcess>();
    program_->setProcessEnvironment(environment);
    program_->setProcessChannelMode(QProcess::ForwardedChannels);
    program_->start(QString::fromStdString((prefix() / "bin" / "lumeno").string()), {});
    QString window;
    pollUntil(
        [&] {
          const QStringList windows = desktop_->lumenoWindows();
          if (!windows.isEmpty()) window = windows.first();
          return !window.isEmpty() || ended(0ms);
        },
        30s);
    return window;
  }

  // QProcess learns of the end only while it waits, so wait on it rather than look at its state.
  bool ended(std::chrono::milliseconds deadline) {
    return program_->state() == QProcess::NotRunning ||
           program_->waitForFinished(static_cast<int>(deadline.count()));
  }

  // The window manager's close (Alt+F4), as a user closes the window.
  bool closeWindow(const QString& window) {
    return pollUntil(
        [&] {
          desktop_->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
          desktop_->xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
          return ended(2s);
        },
        30s);
  }

  // File > Exit, then Yes in the "Exit Lumeno?" box.
  bool exitFromMenu(const QString& window) {
    return pollUntil(
        [&] {
          desktop_->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
          // "File" is the first title of the menu bar, at the window's top left.
          desktop_->xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                             QStringLiteral("12"), QStringLiteral("8"), QStringLiteral("click"),
                             QStringLiteral("1")});
          desktop_->xdotool({QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Return")});
          QString question;
          pollUntil(
              [&] {
                for (const QString& w : desktop_->lumenoWindows()) {
                  if (w != window) question = w;
                }
                return !question.isEmpty();
              },
              3s);
          if (question.isEmpty()) return false;
          desktop_->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), question});
          desktop_->xdotool({QStringLiteral("key"), QStringLiteral("Return")});  // Yes is the default
          return ended(5s);
        },
        30s);
  }

  TempFolder root_;
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<QProcess> program_;
};

TEST_F(InstalledCopy, LaysTheGnuLayoutUnderThePrefix) {
  for (const char* file : {"bin/lumeno", "share/lumeno/Lumeno.ini", "share/lumeno/help.html",
                           "share/applications/io.github.lumeno.Lumeno.desktop",
                           "share/metainfo/io.github.lumeno.Lumeno.metainfo.xml",
                           "share/icons/hicolor/16x16/apps/io.github.lumeno.Lumeno.png",
                           "share/icons/hicolor/32x32/apps/io.github.lumeno.Lumeno.png",
                           "share/icons/hicolor/48x48/apps/io.github.lumeno.Lumeno.png",
                           "share/icons/hicolor/128x128/apps/io.github.lumeno.Lumeno.png",
                           "share/icons/hicolor/scalable/apps/io.github.lumeno.Lumeno.svg",
                           "share/man/man1/lumeno.1.gz", "share/doc/lumeno/copyright"}) {
    EXPECT_TRUE(fs::is_regular_file(prefix() / file)) << file;
  }
  // Nothing beside the program that would make an installed copy portable.
  EXPECT_FALSE(fs::exists(prefix() / "bin/Lumeno.ini"));
}

TEST_F(InstalledCopy, KeepsTheUsersSettingsAndLogInTheHomeFoldersAndWritesNothingUnderThePrefix) {
  const auto prefixBefore = snapshot(prefix());
  const fs::path settings = home() / ".config/lumeno/Lumeno.ini";
  const fs::path log = home() / ".local/state/lumeno/log.txt";

  // First start: the user's settings are made from the packaged default.
  QString window = start();
  ASSERT_FALSE(window.isEmpty()) << "no window titled Lumeno";
  // Docks and task bars match the window to its desktop entry by the class of the window.
  const std::string entry = readText(prefix() / "share/applications/io.github.lumeno.Lumeno.desktop");
  const std::size_t wmClassAt = entry.find("\nStartupWMClass=");
  ASSERT_NE(wmClassAt, std::string::npos) << entry;
  const std::string wmClass = entry.substr(wmClassAt + 16, entry.find('\n', wmClassAt + 1) - wmClassAt - 16);
  const QString windowClass =
      run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_CLASS")},
          desktop_->environment())
          .text.trimmed();
  EXPECT_TRUE(windowClass.endsWith(QString::fromStdString(", \"" + wmClass + "\"")))
      << windowClass.toStdString();
  ASSERT_TRUE(fs::is_regular_file(settings));
  EXPECT_EQ(readText(settings), readText(prefix() / "share/lumeno/Lumeno.ini"));
  EXPECT_TRUE(fs::is_directory(log.parent_path()));
  ASSERT_TRUE(closeWindow(window));
  EXPECT_FALSE(fs::exists(log));  // logging is off by default

  // With logging on, a start writes its line and closing the window writes none. Start at
  // log-in, on too, names the installed program itself.
  std::string ini = readText(settings);
  for (const std::string key : {"uselog", "autostartup"}) {
    const std::size_t at = ini.find(key + "=0");
    ASSERT_NE(at, std::string::npos) << ini;
    ini.replace(at, key.size() + 2, key + "=1");
  }
  writeText(settings, ini);
  window = start();
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(pollUntil([&] { return fs::exists(log); }, 10s));
  const std::string autostart = readText(home() / ".config/autostart/Lumeno.desktop");
  EXPECT_NE(autostart.find("\nExec=\"" + (prefix() / "bin/lumeno").string() + "\"\n"), std::string::npos)
      << autostart;
  EXPECT_NE(autostart.find("\nTryExec=" + (prefix() / "bin/lumeno").string() + "\n"), std::string::npos)
      << autostart;
  ASSERT_TRUE(closeWindow(window));
  std::vector<std::string> entries = lines(readText(log));
  ASSERT_EQ(entries.size(), 1U);
  EXPECT_EQ(entries[0].rfind("[Lumeno Loaded] , Date : ", 0), 0U) << entries[0];

  // File > Exit > Yes adds the exit line.
  window = start();
  ASSERT_FALSE(window.isEmpty());
  ASSERT_TRUE(pollUntil([&] { return lines(readText(log)).size() == 2; }, 10s));
  ASSERT_TRUE(exitFromMenu(window));
  entries = lines(readText(log));
  ASSERT_EQ(entries.size(), 3U);
  EXPECT_EQ(entries[1].rfind("[Lumeno Loaded] , Date : ", 0), 0U) << entries[1];
  EXPECT_EQ(entries[2].rfind("[Program Exit] , Date : ", 0), 0U) << entries[2];

  EXPECT_EQ(snapshot(prefix()), prefixBefore);
}

TEST_F(InstalledCopy, FollowsTheXdgFoldersTheSessionNames) {
  const fs::path config = root_ / "xdg-config";
  const fs::path state = root_ / "xdg-state";
  const QString window = start({{QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.string())},
                                {QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(state.string())}});
  ASSERT_FALSE(window.isEmpty());
  EXPECT_TRUE(fs::is_regular_file(config / "lumeno/Lumeno.ini"));
  EXPECT_TRUE(fs::is_directory(state / "lumeno"));
  EXPECT_FALSE(fs::exists(home() / ".config/lumeno"));
  EXPECT_FALSE(fs::exists(home() / ".local/state/lumeno"));
  ASSERT_TRUE(closeWindow(window));
}

}  // namespace
}  // namespace lumeno::test
