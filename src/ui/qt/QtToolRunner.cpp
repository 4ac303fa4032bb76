// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtToolRunner.h"

#include <utility>

#include <QStandardPaths>
#include <QStringList>

#include "iptools/WindowRules.h"
#include "platform/posix/ToolChild.h"

namespace lumeno::iptools {

QtToolRunner::QtToolRunner(QObject* parent) : QObject(parent), finder_(&QtToolRunner::findInstalledProgram) {
  pendingFinish_.setSingleShot(true);
  pendingFinish_.setInterval(0);
  connect(&pendingFinish_, &QTimer::timeout, this, [this] { run_.onFinishPosted(); });
  killTimer_.setSingleShot(true);
  connect(&killTimer_, &QTimer::timeout, this, [this] { run_.onKillTimer(); });
}

QtToolRunner::~QtToolRunner() {
  kill();
}

QString QtToolRunner::findInstalledProgram(const QString& name) {
  QString path = QStandardPaths::findExecutable(name);
  if (path.isEmpty()) {
    path = QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  }
  return path;
}

std::int64_t QtToolRunner::processId() const {
  return process_ ? process_->processId() : 0;
}

bool QtToolRunner::toolRunning() const {
  return process_ && process_->state() != QProcess::NotRunning;
}

bool QtToolRunner::interruptTool() {
  platform::interruptTool(process_->processId());
  return true;
}

void QtToolRunner::endToolNow() {
  process_->kill();
}

void QtToolRunner::start(const ToolRequest& request, const std::filesystem::path& folder) {
  if (!run_.begin(request.tool, folder)) return;
  const LinuxCommand command = linuxCommand(
      request, [this](const std::string& name) { return !finder_(QString::fromStdString(name)).isEmpty(); });
  if (command.program.empty()) {
    run_.notStarted(command.missingNote);
    return;
  }

  QStringList arguments;
  arguments.reserve(static_cast<qsizetype>(command.arguments.size()));
  for (const std::string& argument : command.arguments) arguments.append(QString::fromStdString(argument));

  auto* process = new QProcess(this);
  process_ = process;
  process->setProgram(finder_(QString::fromStdString(command.program)));
  process->setArguments(arguments);
  process->setWorkingDirectory(QString::fromStdString(folder.string()));
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->setStandardInputFile(QProcess::nullDevice());
  platform::tieToThisProgram(*process);
  connect(process, &QProcess::readyReadStandardOutput, this, &QtToolRunner::readOutput);
  connect(process, &QProcess::finished, this, &QtToolRunner::processEnded);
  const QString program = QString::fromStdString(command.program);
  connect(process, &QProcess::errorOccurred, this, [this, process, program](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || process != process_) return;
    process_ = nullptr;
    process->deleteLater();
    run_.failedToStart(notStartedNote(program.toStdString(), process->errorString().toStdString()));
  });
  process->start(QIODevice::ReadOnly);
}

void QtToolRunner::readOutput() {
  if (!process_) return;
  const QByteArray bytes = process_->readAllStandardOutput();
  run_.onOutput(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void QtToolRunner::processEnded() {
  readOutput();
  if (process_) {
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
  }
  run_.onToolEnded();
}

void QtToolRunner::kill() {
  if (process_) {
    QProcess* process = process_;
    process_ = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(-1);
    }
    delete process;
  }
  run_.abandon();
}

}  // namespace lumeno::iptools
