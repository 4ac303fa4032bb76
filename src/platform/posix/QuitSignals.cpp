#include "platform/posix/QuitSignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace lumeno::platform {
namespace {

constexpr std::array<int, 3> kQuitSignals{SIGTERM, SIGHUP, SIGINT};

// The handler may only do what is safe in a signal handler: one write to a socket.
int gSignalSockets[2] = {-1, -1};

extern "C" void noteSignal(int signal) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[1], &byte, 1);
  errno = savedErrno;
}

bool startedIgnoring(int signal) {
  struct sigaction current {};
  return signal != SIGTERM && ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void setHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, gSignalSockets) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(gSignalSockets[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { drain(); });
  for (const int signal : kQuitSignals) {
    if (!startedIgnoring(signal)) setHandler(signal, noteSignal);
  }
}

QuitSignals::~QuitSignals() {
  if (!notifier_) return;
  for (const int signal : kQuitSignals) {
    if (!startedIgnoring(signal)) setHandler(signal, SIG_DFL);
  }
  notifier_.reset();
  ::close(gSignalSockets[0]);
  ::close(gSignalSockets[1]);
  gSignalSockets[0] = gSignalSockets[1] = -1;
}

void QuitSignals::drain() {
  std::array<char, 64> bytes{};
  bool any = false;
  while (::read(gSignalSockets[0], bytes.data(), bytes.size()) > 0) any = true;
  if (any && onSignal_) onSignal_();
}

}  // namespace lumeno::platform
