// Lumeno: the local IPv4 address and the Internet connection at a glance.
#include <filesystem>

#include <QApplication>

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "common/AppContext.h"
#include "common/QtMessageBoxes.h"
#include "common/Version.h"
#include "platform/Files.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixLauncher.h"
#include "platform/posix/PosixNetworkInfo.h"
#include "platform/posix/QuitSignals.h"
#include "platform/posix/SessionBus.h"
#include "platform/posix/XdgAutostart.h"

int main(int argc, char** argv) {
  // Before Qt looks for the desktop's services: a bus started for us would outlive us.
  lumeno::platform::keepFromStartingASessionBus();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lumeno"));
  QApplication::setApplicationVersion(QString::fromLatin1(lumeno::version::text));
  // The window goes to the tray and comes back; only the three exit paths end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  // SIGTERM, SIGHUP (a log-out) and SIGINT end the program as a normal quit: the windows go,
  // and with them a running tool; nothing is logged.
  const lumeno::platform::QuitSignals quitSignals([] { QCoreApplication::quit(); });

  lumeno::QtMessageBoxes boxes;
  lumeno::platform::PosixClock clock;
  lumeno::platform::PosixNetworkInfo network;
  lumeno::platform::PosixLauncher launcher;
  lumeno::platform::XdgAutostart autostart = lumeno::platform::XdgAutostart::fromEnvironment();

  lumeno::AppContext context;
  context.programFolder = std::filesystem::path(QApplication::applicationDirPath().toStdString());
  context.executable = std::filesystem::path(QApplication::applicationFilePath().toStdString());
  context.boxes = &boxes;
  context.clock = &clock;
  context.network = &network;
  context.launcher = &launcher;
  context.autostart = &autostart;

  const lumeno::app::SingleInstance instance(lumeno::app::SingleInstance::defaultLockFile());
  if (lumeno::app::checkBeforeStart(context, instance) != lumeno::app::StartCheck::Go) return 0;
  // Writes of the settings file that a crash or a kill cut short leave temporaries beside it.
  lumeno::platform::removeLeftoverTemporaries(context.file("Lumeno.ini"));

  lumeno::app::MainWindow window(context);
  window.showAtStartUp();
  return QApplication::exec();
}
