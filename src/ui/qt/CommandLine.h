// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace lumeno::app {

// The program's command line: --help and --version, answered before any window system is
// needed, and otherwise nothing of its own. Qt's options (-platform, -style, ...) are left in
// the arguments for QApplication, which takes them out.
class CommandLine {
 public:
  CommandLine();

  // The arguments as started, Qt's options still among them. The text --help or --version
  // asks for (the program then prints it and ends), or an empty text when the program runs.
  QString answer(const QStringList& arguments);
  // The arguments QApplication has left: anything still there is not an option the program
  // knows. The message saying so, or an empty text.
  QString leftover(const QStringList& arguments);

 private:
  QCommandLineParser parser_;
  QCommandLineOption help_;
  QCommandLineOption version_;
};

}  // namespace lumeno::app
