// SPDX-License-Identifier: GPL-3.0-or-later
// Lumeno: the local IPv4 address and the Internet connection at a glance.
#include <cstdio>
#include <filesystem>
#include <optional>

#include <QApplication>

#include "app/InstallDirs.h"
#include "common/AppContext.h"
#include "common/FilePlaces.h"
#include "common/Version.h"
#include "platform/Autostart.h"
#include "platform/Files.h"
#include "platform/SingleInstance.h"
#include "platform/UserFolders.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixLauncher.h"
#include "platform/posix/PosixNetworkInfo.h"
#include "platform/posix/QuitSignals.h"
#include "platform/posix/SessionBus.h"
#include "ui/qt/CommandLine.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtMessageBoxes.h"
#include "ui/qt/StartUp.h"
#include "ui/qt/WindowSystemStart.h"

namespace {

QStringList argumentsAsStarted(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication::setApplicationName(QStringLiteral("Lumeno"));
  QApplication::setApplicationVersion(QString::fromLatin1(lumeno::version::text));
  lumeno::app::CommandLine commandLine;
  // --help and --version need no display: answered before the window system is looked for.
  if (const QString answer = commandLine.answer(argumentsAsStarted(argc, argv)); !answer.isEmpty()) {
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return 0;
  }
  // Before Qt looks for the desktop's services: a bus started for us would outlive us.
  lumeno::platform::keepFromStartingASessionBus();
  std::optional<lumeno::app::WindowSystemStart> windowSystem(std::in_place);
  QApplication application(argc, argv);
  windowSystem.reset();
  if (const QString wrong = commandLine.leftover(QApplication::arguments()); !wrong.isEmpty()) {
    std::fputs(wrong.toLocal8Bit().constData(), stderr);
    return 2;
  }
  // Docks and task bars match the window to its desktop entry and icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lumeno.Lumeno"));
  // The window goes to the tray and comes back; only the three exit paths end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  // SIGTERM, SIGHUP (a log-out) and SIGINT end the program as a normal quit: the windows go,
  // and with them a running tool; nothing is logged.
  const lumeno::platform::QuitSignals quitSignals([] { QCoreApplication::quit(); });

  lumeno::QtMessageBoxes boxes;
  lumeno::platform::PosixClock clock;
  lumeno::platform::PosixNetworkInfo network;
  lumeno::platform::PosixLauncher launcher;
  const auto autostart = lumeno::platform::makeAutostart(QApplication::applicationFilePath().toStdString());

  lumeno::PlaceFacts facts;
  facts.programFolder = std::filesystem::path(QApplication::applicationDirPath().toStdString());
  facts.settingsBesideProgram = lumeno::platform::fileExists(facts.programFolder / lumeno::kSettingsFileName);
  const lumeno::platform::UserEnvironment user = lumeno::platform::readUserEnvironment();
  facts.home = user.home;
  facts.xdgConfigHome = user.xdgConfigHome;
  facts.xdgStateHome = user.xdgStateHome;
  facts.dataFromProgram = lumeno::install::dataFromProgram;

  lumeno::AppContext context;
  context.places = lumeno::decideFilePlaces(facts);
  context.programFolder = facts.programFolder;
  context.boxes = &boxes;
  context.clock = &clock;
  context.network = &network;
  context.launcher = &launcher;
  context.autostart = autostart.get();

  const auto instance = lumeno::platform::claimSingleInstance();
  if (lumeno::app::checkBeforeStart(context, *instance) != lumeno::app::StartCheck::Go) return 0;
  // Writes of the settings file that a crash or a kill cut short leave temporaries beside it.
  lumeno::platform::removeLeftoverTemporaries(context.file("Lumeno.ini"));

  lumeno::app::MainWindow window(context);
  window.showAtStartUp();
  return QApplication::exec();
}
