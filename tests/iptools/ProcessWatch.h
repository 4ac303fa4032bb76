// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <fstream>
#include <string>

#include <sys/syscall.h>
#include <unistd.h>

// Looks at processes through /proc, for the tests that need whole processes.
namespace lumeno::iptools::test {

// Gone, or a zombie that only waits to be reaped: it runs no more.
inline bool processIsGone(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t afterName = line.rfind(')');
  return afterName == std::string::npos || line.size() < afterName + 3 || line[afterName + 2] == 'Z' ||
         line[afterName + 2] == 'X';
}

// Runs the event loop (the program's timers and processes go on meanwhile) until the process is
// gone or the deadline has passed; true when it went. The kernel wakes the loop when the process
// ends (a pidfd becomes readable), so nothing sleeps on the clock.
inline bool processGoesWithin(qint64 pid, int milliseconds) {
  if (processIsGone(pid)) return true;
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
  if (pidfd < 0) return processIsGone(pid);  // it went before it could be watched
  {
    QEventLoop loop;
    QSocketNotifier ended(pidfd, QSocketNotifier::Read);
    QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);  // the deadline
    if (!processIsGone(pid)) loop.exec();
  }
  ::close(pidfd);
  return processIsGone(pid);
}

}  // namespace lumeno::iptools::test
