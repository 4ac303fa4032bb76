// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/ToolChild.h"

#include <QProcess>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace lumeno::platform {
namespace {

// Runs in the new process before the tool is started in it.
void prepareChild(pid_t parent) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);  // the program died before the line above
  // A program started ignoring Ctrl+C passes that on to its children.
  ::signal(SIGINT, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

}  // namespace

void tieToThisProgram(QProcess& process) {
  const pid_t parent = ::getpid();
  process.setChildProcessModifier([parent] { prepareChild(parent); });
}

void interruptTool(qint64 processId) {
  if (processId > 0) ::kill(static_cast<pid_t>(processId), SIGINT);
}

}  // namespace lumeno::platform
