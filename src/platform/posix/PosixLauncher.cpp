// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixLauncher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace lumeno::platform {
namespace {

QStringList toQt(const std::vector<std::string>& arguments) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(arguments.size()));
  for (const auto& argument : arguments) list << QString::fromStdString(argument);
  return list;
}

}  // namespace

void PosixLauncher::openUrl(const std::string& url) {
  // The desktop decides which program shows it; like the shell's default action, nothing is
  // reported when there is none.
  if (const auto opener = findProgram("xdg-open")) startDetached(opener->string(), {url});
}

bool PosixLauncher::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
  return QProcess::startDetached(QString::fromStdString(program), toQt(arguments));
}

std::optional<std::filesystem::path> PosixLauncher::findProgram(const std::string& name) const {
  const QString found = QStandardPaths::findExecutable(QString::fromStdString(name));
  if (found.isEmpty()) return std::nullopt;
  return std::filesystem::path(found.toStdString());
}

}  // namespace lumeno::platform
