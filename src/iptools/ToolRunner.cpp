#include "iptools/ToolRunner.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

#include <utility>

#include "iptools/WindowRules.h"

namespace lumeno::iptools {

ToolRunner::ToolRunner(QObject* parent) : QObject(parent), finder_(&ToolRunner::findInstalledProgram) {
  pendingFinish_.setSingleShot(true);
  pendingFinish_.setInterval(0);
  connect(&pendingFinish_, &QTimer::timeout, this, &ToolRunner::finishPending);
}

ToolRunner::~ToolRunner() {
  abandon();
}

QString ToolRunner::findInstalledProgram(const QString& name) {
  QString path = QStandardPaths::findExecutable(name);
  if (path.isEmpty()) {
    path = QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  }
  return path;
}

void ToolRunner::setProgramFinder(ProgramFinder finder) {
  finder_ = std::move(finder);
}

qint64 ToolRunner::processId() const {
  return process_ ? process_->processId() : 0;
}

void ToolRunner::start(const ToolRequest& request, const QString& folder) {
  if (running_) return;
  running_ = true;
  decoder_.resetState();

  result_.setFileName(QDir(folder).filePath(QString::fromUtf8(resultFileName(request.tool).data())));
  if (!result_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    finishLater(false);
    return;
  }

  const LinuxCommand command = linuxCommand(
      request, [this](const std::string& name) { return !finder_(QString::fromStdString(name)).isEmpty(); });
  if (command.program.empty()) {
    result_.write(command.missingNote.data(), static_cast<qint64>(command.missingNote.size()));
    result_.close();
    finishLater(true);
    return;
  }

  QStringList arguments;
  arguments.reserve(static_cast<qsizetype>(command.arguments.size()));
  for (const std::string& argument : command.arguments) arguments.append(QString::fromStdString(argument));

  auto* process = new QProcess(this);
  process_ = process;
  process->setProgram(finder_(QString::fromStdString(command.program)));
  process->setArguments(arguments);
  process->setWorkingDirectory(folder);
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->setStandardInputFile(QProcess::nullDevice());
  connect(process, &QProcess::readyReadStandardOutput, this, &ToolRunner::readOutput);
  connect(process, &QProcess::finished, this, &ToolRunner::processEnded);
  const QString program = QString::fromStdString(command.program);
  connect(process, &QProcess::errorOccurred, this, [this, process, program](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || process != process_) return;
    const std::string note = notStartedNote(program.toStdString(), process->errorString().toStdString());
    result_.write(note.data(), static_cast<qint64>(note.size()));
    Q_EMIT outputArrived(QString::fromStdString(note));
    process_ = nullptr;
    process->deleteLater();
    finishNow(true);
  });
  process->start(QIODevice::ReadOnly);
}

void ToolRunner::readOutput() {
  if (!process_) return;
  const QByteArray bytes = process_->readAllStandardOutput();
  if (bytes.isEmpty()) return;
  result_.write(bytes);
  result_.flush();
  const QString text = decoder_.decode(bytes);
  if (!text.isEmpty()) Q_EMIT outputArrived(text);
}

void ToolRunner::processEnded() {
  readOutput();
  if (process_) {
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
  }
  finishNow(true);
}

void ToolRunner::finishLater(bool resultWritten) {
  // Reported from the event loop, like the end of a real process, so the caller has always
  // finished starting the run before it hears of its end.
  pendingResultWritten_ = resultWritten;
  pendingFinish_.start();
}

void ToolRunner::finishPending() {
  if (running_) finishNow(pendingResultWritten_);
}

void ToolRunner::finishNow(bool resultWritten) {
  if (result_.isOpen()) result_.close();
  running_ = false;
  Q_EMIT finished(resultWritten);
}

void ToolRunner::stop() {
  if (process_ && process_->state() != QProcess::NotRunning) process_->kill();
}

void ToolRunner::abandon() {
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
  if (result_.isOpen()) result_.close();
  running_ = false;
  pendingFinish_.stop();
}

}  // namespace lumeno::iptools
