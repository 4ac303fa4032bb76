#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <fstream>
#include <string>

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

// Polls until the process is gone or the deadline has passed; true when it went.
inline bool processGoesWithin(qint64 pid, int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  while (!processIsGone(pid)) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

// This process's resident memory in kB, as the kernel counts it.
inline long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kilobytes = 0;
      status >> kilobytes;
      return kilobytes;
    }
  }
  return -1;
}

}  // namespace lumeno::iptools::test
