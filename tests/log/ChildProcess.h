#pragma once

#include <chrono>
#include <functional>

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumeno::test {

enum class ChildEnd { Passed, Failed, Hung };

// Runs `body` in a child process, so that code which blocks for good makes the test fail
// instead of hanging it: the child is killed when it has not ended by the deadline. A body
// that ends in time passes when it returns true.
inline ChildEnd runInChild(const std::function<bool()>& body,
                           std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
  const pid_t pid = ::fork();
  if (pid < 0) return ChildEnd::Failed;
  if (pid == 0) ::_exit(body() ? 0 : 1);
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  bool ended = true;
  if (pidfd >= 0) {
    pollfd child{pidfd, POLLIN, 0};
    ended = ::poll(&child, 1, static_cast<int>(deadline.count())) == 1;
    ::close(pidfd);
  }
  if (!ended) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!ended) return ChildEnd::Hung;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::Passed : ChildEnd::Failed;
}

}  // namespace lumeno::test
