// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/CommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lumeno::app {
namespace {

QString programName(const QStringList& arguments) {
  return arguments.isEmpty() ? QStringLiteral("lumeno") : QFileInfo(arguments.first()).fileName();
}

}  // namespace

CommandLine::CommandLine()
    : help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and end.")),
      version_({QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Show the version and end.")) {
  // Qt's own options are single-dash words (-platform, -style, -reverse): read as one word each,
  // they can never be mistaken for a run of -h and -v.
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.setApplicationDescription(
      QStringLiteral("Shows the local IPv4 address and whether the computer is connected to the Internet.\n"
                     "Qt's own options, such as -platform and -style, are taken too."));
  parser_.addOption(help_);
  parser_.addOption(version_);
}

QString CommandLine::answer(const QStringList& arguments) {
  // Qt's options are unknown here and left for QApplication; only ours are looked at.
  parser_.parse(arguments);
  if (parser_.isSet(help_)) {
    // Without an application object the parser cannot know the program's name.
    QString text = parser_.helpText();
    text.replace(QStringLiteral("<executable_name>"), programName(arguments));
    return text;
  }
  if (parser_.isSet(version_)) {
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
           QLatin1Char('\n');
  }
  return {};
}

QString CommandLine::leftover(const QStringList& arguments) {
  const bool parsed = parser_.parse(arguments);
  if (parsed && parser_.positionalArguments().isEmpty()) return {};
  const QString problem =
      parsed ? QStringLiteral("Unexpected argument: ") + parser_.positionalArguments().first()
             : parser_.errorText();
  return programName(arguments) + QStringLiteral(": ") + problem + QStringLiteral("\nTry '") +
         programName(arguments) + QStringLiteral(" --help'.\n");
}

}  // namespace lumeno::app
