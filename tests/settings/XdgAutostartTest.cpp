// Start at log-in through a real XDG autostart entry: checked by desktop-file-validate and started
// the way a desktop session starts it. XDG_CONFIG_HOME always points into a temporary folder.
#include "platform/posix/XdgAutostart.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include "DesktopExecParser.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "platform/Files.h"
#include "settings/OptionsDialog.h"
#include "settings/StartupEntry.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = "lumeno-stand-in-started.txt";

// Sets an environment variable for the life of one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

struct ProcessResult {
  bool finished = false;
  int exitCode = -1;
  std::string output;
};

ProcessResult run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::optional<std::string>& workingFolder = std::nullopt,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  if (workingFolder) process.setWorkingDirectory(qs(*workingFolder));
  QStringList args;
  for (const std::string& argument : arguments) args << qs(argument);
  process.start(qs(program), args);
  ProcessResult result;
  result.finished = process.waitForStarted(-1) && process.waitForFinished(-1);
  result.exitCode = process.exitCode();
  result.output = process.readAll().toStdString();
  return result;
}

// The value of `key` in the entry's main group, still escaped as in the file.
std::optional<std::string> entryValue(const std::string& entry, const std::string& key) {
  const std::string prefix = "\n" + key + "=";
  const std::size_t at = entry.find(prefix);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t begin = at + prefix.size();
  return entry.substr(begin, entry.find('\n', begin) - begin);
}

class XdgAutostartTest : public ::testing::Test {
 protected:
  XdgAutostartTest() : config_("XDG_CONFIG_HOME", (home / "config").string()) {
    // A folder with every character that needs quoting in an Exec line.
    programFolder =
        home / "Lumeno stand-in folder with spaces $HOME `id` \"q\" 'a' 100% back\\slash (1) caf\xC3\xA9;#~&";
    fs::create_directories(programFolder);
    standIn = programFolder / "lumeno stand-in";
    writeStandIn(standIn);
  }

  static void writeStandIn(const fs::path& file) {
    // Stands in for the Lumeno executable: records that it started and in which folder, and
    // tells a waiting test through a named pipe when one is given.
    ASSERT_TRUE(writeFile(
        file,
        "#!/bin/sh\n"
        "pwd -P > lumeno-stand-in-started.txt\n"
        "if [ -n \"$LUMENO_STAND_IN_PIPE\" ]; then echo started > \"$LUMENO_STAND_IN_PIPE\"; fi\n"));
    ::chmod(file.c_str(), 0755);
  }

  fs::path entry() const { return home / "config" / "autostart" / "Lumeno.desktop"; }

  test::TempFolder home;
  ScopedEnv config_;
  fs::path programFolder;
  fs::path standIn;
};

TEST_F(XdgAutostartTest, FolderComesFromTheEnvironment) {
  EXPECT_EQ(XdgAutostart::fromEnvironment().folder(), home / "config" / "autostart");
  const ScopedEnv homeVar("HOME", home.path().string());
  {
    const ScopedEnv relative("XDG_CONFIG_HOME", std::string("relative/config"));
    EXPECT_EQ(XdgAutostart::fromEnvironment().folder(), home / ".config" / "autostart");
  }
  {
    const ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(XdgAutostart::fromEnvironment().folder(), home / ".config" / "autostart");
  }
  EXPECT_EQ(XdgAutostart(home / "a").entryFile("Lumeno.exe"), home / "a" / "Lumeno.desktop");
  EXPECT_EQ(XdgAutostart(home / "a").entryFile("../../x"), home / "a" / "_.._.._x.desktop");
}

TEST_F(XdgAutostartTest, TheEntryIsValidAndStartsTheProgramFromItsFolder) {
  XdgAutostart autostart = XdgAutostart::fromEnvironment();
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, std::string(settings::kRunKeyPath), "Lumeno.exe",
                                   standIn.string()));
  const std::optional<std::string> text = readFile(entry());
  ASSERT_TRUE(text.has_value());
  struct stat folderStatus {};
  ASSERT_EQ(::stat((home / "config").c_str(), &folderStatus), 0);
  EXPECT_EQ(folderStatus.st_mode & 0777, 0700U);

  const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  if (validator.isEmpty()) {
    ADD_FAILURE() << "desktop-file-validate is missing (Debian package desktop-file-utils)";
  } else {
    const ProcessResult validation = run(validator.toStdString(), {entry().string()});
    ASSERT_TRUE(validation.finished);
    EXPECT_EQ(validation.exitCode, 0) << validation.output;
    EXPECT_EQ(validation.output, "") << *text;
  }

  // Run it as written: Exec read by the Desktop Entry rules, started in Path.
  const std::optional<std::vector<std::string>> argv =
      test::parseExec(entryValue(*text, "Exec").value_or(""));
  const std::optional<std::string> path = test::unescapeStringValue(entryValue(*text, "Path").value_or(""));
  ASSERT_TRUE(argv.has_value()) << *text;
  ASSERT_TRUE(path.has_value()) << *text;
  ASSERT_EQ(argv->size(), 1U);
  EXPECT_EQ(argv->front(), standIn.string());
  EXPECT_EQ(*path, programFolder.string());
  const ProcessResult started = run(argv->front(), {}, *path);
  ASSERT_TRUE(started.finished);
  EXPECT_EQ(started.exitCode, 0) << started.output;
  EXPECT_EQ(readFile(programFolder / kMarker), fs::canonical(programFolder).string() + "\n");
}

TEST_F(XdgAutostartTest, ADesktopLauncherStartsTheProgramFromItsFolder) {
  const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
  if (gio.isEmpty()) GTEST_SKIP() << "no desktop launcher here (gio, Debian package libglib2.0-bin)";
  // GLib looks for the program before it turns "%%" back into "%", so this folder has no "%".
  const fs::path folder =
      home / "Lumeno stand-in folder with spaces $HOME `id` \"q\" 'a' back\\slash (1) caf\xC3\xA9;#~&";
  fs::create_directories(folder);
  writeStandIn(folder / "lumeno stand-in");
  XdgAutostart autostart = XdgAutostart::fromEnvironment();
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, std::string(settings::kRunKeyPath), "Lumeno.exe",
                                   (folder / "lumeno stand-in").string()));

  // The launcher does not wait for the program; the stand-in reports through a named pipe.
  const fs::path pipe = home / "started.pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LUMENO_STAND_IN_PIPE"), qs(pipe.string()));
  const ProcessResult launch =
      run(gio.toStdString(), {"launch", entry().string()}, std::nullopt, environment);
  ASSERT_TRUE(launch.finished);
  ASSERT_EQ(launch.exitCode, 0) << launch.output;
  // The stand-in's write waits until this end is open.
  const int reader = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(reader, 0);

  pollfd waitFor{reader, POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&waitFor, 1, 60'000);  // a bound in case nothing was started, not a delay
  } while (ready < 0 && errno == EINTR);
  ASSERT_EQ(ready, 1) << "the launcher did not start the program";
  std::string message(16, '\0');
  const ssize_t got = ::read(reader, message.data(), message.size());
  ::close(reader);
  EXPECT_EQ(message.substr(0, got > 0 ? static_cast<std::size_t>(got) : 0), "started\n");
  EXPECT_EQ(readFile(folder / kMarker), fs::canonical(folder).string() + "\n");
}

TEST_F(XdgAutostartTest, RewritingFollowsAMovedProgramAndRemovingIsQuiet) {
  XdgAutostart autostart = XdgAutostart::fromEnvironment();
  const std::string key(settings::kRunKeyPath);
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, key, "Lumeno.exe", "/opt/old place/lumeno"));
  const fs::path moved = home / "new place" / "lumeno";
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, key, "Lumeno.exe", moved.string()));
  const std::string text = readFile(entry()).value_or("");
  EXPECT_EQ(test::parseExec(entryValue(text, "Exec").value_or("")), std::vector<std::string>{moved.string()});
  EXPECT_EQ(entryValue(text, "Path"), (home / "new place").string());

  // The same program again: the entry is left as it is.
  const FileIdentity before = identifyFile(entry());
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, key, "Lumeno.exe", moved.string()));
  EXPECT_EQ(identifyFile(entry()), before);

  writeFile(home / "config" / "autostart" / "other.desktop", "[Desktop Entry]\n");
  EXPECT_TRUE(autostart.deleteValue(Hive::LocalMachine, key, "Lumeno.exe"));
  EXPECT_FALSE(fs::exists(entry()));
  EXPECT_TRUE(autostart.deleteValue(Hive::LocalMachine, key, "Lumeno.exe"));  // already gone: fine
  EXPECT_EQ(readFile(home / "config" / "autostart" / "other.desktop"), "[Desktop Entry]\n");
}

TEST_F(XdgAutostartTest, FailuresAreReportedToTheCallerOnly) {
  writeFile(home / "config", "a file where the folder should be");
  XdgAutostart autostart = XdgAutostart::fromEnvironment();
  EXPECT_FALSE(autostart.writeValue(Hive::LocalMachine, std::string(settings::kRunKeyPath), "Lumeno.exe",
                                    standIn.string()));
  EXPECT_FALSE(autostart.deleteValue(Hive::LocalMachine, std::string(settings::kRunKeyPath), "Lumeno.exe"));
  EXPECT_FALSE(autostart.writeValue(Hive::LocalMachine, std::string(settings::kRunKeyPath), "Lumeno.exe",
                                    "relative/lumeno"));
}

// The options dialog against the real file system: Lumeno.ini, the autostart folder, the entry.
class OptionsWithRealAutostart : public XdgAutostartTest {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "settings_integration_tests";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QApplication>(argc, argv);
  }
  static void TearDownTestSuite() { application.reset(); }
  static inline std::unique_ptr<QApplication> application;

  OptionsWithRealAutostart() {
    context.programFolder = programFolder;
    context.executable = standIn;
    context.boxes = &boxes;
    context.autostart = &autostart;
  }

  void writeIni(const std::string& autostartup) const {
    writeFile(programFolder / "Lumeno.ini",
              "[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=0\r\n\r\n[Automation]\r\n"
              "trayatstartup=0\r\nautostartup=" +
                  autostartup + "\r\n");
  }

  XdgAutostart autostart = XdgAutostart::fromEnvironment();
  test::ScriptedMessageBoxes boxes;
  AppContext context;
};

TEST_F(OptionsWithRealAutostart, TickingWritesTheEntryAndUntickingRemovesIt) {
  writeIni("0");
  {
    settings::OptionsDialog dialog(context, {});
    EXPECT_FALSE(fs::exists(home / "config"));  // loading with the option off touches nothing
    auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("chkstartup"));
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Space);
    ASSERT_TRUE(box->isChecked());
  }
  const std::string text = readFile(entry()).value_or("");
  EXPECT_EQ(test::parseExec(entryValue(text, "Exec").value_or("")),
            std::vector<std::string>{standIn.string()});
  EXPECT_NE(readFile(programFolder / "Lumeno.ini").value_or("").find("autostartup=1\r\n"), std::string::npos);

  // The next start loads the dialog again: the entry follows the program to its new folder.
  const fs::path movedFolder = home / "moved here";
  fs::create_directories(movedFolder);
  fs::rename(programFolder / "Lumeno.ini", movedFolder / "Lumeno.ini");
  writeStandIn(movedFolder / "lumeno stand-in");
  context.programFolder = movedFolder;
  context.executable = movedFolder / "lumeno stand-in";
  settings::OptionsDialog dialog(context, {});
  EXPECT_EQ(entryValue(readFile(entry()).value_or(""), "Path"), movedFolder.string());

  QTest::keyClick(dialog.findChild<QCheckBox*>(QStringLiteral("chkstartup")), Qt::Key_Space);
  EXPECT_FALSE(fs::exists(entry()));
  EXPECT_NE(readFile(movedFolder / "Lumeno.ini").value_or("").find("autostartup=0\r\n"), std::string::npos);
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace lumeno::platform
