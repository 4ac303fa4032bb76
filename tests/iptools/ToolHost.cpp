// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a tool in an IP tools window the way the program does, with the program's handling of
// quit signals, and prints the tool's process id once its first output is shown.
// Usage: iptools_tool_host <program folder> <tool program>
#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <memory>

#include "common/AppContext.h"
#include "platform/posix/QuitSignals.h"
#include "ui/qt/IpToolsWindow.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const lumeno::platform::QuitSignals quitSignals([] { QCoreApplication::quit(); });

  lumeno::AppContext context;
  context.programFolder = argv[1];
  auto window = std::make_unique<lumeno::iptools::IpToolsWindow>(context);
  const QString tool = QString::fromLocal8Bit(argv[2]);
  window->runner().setProgramFinder([tool](const QString&) { return QString(tool); });
  bool told = false;
  QObject::connect(window.get(), &lumeno::iptools::IpToolsWindow::toolOutputShown, window.get(), [&] {
    if (told) return;
    told = true;
    std::printf("%lld\n", static_cast<long long>(window->toolProcessId()));
    std::fflush(stdout);
  });
  window->show();
  window->findChild<QPushButton*>(QStringLiteral("cmdPing"))->click();
  const int status = QApplication::exec();
  window.reset();  // as the program's windows go when it quits
  return status;
}
