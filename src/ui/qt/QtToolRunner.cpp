// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtToolRunner.h"

#include <csignal>
#include <utility>

#include <sys/prctl.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

#include "iptools/WindowRules.h"

namespace lumeno::iptools {
namespace {

// Runs in the new process before the tool is started in it.
void prepareChild(pid_t parent) {
  // The kernel kills the tool when this program ends in a way that leaves no time to end it
  // (a crash, SIGKILL, a lost X connection).
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);  // the program died before the line above
  // A Stop reaches the tool as Ctrl+C would, also when this program was started ignoring it.
  ::signal(SIGINT, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

}  // namespace

QtToolRunner::QtToolRunner(QObject* parent) : QObject(parent), finder_(&QtToolRunner::findInstalledProgram) {
  pendingFinish_.setSingleShot(true);
  pendingFinish_.setInterval(0);
  connect(&pendingFinish_, &QTimer::timeout, this, [this] {
    if (running_) finishNow(pendingEnd_);
  });
  killTimer_.setSingleShot(true);
  connect(&killTimer_, &QTimer::timeout, this, [this] {
    if (process_ && process_->state() != QProcess::NotRunning) process_->kill();
  });
}

QtToolRunner::~QtToolRunner() {
  kill();
}

void QtToolRunner::setHandlers(Handlers handlers) {
  handlers_ = std::move(handlers);
}

void QtToolRunner::report(std::string_view bytes) {
  if (handlers_.output) handlers_.output(bytes);
}

QString QtToolRunner::findInstalledProgram(const QString& name) {
  QString path = QStandardPaths::findExecutable(name);
  if (path.isEmpty()) {
    path = QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  }
  return path;
}

void QtToolRunner::setProgramFinder(ProgramFinder finder) {
  finder_ = std::move(finder);
}

void QtToolRunner::setStopGrace(std::chrono::milliseconds grace) {
  stopGrace_ = grace;
}

void QtToolRunner::setResultFileLimit(std::uint64_t bytes) {
  resultLimit_ = bytes;
}

std::int64_t QtToolRunner::processId() const {
  return process_ ? process_->processId() : 0;
}

void QtToolRunner::start(const ToolRequest& request, const std::filesystem::path& folder) {
  if (running_) return;
  running_ = true;
  stopping_ = false;
  stored_ = true;
  cap_ = ResultCap(resultLimit_);

  const std::string fileName(resultFileName(request.tool));
  switch (result_.open(folder / fileName)) {
    case platform::FileAccess::Ok: break;
    case platform::FileAccess::NotRegular: finishLater(RunEnd::ResultNotRegular); return;
    default: finishLater(RunEnd::ResultUnwritable); return;
  }

  const LinuxCommand command = linuxCommand(
      request, [this](const std::string& name) { return !finder_(QString::fromStdString(name)).isEmpty(); });
  if (command.program.empty()) {
    result_.write(command.missingNote);
    result_.close();
    finishLater(RunEnd::NotStarted);
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
  const pid_t parent = ::getpid();
  process->setChildProcessModifier([parent] { prepareChild(parent); });
  connect(process, &QProcess::readyReadStandardOutput, this, &QtToolRunner::readOutput);
  connect(process, &QProcess::finished, this, &QtToolRunner::processEnded);
  const QString program = QString::fromStdString(command.program);
  connect(process, &QProcess::errorOccurred, this, [this, process, program](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || process != process_) return;
    const std::string note = notStartedNote(program.toStdString(), process->errorString().toStdString());
    result_.write(note);
    report(note);
    process_ = nullptr;
    process->deleteLater();
    finishNow(RunEnd::NotStarted);
  });
  process->start(QIODevice::ReadOnly);
}

void QtToolRunner::readOutput() {
  if (!process_) return;
  // Read all there is, also after the file is full: a tool blocked on a full pipe could not end.
  const QByteArray bytes = process_->readAllStandardOutput();
  if (bytes.isEmpty() || cap_.full()) return;
  const ResultCap::Piece piece =
      cap_.take(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!piece.keep.empty()) {
    store(piece.keep);
    report(piece.keep);
  }
  if (!piece.note.empty()) {
    store(piece.note);
    closeResult();
    report(piece.note);
    endTool();
  }
}

void QtToolRunner::processEnded() {
  readOutput();
  killTimer_.stop();
  if (process_) {
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
  }
  closeResult();
  finishNow(!stored_      ? RunEnd::NotStored
            : cap_.full() ? RunEnd::Cut
            : stopping_   ? RunEnd::Stopped
                          : RunEnd::Ran);
}

void QtToolRunner::store(std::string_view bytes) {
  // After a failed write (a full disk) nothing more goes in: the file would have a hole.
  if (stored_ && !result_.write(bytes)) stored_ = false;
}

void QtToolRunner::closeResult() {
  // A write the system had delayed may fail only here.
  if (result_.isOpen() && !result_.close()) stored_ = false;
}

void QtToolRunner::finishLater(RunEnd end) {
  // Reported from the event loop, like the end of a real process, so the caller has always
  // finished starting the run before it hears of its end.
  pendingEnd_ = end;
  pendingFinish_.start();
}

void QtToolRunner::finishNow(RunEnd end) {
  result_.close();
  running_ = false;
  stopping_ = false;
  if (handlers_.finished) handlers_.finished(end);
}

void QtToolRunner::stop() {
  if (!process_ || process_->state() == QProcess::NotRunning) return;
  stopping_ = true;
  endTool();
}

void QtToolRunner::endTool() {
  if (!process_ || process_->state() == QProcess::NotRunning || killTimer_.isActive()) return;
  const auto pid = static_cast<pid_t>(process_->processId());
  if (pid > 0) ::kill(pid, SIGINT);
  killTimer_.start(stopGrace_);
}

void QtToolRunner::kill() {
  killTimer_.stop();
  pendingFinish_.stop();
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
  result_.close();
  running_ = false;
  stopping_ = false;
}

}  // namespace lumeno::iptools
