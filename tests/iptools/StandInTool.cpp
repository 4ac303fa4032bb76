// Stands in for ping, traceroute and netstat. Built in several kinds:
// - plain: prints each argument in brackets, then its working folder on standard error;
// - STAND_IN_BLOCKS: prints one line and waits until a signal ends it;
// - STAND_IN_SUMMARY: like ping, prints one line, and on Ctrl+C (SIGINT) its summary, then ends;
// - STAND_IN_STUBBORN: prints one line and ignores Ctrl+C, so only a kill ends it;
// - STAND_IN_FLOOD: prints LUMENO_STAND_IN_BYTES bytes (100 MiB when unset) of numbered lines;
// - STAND_IN_ENDLESS: prints numbered lines until a signal ends it.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

#if defined(STAND_IN_SUMMARY)
volatile std::sig_atomic_t gInterrupted = 0;

void onInterrupt(int) {
  gInterrupted = 1;
}
#endif

#if defined(STAND_IN_FLOOD) || defined(STAND_IN_ENDLESS)
// Lines of exactly 100 bytes, numbered from 1.
void printNumberedLine(unsigned long number) {
  std::printf("line %010lu %083d\n", number, 0);
}
#endif

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#if defined(STAND_IN_BLOCKS)
  std::fputs("started\n", stdout);
  std::fflush(stdout);
  for (;;) ::pause();
#elif defined(STAND_IN_SUMMARY)
  std::signal(SIGINT, onInterrupt);
  std::fputs("64 bytes from 127.0.0.1: icmp_seq=1\n", stdout);
  std::fflush(stdout);
  while (gInterrupted == 0) ::pause();
  std::fputs("\n--- 127.0.0.1 ping statistics ---\n1 packets transmitted, 1 received\n", stdout);
  return 0;
#elif defined(STAND_IN_STUBBORN)
  std::signal(SIGINT, SIG_IGN);
  std::fputs("started\n", stdout);
  std::fflush(stdout);
  for (;;) ::pause();
#elif defined(STAND_IN_FLOOD)
  const char* wanted = std::getenv("LUMENO_STAND_IN_BYTES");
  const unsigned long bytes = wanted != nullptr ? std::strtoul(wanted, nullptr, 10) : 100UL * 1024 * 1024;
  for (unsigned long line = 1; line * 100 <= bytes; ++line) printNumberedLine(line);
  return 0;
#elif defined(STAND_IN_ENDLESS)
  for (unsigned long line = 1;; ++line) printNumberedLine(line);
#else
  for (int i = 1; i < argc; ++i) std::printf("[%s]\n", argv[i]);
  std::fflush(stdout);
  char folder[4096];
  if (::getcwd(folder, sizeof folder) != nullptr) std::fprintf(stderr, "cwd: %s\n", folder);
  return 3;
#endif
}
